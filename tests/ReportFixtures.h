#pragma once

#include "catalogue/ReportInfo.h"

#include <QStringList>

// The report table's header texts, in column order.
inline const QStringList ReportTableHeaders = {
    QStringLiteral("\u2116"), QStringLiteral("Date and time"), QStringLiteral("Type"),
    QStringLiteral("Viewer"), QStringLiteral("Comment")};

inline ReportInfo makeReport(int prefix, const QString &dateTime, const QString &type,
                             const ViewerVersion &required, const QString &comment)
{
    ReportInfo report;
    report.prefix = prefix;
    report.dataFileName = QStringLiteral("data.js");
    report.dateTime = dateTime;
    report.reportType = type;
    report.requiredViewerVersion = required;
    report.comment = comment;
    return report;
}
