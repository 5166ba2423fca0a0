#pragma once

#include <QMainWindow>
#include <QSharedPointer>

class COpenReportWidget;
class CSettingsWidget;
class CSlidingStackedWidget;
class QTimer;

// The one top-level window. Its central widget is a sliding stack of two pages: the
// open-report page (shown at start) and the settings page. It remembers its geometry and
// state in the settings file from one run to the next.
class CStackedWindow final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY(CStackedWindow)

public:
    explicit CStackedWindow(QWidget *parent = nullptr);
    ~CStackedWindow() override;

public slots:
    // A start of the program with a Stone ID (empty: none), this start's own or a later one's
    // handed over: the window comes to the front, restored if minimised. With a Stone ID it also
    // returns to the open-report page, the settings page's edits cancelled as Cancel does, and
    // searches as if the operator had typed the ID and pressed Enter.
    void takeStart(const QString &stoneID);

private slots:
    void showSettingsWidget();
    void showOpenReportWidget();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applySizeRule();
    void restoreWindowSettings();
    // Enters the start's Stone ID once the window is active, as under the operator's hands, and
    // nothing is half done: a question answered, a menu closed, a comment's edit finished.
    void enterStartStoneID();

    QSharedPointer<COpenReportWidget> openReportWidget;
    QSharedPointer<CSettingsWidget> settingsWidget;
    CSlidingStackedWidget *pageStack = nullptr;
    double dpiScale = 1.0;
    bool settingsShown = false;
    QString startStoneID;
    // Tries the start's Stone ID again when the window did not become active or was busy.
    QTimer *startTimer = nullptr;

    friend class TestStackedWindow;
};
