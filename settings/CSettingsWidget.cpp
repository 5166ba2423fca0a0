#include "settings/CSettingsWidget.h"

#include "platform/Platform.h"
#include "settings/SettingsStore.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

CSettingsWidget::DirectoryDialog CSettingsWidget::getExistingDirectoryUrl =
    &QFileDialog::getExistingDirectoryUrl;
CSettingsWidget::FileDialog CSettingsWidget::getOpenFileName = &QFileDialog::getOpenFileName;
CSettingsWidget::BrowserLookup CSettingsWidget::defaultBrowserCommands =
    &Platform::defaultBrowserCommands;

CSettingsWidget::CSettingsWidget(QWidget *parent) : QWidget(parent)
{
    dpiScale = logicalDpiX() / 96.0;
    createWidgets();
    createLayouts();
    createConnections();
    setLayout(mainLayout);
    setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
    loadSettings();
    if (executableEdit->text().isEmpty())
        loadDefaultBrowser();
}

CSettingsWidget::~CSettingsWidget() = default;

void CSettingsWidget::createWidgets()
{
    const auto newPathEdit = [this] {
        auto *edit = new QLineEdit(this);
        edit->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Preferred);
        return edit;
    };
    const auto newLabel = [this](const QString &text, QWidget *buddy) {
        auto *label = new QLabel(text, this);
        label->setBuddy(buddy);
        return label;
    };

    pathsHeading = new QLabel(tr("Report Paths"), this);
    QFont headingFont = pathsHeading->font();
    headingFont.setWeight(QFont::Bold);

    viewersPathEdit = newPathEdit();
    viewersPathLabel = newLabel(tr("&Viewers Path:"), viewersPathEdit);
    viewersBrowseButton = new QPushButton(tr("&Browse..."), this);
    dataPathEdit = newPathEdit();
    dataPathLabel = newLabel(tr("&Data Path:"), dataPathEdit);
    dataBrowseButton = new QPushButton(tr("Br&owse..."), this);

    browserHeading = new QLabel(tr("Browser Settings"), this);
    executableEdit = newPathEdit();
    executableLabel = newLabel(tr("&Executable:"), executableEdit);
    executableBrowseButton = new QPushButton(tr("Bro&wse..."), this);
    argumentsEdit = newPathEdit();
    argumentsLabel = newLabel(tr("&Arguments:"), argumentsEdit);
    loadDefaultButton = new QPushButton(tr("&Load Default"), this);
    loadDefaultButton->setStyleSheet(
        QStringLiteral("padding: %1 %2px;").arg(qRound(dpiScale * 3)).arg(qRound(dpiScale * 9)));

    autoOpenHeading = new QLabel(tr("Automatically Open Report"), this);
    timeoutSpinBox = new QSpinBox(this);
    timeoutSpinBox->setSuffix(QStringLiteral(" ms"));
    timeoutSpinBox->setRange(500, 50000);
    timeoutSpinBox->setValue(1000);
    timeoutSpinBox->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Preferred);
    timeoutLabel = newLabel(tr("&Timeout:"), timeoutSpinBox);

    stoneIDHeading = new QLabel(tr("Stone ID Processing Options"), this);
    interceptCheckBox = new QCheckBox(tr("&Intercept new line in Stone ID"), this);
    // Where the style gives these buttons icons, the toolkit looks them up in the desktop's icon
    // theme as they are made, which costs more than the rest of the start. The page stays hidden
    // until it is asked for, so the buttons are made without icons and get them when it is
    // first shown.
    buttonBox = new QDialogButtonBox(this);
    buttonBox->setStyleSheet(
        QStringLiteral("QDialogButtonBox { dialogbuttonbox-buttons-have-icons: 0; }"));
    buttonBox->setStandardButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttonBox->setStyleSheet(QString());

    for (QLabel *heading : {pathsHeading, browserHeading, autoOpenHeading, stoneIDHeading})
        heading->setFont(headingFont);
}

void CSettingsWidget::createLayouts()
{
    const int sectionSpacing = qRound(dpiScale * 10);
    auto *grid = new QGridLayout;
    grid->addWidget(pathsHeading, 0, 0, 1, 3);
    grid->addWidget(viewersPathLabel, 1, 0);
    grid->addWidget(viewersPathEdit, 1, 1);
    grid->addWidget(viewersBrowseButton, 1, 2);
    grid->addWidget(dataPathLabel, 2, 0);
    grid->addWidget(dataPathEdit, 2, 1);
    grid->addWidget(dataBrowseButton, 2, 2);
    auto *gap = new QVBoxLayout;
    gap->addSpacing(sectionSpacing);
    grid->addLayout(gap, 3, 0, 1, 3);
    grid->addWidget(browserHeading, 4, 0, 1, 3);
    grid->addWidget(executableLabel, 5, 0);
    grid->addWidget(executableEdit, 5, 1);
    grid->addWidget(executableBrowseButton, 5, 2);
    grid->addWidget(argumentsLabel, 6, 0);
    grid->addWidget(argumentsEdit, 6, 1);
    grid->addWidget(loadDefaultButton, 6, 2);

    auto *timeoutGrid = new QGridLayout;
    timeoutGrid->addWidget(autoOpenHeading, 0, 0, 1, 2);
    timeoutGrid->addWidget(timeoutLabel, 1, 0);
    timeoutGrid->addWidget(timeoutSpinBox, 1, 1);
    auto *timeoutRow = new QHBoxLayout;
    timeoutRow->addLayout(timeoutGrid);
    timeoutRow->addStretch(1);
    auto *stoneIDColumn = new QVBoxLayout;
    stoneIDColumn->addWidget(stoneIDHeading);
    stoneIDColumn->addWidget(interceptCheckBox);
    auto *stoneIDRow = new QHBoxLayout;
    stoneIDRow->addLayout(stoneIDColumn);
    stoneIDRow->addStretch(1);
    auto *lowerSections = new QVBoxLayout;
    lowerSections->addSpacing(sectionSpacing);
    lowerSections->addLayout(timeoutRow);
    lowerSections->addSpacing(sectionSpacing);
    lowerSections->addLayout(stoneIDRow);
    grid->addLayout(lowerSections, 7, 0, 1, 3);

    mainLayout = new QVBoxLayout;
    mainLayout->addLayout(grid);
    mainLayout->addStretch(1);
    mainLayout->addWidget(buttonBox);
}

