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
class QModelIndex;
class QPoint;
class QLabel;
class QPushButton;
class QShortcut;
class QTimer;
class QToolButton;
class QVBoxLayout;

// The main page: the Stone ID field, the report table and the message console, and the whole
// report workflow behind them. The catalogue operations (viewer discovery, metadata files and
// the report search) are members that ask the catalogue (catalogue/, which knows nothing of
// windows) and tell the operator in the console what it found; they, the browser launch and the
// page's input flow share the page's state.
class COpenReportWidget final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(COpenReportWidget)

public:
    explicit COpenReportWidget(QWidget *parent = nullptr);
    ~COpenReportWidget() override;

    // Reads the page's settings from the settings file, and writes the two check-box states
    // (false when the file cannot be written).
    void loadSettings();
    bool saveSettings();
    // Tells the operator that the settings file cannot be written and the changes last only
    // until the client is closed.
    void reportUnsavedSettings();
    // Takes the browser that the settings page stored as the system's default while the window
    // was being built (the page itself read the settings before that) and checks the
    // configuration again, so the first session opens reports in it.
    void takeDefaultBrowser();
    // Puts a Stone ID into the field as if the operator had typed it over the field's text and
    // pressed Enter (Ctrl+Enter where new lines are intercepted). False, with nothing done, while
    // a comment is being edited or input pauses: the operator's work comes first.
    bool enterStoneID(const QString &text);

    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    void showSettings();

public slots:
    // Re-reads the settings and searches again for the same Stone ID.
    void onSettingsChanged();
    // Cleans the field's text into `stoneID`; true when `stoneID` was set.
    bool updateReportID(bool force);
    bool updateReportID();
    // Clears the console and prints the recorded configuration errors again.
    void updateConsole();
    void reportIDEditingFinished();
    // Runs the checks and the search for the current Stone ID and fills the table.
    void findReports();
    // A search on the operator's request (Enter, F5, the field's button), then auto-open.
    void forceSearchReports();
    // Starts the browser on the current report's viewer page.
    void openReport();
    void reportActionButtonTriggered();
    // Decides the data file and the viewer of the selected row.
    void updateSelection();
    // The table's context menu and the actions on the selected report.
    void customContextMenuRequested(const QPoint &pos);
    void editComment();
    void openReportFolder();
    void removeReportFolder();
    // Writes an edited comment back into the report's metadata file.
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight);
    void focusInStoneID();

public:
    // Asks a Yes/No question; "No" is the default answer and Escape answers it too.
    static bool askConfirmation(QWidget *parent, const QString &title, const QString &text,
                                const QString &informativeText);

private:
    void createWidgets();
    void createShortcuts();
    void createTimers();
    void createLayouts();
    void createConnections();
    // Viewer discovery, the search for the (still empty) Stone ID and the browser check.
    void runStartupChecks();

    void onStoneIDTextChanged();
    void onAutoFindTimeout();
    void pauseInput();

    // The model row of the selected report; invalid when nothing is selected.
    QModelIndex selectedSourceIndex() const;
    // The report folder a model row stands for.
    QString folderNameOfRow(int row) const;
    // The row and folder of the selected report for the folder actions: false when there is
    // nothing to act on. The console is refreshed once a row is selected.
    bool selectedReport(int &row, QString &folderName);
    QString reportFolderPath(const QString &folderName) const;

    // Prints a configuration error and records it so that updateConsole prints it again.
    void reportConfigurationError(const QString &message);

    // Viewer discovery: rebuilds `viewers` from the Report Viewers folder.
    bool discoverViewers();
    // Replaces `required` by the version of the installed viewer that shows such a report.
    void chooseViewer(ViewerVersion &required);

    // Metadata file of one report folder of the current stone.
    bool readReportMetadata(const QString &folderName, const QString &dataFileName);
    bool hasCommentElement(const QString &folderName);
    // Writes a new comment into the report's metadata file; false (with a message) when the file
    // could not be changed.
    bool saveReportComment(const QString &folderName, const QString &comment);
    QString metadataFilePath(const QString &folderName) const;

    // Report search: fills `reports` with the current stone's reports.
    bool searchReports();

    // Whether `pathToBrowser` names a program that can be started; prints and records an
    // error otherwise.
    bool checkBrowserExecutable();

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

    // The tests and the search benchmark drive the page's operations directly.
    friend class TestCatalogue;
    friend class TestOpenReport;
    friend class SearchBenchmark;
};
