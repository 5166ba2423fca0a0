#include "openreport/CConsole.h"
#include "openreport/CExLineEdit.h"
#include "openreport/COpenReportWidget.h"
#include "reportlist/CMetadataModel.h"
#include "reportlist/CReportsDataSortFilterProxyModel.h"
#include "reportlist/CReportsDataTableView.h"

#include <QCheckBox>
#include <QEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPushButton>
#include <QRegExp>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>

void COpenReportWidget::createConnections()
{
    connect(settingsButton, &QToolButton::clicked, this, [this] { emit showSettings(); });
    connect(stoneIDEdit, &QLineEdit::editingFinished, this,
            &COpenReportWidget::reportIDEditingFinished);
    connect(stoneIDEdit, &QLineEdit::textChanged, this, &COpenReportWidget::onStoneIDTextChanged);
    connect(stoneIDEdit, &CExLineEdit::toolButtonTriggered, this,
            &COpenReportWidget::forceSearchReports);
    connect(autoFindCheckBox, &QCheckBox::stateChanged, this, [this] {
        if (autoFindCheckBox->isChecked()) {
            autoOpenCheckBox->setEnabled(true);
        } else {
            autoOpenCheckBox->setDisabled(true);
            autoOpenCheckBox->setChecked(false);
        }
    });
    connect(actionButton, &QPushButton::clicked, this,
            &COpenReportWidget::reportActionButtonTriggered);
    connect(autoFindTimer, &QTimer::timeout, this, &COpenReportWidget::onAutoFindTimeout);
    connect(inputPauseTimer, &QTimer::timeout, this, [this] {
        setEnabled(true);
        if (focusBeforePause)
            focusBeforePause->setFocus(Qt::OtherFocusReason);
    });
    connect(tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &COpenReportWidget::updateSelection);
    connect(tableView, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        // A double click on the comment edits it instead.
        if (index.column() != CMetadataModel::CommentColumn)
            openReport();
    });
    connect(tableView, &QWidget::customContextMenuRequested, this,
            &COpenReportWidget::customContextMenuRequested);
    connect(metadataModel, &QAbstractItemModel::dataChanged, this, &COpenReportWidget::dataChanged);
    connect(refreshShortcut, &QShortcut::activated, this, &COpenReportWidget::forceSearchReports);
    connect(stoneIDShortcut, &QShortcut::activated, this, &COpenReportWidget::focusInStoneID);
    connect(openFolderShortcut, &QShortcut::activated, this, &COpenReportWidget::openReportFolder);
    connect(deleteShortcut, &QShortcut::activated, this, &COpenReportWidget::removeReportFolder);
}

void COpenReportWidget::onSettingsChanged()
{
    updateReportID(true);
    // The settings page has just written the same file; one word after the search's output
    // says when neither could be written.
    const bool saved = saveSettings();
    loadSettings();
    findReports();
    if (!saved)
        reportUnsavedSettings();
}

bool COpenReportWidget::updateReportID(bool force)
{
    // Characters that cannot stand in a folder name become "-", one for each; the field keeps
    // the text as typed.
    static const QRegExp forbidden(
        QStringLiteral("[") + QRegExp::escape(QStringLiteral("<")) +
            QRegExp::escape(QStringLiteral(">")) + QRegExp::escape(QStringLiteral(":")) +
            QRegExp::escape(QStringLiteral("\"")) + QRegExp::escape(QStringLiteral("/")) +
            QRegExp::escape(QStringLiteral("\\")) + QRegExp::escape(QStringLiteral("|")) +
            QRegExp::escape(QStringLiteral("*")) + QRegExp::escape(QStringLiteral("?")) +
            QStringLiteral("]"),
        Qt::CaseSensitive, QRegExp::RegExp);
    QString text = stoneIDEdit->text();
    text.replace(forbidden, QStringLiteral("-"));
    // Half of a surrogate pair has no encoding in a file name, where it would become "?" and
    // name another stone's folder: it becomes "-" too.
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (text.at(i).isSurrogate())
            text[i] = QLatin1Char('-');
    }
    if (text == stoneID && !force)
        return false;
    stoneID = text;
    return true;
}

bool COpenReportWidget::updateReportID()
{
    return updateReportID(false);
}

void COpenReportWidget::reportIDEditingFinished()
{
    if (!forcedSearchDone && !(autoFindCheckBox->isChecked() && autoSearchDone))
        updateReportID(false);
    autoSearchDone = false;
    forcedSearchDone = false;
}

void COpenReportWidget::findReports()
{
    stoneIDEdit->startThrobber();
    if (autoFindTimer->isActive())
        autoFindTimer->stop();
    searchOutputShown = true;
    configMessages.clear();
    updateReportID(false);
    updateConsole();

    viewersReady = discoverViewers();
    reportsFound = searchReports();
    browserReady = checkBrowserExecutable();

    if (reportsFound) {
        actionButton->setText(QStringLiteral("&Open Report"));
        resultsShown = true;
    }
    metadataModel->setReports(reports, viewers.isEmpty() ? ViewerVersion() : viewers.lastKey());
    tableView->adjustColumnWidths();
    tableView->sortByColumn(0, Qt::AscendingOrder);
    // The last row after sorting by number is the latest report; selecting it decides what
    // opens.
    tableView->selectRow(reports.size() - 1);
    tableView->scrollToBottom();

    if (reportsFound)
        tableView->setFocus(Qt::OtherFocusReason);
    else
        stoneIDEdit->setFocus(Qt::OtherFocusReason);
    stoneIDEdit->stopThrobber();
}

