#pragma once

#include <QMainWindow>
#include <QSharedPointer>

class COpenReportWidget;
class CSettingsWidget;
class CSlidingStackedWidget;

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

private slots:
    void showSettingsWidget();
    void showOpenReportWidget();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void applySizeRule();
    void restoreWindowSettings();

    QSharedPointer<COpenReportWidget> openReportWidget;
    QSharedPointer<CSettingsWidget> settingsWidget;
    CSlidingStackedWidget *pageStack = nullptr;
    double dpiScale = 1.0;

    friend class TestStackedWindow;
};
