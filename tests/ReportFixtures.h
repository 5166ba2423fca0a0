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
    return ReportInfo{prefix, QStringLiteral("data.js"), dateTime, type, required, comment};
}
