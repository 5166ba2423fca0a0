#include "openreport/COpenReportWidget.h"

#include "openreport/CConsole.h"

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

COpenReportWidget::COpenReportWidget(QWidget *parent) : QWidget(parent)
{
    dpiScale = logicalDpiX() / 96.0;
    createWidgets();
    reportTypeNames.insert(QStringLiteral("RT_POLISH"), QStringLiteral("P"));
    reportTypeNames.insert(QStringLiteral("RT_COMPARATIVE"), QStringLiteral("C"));
    createLayouts();
    setLayout(mainLayout);
    setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
}

COpenReportWidget::~COpenReportWidget() = default;

void COpenReportWidget::createWidgets()
{
    logoLabel = new QLabel(this);
    logoLabel->setPixmap(QPixmap(QStringLiteral("://qrc/logo.png"))
                             .scaled(QSize(qRound(dpiScale * 463), qRound(dpiScale * 53)),
                                     Qt::KeepAspectRatio, Qt::SmoothTransformation));
    console = new CConsole;
}

void COpenReportWidget::createLayouts()
{
    mainLayout = new QVBoxLayout;
    mainLayout->addWidget(logoLabel);
    mainLayout->addStretch(1);
    mainLayout->addWidget(console);
}

void COpenReportWidget::updateConsole()
{
    console->clear();
    for (const QString &message : qAsConst(configMessages))
        console->printError(message);
}

void COpenReportWidget::reportConfigurationError(const QString &message)
{
    console->printError(message);
    configMessages.append(message);
}
