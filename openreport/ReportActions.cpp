#include "openreport/ReportActions.h"

#include "openreport/CConsole.h"
#include "openreport/COpenReportWidget.h"
#include "reportlist/CMetadataModel.h"
#include "reportlist/CReportsDataSortFilterProxyModel.h"
#include "reportlist/CReportsDataTableView.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScopedPointer>
#include <QUrl>

namespace {

bool isLink(const QFileInfo &info)
{
    return info.isSymLink() || info.isJunction();
}

bool removeLink(const QString &path)
{
    // A link to a folder is a directory entry on Windows and goes with rmdir there.
    return QFile::remove(path) || QDir().rmdir(path);
}

bool removeFile(const QString &path)
{
    if (QFile::remove(path))
        return true;
    // A read-only file in a folder the operator may change: make it writable and try again.
    QFile file(path);
    return file.setPermissions(file.permissions() | QFile::WriteOwner | QFile::WriteUser) &&
           file.remove();
}

} // namespace

bool removeFolderTree(const QString &path)
{
    const QFileInfo folder(path);
    if (isLink(folder))
        return removeLink(path);
    bool removed = true;
    const QFileInfoList entries = QDir(path).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                           QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const QString entryPath = entry.filePath();
        if (isLink(entry))
            removed = removeLink(entryPath) && removed;
        else if (entry.isDir())
            removed = removeFolderTree(entryPath) && removed;
        else
            removed = removeFile(entryPath) && removed;
    }
    return removed && QDir().rmdir(path);
}

QModelIndex COpenReportWidget::selectedSourceIndex() const
{
    const QModelIndexList selected = tableView->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return QModelIndex();
    return proxyModel->mapToSource(selected.first());
}

QString COpenReportWidget::folderNameOfRow(int row) const
{
    return metadataModel->data(metadataModel->index(row, 0), CMetadataModel::FolderNameRole)
        .toString();
}

bool COpenReportWidget::selectedReport(int &row, QString &folderName)
{
    if (reports.isEmpty())
        return false;
    const QModelIndex source = selectedSourceIndex();
    if (!source.isValid())
        return false;
    updateConsole();
    row = source.row();
    folderName = folderNameOfRow(row);
    return reports.contains(folderName);
}

QString COpenReportWidget::reportFolderPath(const QString &folderName) const
{
    return pathToReports + QLatin1Char('/') + stoneID + QLatin1Char('/') + folderName;
}

void COpenReportWidget::customContextMenuRequested(const QPoint &pos)
{
    QMenu menu(this);
    const auto add = [&menu, this](const QString &text, void (COpenReportWidget::*slot)(),
                                   const QKeySequence &key) {
        QAction *action = menu.addAction(text);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
    };
    add(tr("Open report"), &COpenReportWidget::openReport, QKeySequence(Qt::Key_Enter));
    add(tr("Edit comment"), &COpenReportWidget::editComment, QKeySequence());
    add(tr("Open report folder"), &COpenReportWidget::openReportFolder, QKeySequence::Open);
    add(tr("Permanently delete selected report"), &COpenReportWidget::removeReportFolder,
        QKeySequence(Qt::Key_Delete));
    menu.exec(tableView->viewport()->mapToGlobal(pos));
}

void COpenReportWidget::editComment()
{
    if (reports.isEmpty())
        return;
    const QModelIndexList selected = tableView->selectionModel()->selectedIndexes();
    if (selected.isEmpty() || !selected.last().isValid())
        return;
    tableView->setCurrentIndex(selected.last());
    tableView->edit(selected.last());
}

void COpenReportWidget::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight)
{
    if (!topLeft.isValid() && !bottomRight.isValid())
        return;
    const int row = topLeft.row();
    const QModelIndex comment = metadataModel->index(row, CMetadataModel::CommentColumn);
    const QString text = metadataModel->data(comment).toString();
    // The row's own folder, so that two folders with one number keep their own comments.
    const QString folderName = folderNameOfRow(row);
    const auto report = reports.find(folderName);
    // The comment the file holds needs no writing; that is also what a row is set back to.
    if (report != reports.end() && report.value().comment == text)
        return;
    updateConsole();
    if (report == reports.end())
        return;
    const QString written = report.value().comment;
    report.value().comment = text;
    // After a failed write the row shows the comment that the file still holds.
    if (!saveReportComment(folderName, text)) {
        report.value().comment = written;
        metadataModel->setData(comment, written, Qt::EditRole);
    }
}

void COpenReportWidget::openReportFolder()
{
    int row = -1;
    QString folderName;
    if (!selectedReport(row, folderName))
        return;

    const QString path = reportFolderPath(folderName);
    if (!QDir(path).exists()) {
        console->printError(tr("Opened report folder doesn't exist"));
        return;
    }
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        console->printInfo(tr("The ") + folderName + tr(" report folder was successfully opened"));
    else
        console->printError(tr("Failed to open the ") + folderName + tr(" report folder"));
}

void COpenReportWidget::removeReportFolder()
{
    int row = -1;
    QString folderName;
    if (!selectedReport(row, folderName))
        return;

    const QString path = reportFolderPath(folderName);
    if (!QDir(path).exists()) {
        console->printError(tr("Deleted report folder doesn't exist"));
        return;
    }
    if (!askConfirmation(this, tr("Delete Report"),
                         tr("Are you sure you want to permanently delete the report ") +
                             folderName + tr(" folder and all its contents?"),
                         QString()))
        return;
    if (!removeFolderTree(path)) {
        console->printError(tr("Failed to delete the ") + folderName + tr(" report folder"));
        return;
    }

    reports.remove(folderName);
    metadataModel->removeRows(row, 1, QModelIndex());
    if (reports.isEmpty()) {
        resultsShown = false;
        reportsFound = false;
        actionButton->setText(QStringLiteral("&Find Reports"));
    }
    console->printInfo(tr("The ") + folderName + tr(" report folder was successfully deleted"));
}

bool COpenReportWidget::askConfirmation(QWidget *parent, const QString &title, const QString &text,
                                        const QString &informativeText)
{
    QScopedPointer<QMessageBox> box(new QMessageBox(parent));
    if (parent)
        box->setWindowModality(Qt::WindowModal);
    box->setWindowFlags(box->windowFlags() & ~Qt::WindowContextHelpButtonHint);
    box->setIcon(QMessageBox::Question);
    box->setWindowTitle(title);
    // Plain text: a folder name from the shared folder may look like markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    if (!informativeText.isEmpty())
        box->setInformativeText(informativeText);
    QPushButton *yes = box->addButton(tr("&Yes"), QMessageBox::YesRole);
    QPushButton *no = box->addButton(tr("&No"), QMessageBox::NoRole);
    box->setDefaultButton(no);
    box->setEscapeButton(no);
    box->exec();
    return box->clickedButton() == yes;
}
