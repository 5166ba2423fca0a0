#pragma once

#include "platform/Platform.h"

#include <QFileDialog>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>

class QCheckBox;
class QDialogButtonBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QVBoxLayout;

// The settings page: the two report folders, the web browser and its arguments, the automatic
// open timeout and the Stone ID option. OK writes the fields to the settings file, Cancel reads
// them back from it; both then ask the window to return to the open-report page.
class CSettingsWidget final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(CSettingsWidget)

public:
    explicit CSettingsWidget(QWidget *parent = nullptr);
    ~CSettingsWidget() override;

    // Where the page gets its answers from outside: the two file dialogs and the default browser
    // lookup. Tests point them elsewhere, so that no modal dialog opens and no real desktop or
    // registry is asked. The signatures are those of the QFileDialog functions they default to.
    using DirectoryDialog = QUrl (*)(QWidget *, const QString &, const QUrl &, QFileDialog::Options,
                                     const QStringList &);
    using FileDialog = QString (*)(QWidget *, const QString &, const QString &, const QString &,
                                   QString *, QFileDialog::Options);
    using BrowserLookup = QList<Platform::BrowserCommand> (*)();
    static DirectoryDialog getExistingDirectoryUrl;
    static FileDialog getOpenFileName;
    static BrowserLookup defaultBrowserCommands;

    // Whether the page has taken the system's default browser in this run, and whether the
    // settings file then took it too.
    bool defaultBrowserTaken() const { return !defaultBrowserPath.isEmpty(); }
    bool defaultBrowserSaved() const { return browserSaved; }

signals:
    // The settings file holds new values; emitted by OK only, before closeSettings().
    void settingsChanged();
    // The page is done (OK or Cancel).
    void closeSettings();
    // "Load Default" could not store the default browser in the settings file.
    void settingsNotSaved();

private slots:
    void accept();
    void reject();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createWidgets();
    void createLayouts();
    void createConnections();

    void loadSettings();
    void saveSettings();
    // Takes the system's default browser into the two browser fields and stores both at once.
    void loadDefaultBrowser();
    void browseViewersPath();
    void browseDataPath();
    void browseDirectory(QLineEdit *field);
    void browseBrowserExecutable();
    // A browser other than the default one gets the bare address token as its arguments.
    void resetBrowserArguments();

    QLabel *pathsHeading = nullptr;
    QLineEdit *viewersPathEdit = nullptr;
    QLabel *viewersPathLabel = nullptr;
    QPushButton *viewersBrowseButton = nullptr;
    QLineEdit *dataPathEdit = nullptr;
    QLabel *dataPathLabel = nullptr;
    QPushButton *dataBrowseButton = nullptr;
    QLabel *browserHeading = nullptr;
    QLineEdit *executableEdit = nullptr;
    QLabel *executableLabel = nullptr;
    QPushButton *executableBrowseButton = nullptr;
    QLineEdit *argumentsEdit = nullptr;
    QLabel *argumentsLabel = nullptr;
    QPushButton *loadDefaultButton = nullptr;
    QLabel *autoOpenHeading = nullptr;
    QSpinBox *timeoutSpinBox = nullptr;
    QLabel *timeoutLabel = nullptr;
    QLabel *stoneIDHeading = nullptr;
    QCheckBox *interceptCheckBox = nullptr;
    QDialogButtonBox *buttonBox = nullptr;
    bool buttonIconsSet = false;
    QVBoxLayout *mainLayout = nullptr;

    // The browser path last taken from the system's default in this run; empty until then.
    QString defaultBrowserPath;
    bool browserSaved = true;
    double dpiScale = 1.0;
};
