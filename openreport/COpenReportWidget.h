#pragma once

#include "catalogue/ReportInfo.h"
#include "catalogue/ViewerVersion.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QWidget>

class CConsole;
class CExLineEdit;
class CMetadataModel;
class CReportsDataSortFilterProxyModel;
class CReportsDataTableView;
class QCheckBox;
class QLabel;
class QPushButton;
class QShortcut;
class QTimer;
class QToolButton;
class QVBoxLayout;

// The main page: the Stone ID field, the report table and the message console, and the whole
// report workflow behind them. The catalogue operations (viewer discovery, metadata files and
// the report search) are members of this class because they share its state.
class COpenReportWidget final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(COpenReportWidget)

public:
    explicit COpenReportWidget(QWidget *parent = nullptr);
    ~COpenReportWidget() override;

public slots:
    // Clears the console and prints the recorded configuration errors again.
    void updateConsole();

private:
    void createWidgets();
    void createLayouts();

    // Prints a configuration error and records it so that updateConsole prints it again.
    void reportConfigurationError(const QString &message);

    // Viewer discovery: rebuilds `viewers` from the Report Viewers folder.
    bool discoverViewers();
    // Replaces `required` by the version of the installed viewer that shows such a report.
    void chooseViewer(ViewerVersion &required);

    // Metadata file of one report folder of the current stone.
    bool readReportMetadata(const QString &folderName, const QString &dataFileName);
    bool hasCommentElement(const QString &folderName);
    void saveReportComment(const QString &folderName, const QString &comment);
    QString metadataFilePath(const QString &folderName) const;

    // Report search: fills `reports` with the current stone's reports.
    bool searchReports();

    QLabel *logoLabel = nullptr;
    QLabel *versionLabel = nullptr;
    QToolButton *settingsButton = nullptr;
    CExLineEdit *stoneIDEdit = nullptr;
    QPushButton *actionButton = nullptr;
    QCheckBox *autoFindCheckBox = nullptr;
    QCheckBox *autoOpenCheckBox = nullptr;
    CMetadataModel *metadataModel = nullptr;
    CReportsDataSortFilterProxyModel *proxyModel = nullptr;
    CReportsDataTableView *tableView = nullptr;
    QShortcut *refreshShortcut = nullptr;
    QShortcut *stoneIDShortcut = nullptr;
    QShortcut *openFolderShortcut = nullptr;
    QShortcut *deleteShortcut = nullptr;
    CConsole *console = nullptr;
    QWidget *focusBeforePause = nullptr;
    QVBoxLayout *mainLayout = nullptr;

    QString pathToViewers;
    QString viewerFolderName;
    QString pathToReports;
    QString pathToBrowser;
    QString browserArguments;
    QString stoneID;
    QString reportDataPath;

    bool viewersReady = false;
    bool reportsFound = false;
    bool browserReady = false;
    bool interceptNewLine = false;
    bool searchOutputShown = false;
    bool resultsShown = false;
    bool autoSearchDone = false;
    bool forcedSearchDone = false;

    QMap<ViewerVersion, QString> viewers;
    QMap<QString, ReportInfo> reports;
    QMap<QString, QString> reportTypeNames;
    QStringList configMessages;

    QTimer *autoFindTimer = nullptr;
    QTimer *inputPauseTimer = nullptr;
    int openReportTimeout = 0;
    double dpiScale = 1.0;

    // The tests drive the catalogue operations directly on a page.
    friend class TestCatalogue;
};
