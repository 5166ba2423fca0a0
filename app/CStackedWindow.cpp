#include "app/CStackedWindow.h"

#include "app/CSlidingStackedWidget.h"
#include "openreport/COpenReportWidget.h"
#include "settings/CSettingsWidget.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopWidget>
#include <QDialogButtonBox>
#include <QIcon>
#include <QPushButton>
#include <QTimer>

CStackedWindow::CStackedWindow(QWidget *parent) : QMainWindow(parent)
{
    dpiScale = logicalDpiX() / 96.0;
    pageStack = new CSlidingStackedWidget(this);

    openReportWidget.reset(new COpenReportWidget(this));
    settingsWidget.reset(new CSettingsWidget(this));
    // On a first start the settings page stores the default browser after the open-report page
    // has read the settings: the page takes it at once.
    if (settingsWidget->defaultBrowserTaken()) {
        openReportWidget->takeDefaultBrowser();
        if (!settingsWidget->defaultBrowserSaved())
            openReportWidget->reportUnsavedSettings();
    }

    pageStack->addWidget(openReportWidget.data());
    pageStack->addWidget(settingsWidget.data());
    pageStack->setSpeed(700);

    connect(openReportWidget.data(), &COpenReportWidget::showSettings, this,
            &CStackedWindow::showSettingsWidget);
    connect(settingsWidget.data(), &CSettingsWidget::closeSettings, this,
            &CStackedWindow::showOpenReportWidget);
    connect(settingsWidget.data(), &CSettingsWidget::settingsChanged, openReportWidget.data(),
            &COpenReportWidget::onSettingsChanged);
    connect(settingsWidget.data(), &CSettingsWidget::settingsNotSaved, openReportWidget.data(),
            &COpenReportWidget::reportUnsavedSettings);

    setCentralWidget(pageStack);
    setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
    setContentsMargins(qRound(dpiScale * 20), qRound(dpiScale * 10), qRound(dpiScale * 20),
                       qRound(dpiScale * 10));
    applySizeRule();

    setWindowIcon(QIcon(QStringLiteral("://qrc/fenmoor.png")));
    setWindowTitle(QStringLiteral("Stelvane"));

    startTimer = new QTimer(this);
    startTimer->setSingleShot(true);
    startTimer->setInterval(300);
    connect(startTimer, &QTimer::timeout, this, &CStackedWindow::enterStartStoneID);
    restoreWindowSettings();
}

CStackedWindow::~CStackedWindow()
{
    settingsWidget.reset();
    openReportWidget.reset();
}

void CStackedWindow::showSettingsWidget()
{
    settingsShown = true;
    pageStack->slide(1);
}

void CStackedWindow::showOpenReportWidget()
{
    settingsShown = false;
    pageStack->slide(0);
    // The operator may type as soon as the settings page has closed, while the pages still slide:
    // the keys go where the focus was on the open-report page (or the Stone ID field).
    if (QWidget *previous = openReportWidget->focusWidget())
        previous->setFocus(Qt::OtherFocusReason);
    else
        openReportWidget->focusInStoneID();
}

void CStackedWindow::takeStart(const QString &stoneID)
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
    if (stoneID.isEmpty())
        return;
    startStoneID = stoneID;
    if (isActiveWindow())
        enterStartStoneID();
    else
        startTimer->start();
}

void CStackedWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Activation puts the focus into the Stone ID field first (the open-report page does), as
    // when the operator comes to the window to type.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !startStoneID.isEmpty())
        QTimer::singleShot(0, this, &CStackedWindow::enterStartStoneID);
}

void CStackedWindow::enterStartStoneID()
{
    if (startStoneID.isEmpty())
        return;
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        startTimer->start();
        return;
    }
    // The settings page's own Cancel: it reads its fields back from the file and slides back.
    if (settingsShown)
        settingsWidget->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
    if (!openReportWidget->enterStoneID(startStoneID)) {
        startTimer->start();
        return;
    }
    startTimer->stop();
    startStoneID.clear();
}

void CStackedWindow::applySizeRule()
{
    const QSize hint = minimumSizeHint();
    // The full geometry of the screen that holds the window, not its available area.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    const QDesktopWidget *desktop = QApplication::desktop();
    const QRect screen = desktop->screenGeometry(desktop->screenNumber(this));
    QT_WARNING_POP
    if (hint.width() <= screen.width() && hint.height() <= screen.height()) {
        if (dpiScale == 1.0) {
            const QMargins margins = contentsMargins();
            const QSize size(hint.width(), hint.height() - margins.bottom() - margins.top());
            setMinimumSize(size);
            resize(size);
        } else {
            setMinimumSize(hint);
            resize(hint);
        }
    } else {
        setMinimumSize(screen.size());
        resize(screen.size());
    }
}

void CStackedWindow::restoreWindowSettings()
{
    QSettings settings = openSettings();
    settings.beginGroup(SettingsGroup::StackedWindow);
    const QByteArray geometry = settingByteArray(settings, SettingsKey::WindowGeometry);
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    const QByteArray state = settingByteArray(settings, SettingsKey::WindowState);
    if (!state.isEmpty())
        restoreState(state, 0);
    settings.endGroup();
}

void CStackedWindow::closeEvent(QCloseEvent *event)
{
    {
        QSettings settings = openSettings();
        settings.beginGroup(SettingsGroup::StackedWindow);
        settings.setValue(SettingsKey::WindowGeometry, saveGeometry());
        settings.setValue(SettingsKey::WindowState, saveState(0));
        settings.endGroup();
    }
    QMainWindow::closeEvent(event);
}
