#include "openreport/COpenReportWidget.h"

#include "app/Scaling.h"
#include "openreport/CConsole.h"
#include "openreport/CExLineEdit.h"
#include "reportlist/CMetadataModel.h"
#include "reportlist/CReportsDataSortFilterProxyModel.h"
#include "reportlist/CReportsDataTableView.h"
#include "settings/SettingsStore.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRegExp>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

COpenReportWidget::COpenReportWidget(QWidget *parent) : QWidget(parent)
{
    dpiScale = logicalDpiX() / 96.0;
    createWidgets();
    createShortcuts();
    createTimers();
    createLayouts();
    createConnections();
    setLayout(mainLayout);
    setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
    loadSettings();
    runStartupChecks();
    installEventFilter(this);
}

void COpenReportWidget::runStartupChecks()
{
    // The configuration errors show in the console as soon as the window appears; with the
    // Stone ID still empty the search reports nothing else and the table stays empty.
    viewersReady = discoverViewers();
    reportsFound = searchReports();
    browserReady = checkBrowserExecutable();
}

void COpenReportWidget::takeDefaultBrowser()
{
    const QSettings settings = openSettings();
    pathToBrowser =
        QUrl::fromLocalFile(settingString(settings, SettingsKey::PathToBrowser)).toLocalFile();
    browserArguments = settingString(settings, SettingsKey::BrowserArguments);
    // The start-up console as it would have been with this browser from the start: no stale
    // browser error, and the other checks' messages once each.
    console->clear();
    configMessages.clear();
    runStartupChecks();
}

COpenReportWidget::~COpenReportWidget()
{
    saveSettings();
    // Children send signals and events while they go (the field loses the focus, the table's
    // selection empties), and the slots that receive them use this page's members. The base
    // class would delete the children after those members are gone, so they go here.
    while (!children().isEmpty())
        delete children().constFirst();
}

void COpenReportWidget::createWidgets()
{
    const QFont baseFont = font();
    const auto scaled = [this](int length) { return qRound(dpiScale * length); };

    logoLabel = new QLabel(this);
    logoLabel->setPixmap(
        QPixmap(QStringLiteral("://qrc/logo.png"))
            .scaled(QSize(scaled(463), scaled(53)), Qt::KeepAspectRatio, Qt::SmoothTransformation));

    const QString version = QStringLiteral(STELVANE_VERSION_TEXT);
    QRegExp versionPattern(QStringLiteral("^(\\d+\\.\\d+\\.\\d+)\\.\\d+$"));
    versionLabel = new QLabel(
        tr("Version ") + (versionPattern.indexIn(version) >= 0 ? versionPattern.cap(1) : version),
        this);
    QPalette versionPalette = versionLabel->palette();
    versionPalette.setBrush(QPalette::All, QPalette::WindowText,
                            QBrush(QColor(113, 113, 114), Qt::SolidPattern));
    versionLabel->setPalette(versionPalette);
    QFont versionFont = baseFont;
    versionFont.setPointSize(9);
    versionFont.setWeight(QFont::Bold);
    versionLabel->setFont(versionFont);

    settingsButton = new QToolButton(this);
    settingsButton->setIconSize(QSize(scaled(20), scaled(20)));
    settingsButton->setCursor(Qt::PointingHandCursor);
    settingsButton->setStyleSheet(
        QStringLiteral("QToolButton { border: none; image: url(://qrc/settings.png); }"
                       "QToolButton:hover { image: url(://qrc/settings_hover.png); }"));
    settingsButton->setToolTip(tr("Open Settings"));

    QFont largeFont = baseFont;
    largeFont.setPointSize(13);

    stoneIDEdit = new CExLineEdit(QStringLiteral("://qrc/refresh.png"),
                                  QStringLiteral("://qrc/refresh_hover.png"),
                                  QStringLiteral("://qrc/throbber.gif"), QString(),
                                  tr("<p style='white-space:pre'>Refresh reports data <small "
                                     "style='color:grey'>F5</small></p>"),
                                  this);
    stoneIDEdit->setFont(largeFont);
    stoneIDEdit->setPlaceholderText(tr("Stone ID"));
    stoneIDEdit->installEventFilter(this);

    actionButton = new QPushButton(QStringLiteral("&Find Reports"), this);
    const int verticalPadding =
        scaled(styleLengthAt96Dpi(this, QStyle::PM_DefaultFrameWidth)) + scaled(5);
    actionButton->setStyleSheet(QStringLiteral("padding:") + QString::number(verticalPadding) +
                                QStringLiteral(" ") + QString::number(scaled(20)) +
                                QStringLiteral("px;"));
    actionButton->setFont(largeFont);
    actionButton->setDefault(false);
    actionButton->setAutoDefault(true);

    autoFindCheckBox = new QCheckBox(tr("&Automatically find reports"), this);
    autoOpenCheckBox = new QCheckBox(tr("Automatically open &latest report"), this);

    metadataModel = new CMetadataModel(this);
    proxyModel = new CReportsDataSortFilterProxyModel(this);
    tableView = new CReportsDataTableView(this);
    proxyModel->setSourceModel(metadataModel);
    tableView->setModel(proxyModel);
    tableView->sortByColumn(0, Qt::AscendingOrder);
    tableView->updateMinimumHeight();
    tableView->installEventFilter(this);

    console = new CConsole;
}