void COpenReportWidget::forceSearchReports()
{
    // Right after an automatic search the same request would only repeat it.
    if (autoFindCheckBox->isChecked() && autoSearchDone)
        return;
    forcedSearchDone = true;
    if (autoFindTimer->isActive())
        autoFindTimer->stop();
    updateReportID(true);
    findReports();
    if (autoOpenCheckBox->isChecked())
        openReport();
}

void COpenReportWidget::reportActionButtonTriggered()
{
    if (resultsShown) {
        openReport();
        return;
    }
    findReports();
    if (autoOpenCheckBox->isChecked())
        openReport();
}

void COpenReportWidget::onStoneIDTextChanged()
{
    if (autoFindCheckBox->isChecked()) {
        if (autoFindTimer->isActive())
            autoFindTimer->stop();
        autoFindTimer->start();
    }
    if (searchOutputShown) {
        searchOutputShown = false;
        updateConsole();
    }
    if (resultsShown) {
        // Nothing of the previous stone may open until the next search.
        resultsShown = false;
        reportsFound = false;
        reportDataPath.clear();
        reports.clear();
        metadataModel->setReports(reports, ViewerVersion());
        actionButton->setText(QStringLiteral("&Find Reports"));
    }
}

void COpenReportWidget::onAutoFindTimeout()
{
    updateReportID(true);
    autoSearchDone = true;
    findReports();
    if (autoOpenCheckBox->isChecked())
        openReport();
}

void COpenReportWidget::updateSelection()
{
    if (reports.isEmpty() || viewers.isEmpty())
        return;
    const QModelIndex source = selectedSourceIndex();
    if (!source.isValid())
        return;
    const int row = source.row();

    // Each row carries its report folder's name, so two folders that share a number each open
    // their own report.
    const auto report = reports.constFind(folderNameOfRow(row));
    if (report != reports.cend()) {
        reportDataPath = pathToReports + QLatin1Char('/') + stoneID + QLatin1Char('/') +
                         report.key() + QLatin1Char('/') + report.value().dataFileName;
    }

    const QVariantList parts =
        metadataModel->data(metadataModel->index(row, CMetadataModel::ViewerColumn), Qt::UserRole)
            .toList();
    ViewerVersion required;
    required.major = parts.value(0).toInt();
    required.minor = parts.value(1).toInt();
    required.patch = parts.value(2).toInt();
    const ViewerVersion latest = viewers.lastKey();
    if (latest < required || required.major == 0) {
        viewerFolderName = viewers.last();
    } else {
        chooseViewer(required);
        viewerFolderName = viewers.value(required);
    }
}

bool COpenReportWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *keyEvent = static_cast<QKeyEvent *>(event);
        const int key = keyEvent->key();
        if (watched == stoneIDEdit) {
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (interceptNewLine) {
                    // Only Ctrl with the main Return key searches: a scanner's new line does not.
                    if (keyEvent->modifiers() == Qt::ControlModifier)
                        forceSearchReports();
                } else {
                    forceSearchReports();
                    pauseInput();
                }
                return true;
            }
            if (key == Qt::Key_Tab) {
                if (resultsShown)
                    tableView->setFocus(Qt::OtherFocusReason);
                else
                    actionButton->setFocus(Qt::OtherFocusReason);
                return true;
            }
        } else if (watched == tableView) {
            if (key == Qt::Key_Return) {
                // Return that ends a comment edit reaches the table too: it only commits the
                // edit.
                if (!tableView->isEditing())
                    openReport();
                return true;
            }
            if (key == Qt::Key_Escape) {
                stoneIDEdit->setFocus(Qt::OtherFocusReason);
                return true;
            }
        }
    } else if (watched == this && event->type() == QEvent::WindowActivate) {
        stoneIDEdit->setFocus(Qt::OtherFocusReason);
        stoneIDEdit->selectAll();
    }
    return QWidget::eventFilter(watched, event);
}

bool COpenReportWidget::enterStoneID(const QString &text)
{
    // The comment's editor would write the comment when the focus left it.
    if (tableView->isEditing() || !isEnabled())
        return false;
    focusInStoneID();
    stoneIDEdit->setText(text);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return,
                    interceptNewLine ? Qt::ControlModifier : Qt::NoModifier);
    eventFilter(stoneIDEdit, &enter);
    return true;
}

void COpenReportWidget::pauseInput()
{
    // A scanner may send more characters right after its new line; they are dropped while the
    // page is disabled, and the focus returns afterwards to where the search put it.
    focusBeforePause = focusWidget();
    setEnabled(false);
    if (inputPauseTimer->isActive())
        inputPauseTimer->stop();
    inputPauseTimer->start();
}

void COpenReportWidget::focusInStoneID()
{
    stoneIDEdit->setFocus(Qt::OtherFocusReason);
    stoneIDEdit->selectAll();
}