void CSettingsWidget::createConnections()
{
    connect(viewersBrowseButton, &QPushButton::clicked, this, &CSettingsWidget::browseViewersPath);
    connect(dataBrowseButton, &QPushButton::clicked, this, &CSettingsWidget::browseDataPath);
    connect(executableBrowseButton, &QPushButton::clicked, this,
            &CSettingsWidget::browseBrowserExecutable);
    connect(executableEdit, &QLineEdit::editingFinished, this,
            &CSettingsWidget::resetBrowserArguments);
    connect(loadDefaultButton, &QPushButton::clicked, this, &CSettingsWidget::loadDefaultBrowser);
    connect(buttonBox, &QDialogButtonBox::accepted, this, &CSettingsWidget::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &CSettingsWidget::reject);
}

void CSettingsWidget::accept()
{
    saveSettings();
    emit settingsChanged();
    emit closeSettings();
}

void CSettingsWidget::reject()
{
    loadSettings();
    emit closeSettings();
}

void CSettingsWidget::loadSettings()
{
    const QSettings settings = openSettings();
    viewersPathEdit->setText(settingString(settings, SettingsKey::PathToViewers));
    dataPathEdit->setText(settingString(settings, SettingsKey::PathToReports));
    executableEdit->setText(settingString(settings, SettingsKey::PathToBrowser));
    argumentsEdit->setText(settingString(settings, SettingsKey::BrowserArguments));
    // A stored 0 (or no value at all) leaves the spin box as it is.
    const int timeout = settingInt(settings, SettingsKey::OpenReportTimeout);
    if (timeout != 0)
        timeoutSpinBox->setValue(timeout);
    interceptCheckBox->setChecked(settingBool(settings, SettingsKey::InterceptNewLineInStoneID));
}

void CSettingsWidget::saveSettings()
{
    QSettings settings = openSettings();
    settings.setValue(SettingsKey::PathToViewers, viewersPathEdit->text());
    settings.setValue(SettingsKey::PathToReports, dataPathEdit->text());
    settings.setValue(SettingsKey::PathToBrowser, executableEdit->text());
    settings.setValue(SettingsKey::BrowserArguments, argumentsEdit->text());
    settings.setValue(SettingsKey::OpenReportTimeout, timeoutSpinBox->value());
    settings.setValue(SettingsKey::InterceptNewLineInStoneID, interceptCheckBox->isChecked());
}

void CSettingsWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (buttonIconsSet)
        return;
    buttonIconsSet = true;
    QStyle *style = buttonBox->style();
    if (!style->styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons, nullptr, buttonBox))
        return;
    buttonBox->button(QDialogButtonBox::Ok)
        ->setIcon(style->standardIcon(QStyle::SP_DialogOkButton, nullptr, buttonBox));
    buttonBox->button(QDialogButtonBox::Cancel)
        ->setIcon(style->standardIcon(QStyle::SP_DialogCancelButton, nullptr, buttonBox));
}

void CSettingsWidget::loadDefaultBrowser()
{
    const QList<Platform::BrowserCommand> commands = defaultBrowserCommands();
    if (commands.isEmpty())
        return;
    executableEdit->setText(commands.first().executable);
    defaultBrowserPath = commands.first().executable;
    argumentsEdit->setText(commands.first().arguments);
    QSettings settings = openSettings();
    settings.setValue(SettingsKey::PathToBrowser, executableEdit->text());
    settings.setValue(SettingsKey::BrowserArguments, argumentsEdit->text());
    browserSaved = saveSettingsFile(settings);
    if (!browserSaved)
        emit settingsNotSaved();
}

void CSettingsWidget::browseViewersPath()
{
    browseDirectory(viewersPathEdit);
}

void CSettingsWidget::browseDataPath()
{
    browseDirectory(dataPathEdit);
}

void CSettingsWidget::browseDirectory(QLineEdit *field)
{
    const QUrl url = getExistingDirectoryUrl(
        this, tr("Open Directory"), QUrl::fromLocalFile(field->text()),
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks, QStringList());
    if (url.isEmpty())
        return;
    const QString path = QDir::toNativeSeparators(url.toLocalFile());
    if (!path.isEmpty())
        field->setText(path);
}

void CSettingsWidget::browseBrowserExecutable()
{
    const QString filter = tr("Executable Files (%1)").arg(Platform::executableFilePattern());
    const QString file = getOpenFileName(this, tr("Open File"), executableEdit->text(), filter,
                                         nullptr, QFileDialog::Options());
    if (file.isEmpty())
        return;
    executableEdit->setText(QDir::toNativeSeparators(file));
    resetBrowserArguments();
}

void CSettingsWidget::resetBrowserArguments()
{
    if (executableEdit->text() != defaultBrowserPath)
        argumentsEdit->setText(BrowserUrlToken);
}