void COpenReportWidget::createShortcuts()
{
    refreshShortcut = new QShortcut(QKeySequence::Refresh, this);
    refreshShortcut->setContext(Qt::WindowShortcut);
    stoneIDShortcut = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    stoneIDShortcut->setContext(Qt::WindowShortcut);
    openFolderShortcut = new QShortcut(QKeySequence::Open, tableView);
    openFolderShortcut->setContext(Qt::WindowShortcut);
    deleteShortcut = new QShortcut(QKeySequence(Qt::Key_Delete), tableView);
    deleteShortcut->setContext(Qt::WindowShortcut);
}

void COpenReportWidget::createTimers()
{
    autoFindTimer = new QTimer(this);
    autoFindTimer->setSingleShot(true);
    autoFindTimer->setInterval(1000);
    inputPauseTimer = new QTimer(this);
    inputPauseTimer->setSingleShot(true);
    inputPauseTimer->setInterval(10);
    reportTypeNames.insert(QStringLiteral("RT_POLISH"), QStringLiteral("P"));
    reportTypeNames.insert(QStringLiteral("RT_COMPARATIVE"), QStringLiteral("C"));
}

void COpenReportWidget::createLayouts()
{
    const auto scaled = [this](int length) { return qRound(dpiScale * length); };

    auto *headerLayout = new QGridLayout;
    headerLayout->setVerticalSpacing(0);
    headerLayout->addWidget(logoLabel, 0, 0);
    auto *stretchBox = new QHBoxLayout;
    stretchBox->addStretch(1);
    headerLayout->addLayout(stretchBox, 0, 1, 2, 1);
    auto *spacingBox = new QHBoxLayout;
    spacingBox->addSpacing(scaled(30));
    headerLayout->addLayout(spacingBox, 0, 2, 2, 1);
    headerLayout->addWidget(settingsButton, 0, 3, Qt::AlignRight);
    headerLayout->addWidget(versionLabel, 1, 0, Qt::AlignTop | Qt::AlignRight);

    auto *stoneIDLayout = new QGridLayout;
    stoneIDLayout->addWidget(stoneIDEdit, 0, 0);
    stoneIDLayout->addWidget(actionButton, 0, 1);

    auto *checkBoxLayout = new QVBoxLayout;
    checkBoxLayout->setSpacing(scaled(2));
    checkBoxLayout->addWidget(autoFindCheckBox);
    checkBoxLayout->addWidget(autoOpenCheckBox);

    mainLayout = new QVBoxLayout;
    mainLayout->addLayout(headerLayout);
    mainLayout->addSpacing(scaled(10));
    mainLayout->addLayout(stoneIDLayout);
    mainLayout->addLayout(checkBoxLayout);
    mainLayout->addWidget(tableView);
    mainLayout->addSpacing(scaled(5));
    mainLayout->addWidget(console);
}

void COpenReportWidget::loadSettings()
{
    const QSettings settings = openSettings();
    const auto path = [&settings](const QString &key) {
        return QUrl::fromLocalFile(settingString(settings, key)).toLocalFile();
    };
    pathToViewers = path(SettingsKey::PathToViewers);
    pathToReports = path(SettingsKey::PathToReports);
    pathToBrowser = path(SettingsKey::PathToBrowser);
    browserArguments = settingString(settings, SettingsKey::BrowserArguments);

    openReportTimeout = settingInt(settings, SettingsKey::OpenReportTimeout);
    if (autoFindTimer->isActive())
        autoFindTimer->stop();
    // A zero or missing timeout keeps the interval the timer already has.
    if (openReportTimeout != 0)
        autoFindTimer->setInterval(openReportTimeout);

    interceptNewLine = settingBool(settings, SettingsKey::InterceptNewLineInStoneID);

    autoFindCheckBox->setChecked(settingBool(settings, SettingsKey::AutoFindReports));
    if (autoFindCheckBox->isChecked()) {
        autoOpenCheckBox->setChecked(settingBool(settings, SettingsKey::AutoOpenLatestReport));
    } else {
        autoOpenCheckBox->setDisabled(true);
        autoOpenCheckBox->setChecked(false);
    }
}

bool COpenReportWidget::saveSettings()
{
    QSettings settings = openSettings();
    settings.setValue(SettingsKey::AutoFindReports, autoFindCheckBox->isChecked());
    settings.setValue(SettingsKey::AutoOpenLatestReport, autoOpenCheckBox->isChecked());
    return saveSettingsFile(settings);
}

void COpenReportWidget::reportUnsavedSettings()
{
    console->printError(tr("Settings cannot be saved in ") +
                        QDir::toNativeSeparators(settingsFilePath()) +
                        tr("; the changes apply until Stelvane is closed"));
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
