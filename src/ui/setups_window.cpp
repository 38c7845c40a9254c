#include "ui/setups_window.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QSettings>
#include <QShortcut>
#include <QStandardPaths>

#include "setup/setup_file.h"
#include "ui_setups_window.h"

namespace kelvane::ui {
namespace {

const QString folderKey = QStringLiteral("Setups/Folder");
constexpr int pathRole = Qt::UserRole;

QSettings settings() {
    return QSettings(QSettings::defaultFormat(), QSettings::UserScope, QStringLiteral("Kelvane"),
                     QStringLiteral("Kelvane"));
}

} // namespace

SetupsWindow::SetupsWindow(QWidget* parent, std::function<bool()> portOpen)
    : QWidget(parent, Qt::Window), form_(std::make_unique<Ui::SetupsWindow>()),
      portOpen_(std::move(portOpen)) {
    form_->setupUi(this);
    for (QWidget* widget : findChildren<QWidget*>())
        if (!widget->objectName().isEmpty() && !widget->objectName().startsWith("qt_"))
            widget->setAccessibleDescription(widget->objectName());
    setAccessibleDescription(objectName());
    const QString fallback =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/setups";
    form_->SetupFolder->setText(settings().value(folderKey, fallback).toString());
    form_->SetupList->sortByColumn(0, Qt::AscendingOrder);

    connect(form_->ChangeFolder, &QPushButton::clicked, this, &SetupsWindow::chooseFolder);
    connect(form_->OpenSetup, &QPushButton::clicked, this, [this] { requestOpen(false); });
    connect(form_->OpenAndSend, &QPushButton::clicked, this, [this] { requestOpen(true); });
    connect(form_->SetupList, &QTreeWidget::itemDoubleClicked, this,
            [this](const QTreeWidgetItem* item) {
                emit openRequested(item->data(0, pathRole).toString(), false);
            });
    connect(form_->RefreshSetups, &QPushButton::clicked, this, &SetupsWindow::refresh);
    connect(form_->RenameSetup, &QPushButton::clicked, this, &SetupsWindow::askRename);
    connect(form_->DuplicateSetup, &QPushButton::clicked, this, [this] {
        if (!currentPath().isEmpty()) duplicateSetup(currentPath());
    });
    connect(form_->DeleteSetup, &QPushButton::clicked, this, &SetupsWindow::askDelete);
    connect(form_->SaveHere, &QPushButton::clicked, this, &SetupsWindow::askSaveHere);
    new QShortcut(QKeySequence::Cancel, this, this, &QWidget::close);
    offerSend();
}

SetupsWindow::~SetupsWindow() = default;

QString SetupsWindow::folder() const {
    return form_->SetupFolder->text();
}

void SetupsWindow::setFolder(const QString& folder) {
    form_->SetupFolder->setText(folder);
    auto store = settings();
    store.setValue(folderKey, folder);
    refresh();
}

// A file that cannot be opened is listed under its file name with the reason
// as its note, so that it does not just go missing.
void SetupsWindow::refresh() {
    QTreeWidget* list = form_->SetupList;
    list->clear();
    const QDir dir(folder());
    const QString pattern = QStringLiteral("*.") + setup::fileSuffix;
    for (const QFileInfo& file : dir.entryInfoList({pattern}, QDir::Files, QDir::Name)) {
        const auto read = setup::readSetup(file.filePath());
        QStringList columns;
        if (const auto* s = std::get_if<setup::Setup>(&read)) {
            const QString name = QString::fromStdString(s->name);
            columns << (name.isEmpty() ? file.completeBaseName() : name)
                    << QString::fromStdString(s->inputs.fo).trimmed() + " MHz"
                    << QString::fromStdString(s->note).section('\n', 0, 0);
        } else {
            columns << file.completeBaseName() << "" << std::get<setup::SetupError>(read).message;
        }
        auto* item = new QTreeWidgetItem(list, columns);
        item->setData(0, pathRole, file.filePath());
        // The reason a file cannot be opened, where the pointer rests on it.
        if (std::holds_alternative<setup::SetupError>(read))
            for (int column = 0; column < list->columnCount(); ++column)
                item->setToolTip(column, columns.at(2));
    }
    list->resizeColumnToContents(0);
    list->resizeColumnToContents(1);
}

void SetupsWindow::showEvent(QShowEvent* event) {
    refresh();
    offerSend();
    QWidget::showEvent(event);
}

// The port may have opened or closed while another window was active.
void SetupsWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) offerSend();
    QWidget::changeEvent(event);
}

void SetupsWindow::offerSend() {
    form_->OpenAndSend->setEnabled(portOpen_ && portOpen_());
}

QString SetupsWindow::currentPath() const {
    const QTreeWidgetItem* item = form_->SetupList->currentItem();
    return item ? item->data(0, pathRole).toString() : QString();
}

QString SetupsWindow::pathFor(const QString& name) const {
    return QDir(folder()).filePath(name + "." + setup::fileSuffix);
}

std::optional<QString> SetupsWindow::renameSetup(const QString& path, const QString& newName) {
    const QString target = pathFor(newName);
    std::optional<QString> error;
    if (newName.isEmpty() || newName.contains('/') || newName.contains('\\'))
        error = QString("\"%1\" is no file name").arg(newName);
    else if (QFileInfo::exists(target))
        error = target + ": exists already";
    else if (QFile file(path); !file.rename(target))
        error = QString("%1: cannot be renamed (%2)").arg(path, file.errorString());
    refresh();
    if (!error) emit renamed(path, target);
    return error;
}

// The copy takes the first free name of "name copy", "name copy 2", ...
std::optional<QString> SetupsWindow::duplicateSetup(const QString& path) {
    const QString base = QFileInfo(path).completeBaseName() + " copy";
    QString target = pathFor(base);
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = pathFor(base + " " + QString::number(n));
    std::optional<QString> error;
    if (QFile file(path); !file.copy(target))
        error = QString("%1: cannot be copied (%2)").arg(path, file.errorString());
    refresh();
    return error;
}

std::optional<QString> SetupsWindow::deleteSetup(const QString& path) {
    std::optional<QString> error;
    if (QFile file(path); !file.remove())
        error = QString("%1: cannot be deleted (%2)").arg(path, file.errorString());
    refresh();
    return error;
}

void SetupsWindow::askRename() {
    const QString path = currentPath();
    if (path.isEmpty()) return;
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, "Rename Setup", "New file name:", QLineEdit::Normal,
                              QFileInfo(path).completeBaseName(), &ok);
    if (!ok) return;
    if (const auto error = renameSetup(path, name.trimmed()))
        QMessageBox::warning(this, "Rename Setup", *error);
}

void SetupsWindow::askDelete() {
    const QString path = currentPath();
    if (path.isEmpty()) return;
    if (QMessageBox::question(
            this, "Delete Setup",
            QString("Delete the setup file \"%1\"?").arg(QFileInfo(path).fileName()),
            QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Cancel) != QMessageBox::Yes)
        return;
    if (const auto error = deleteSetup(path)) QMessageBox::warning(this, "Delete Setup", *error);
}

void SetupsWindow::askSaveHere() {
    bool ok = false;
    const QString name = QInputDialog::getText(this, "Save Current Setup Here",
                                               "File name:", QLineEdit::Normal, QString(), &ok)
                             .trimmed();
    if (!ok || name.isEmpty()) return;
    const QString path = pathFor(name);
    if (QFileInfo::exists(path) &&
        QMessageBox::question(
            this, "Save Current Setup Here",
            QString("\"%1\" exists. Replace it?").arg(QFileInfo(path).fileName())) !=
            QMessageBox::Yes)
        return;
    QDir().mkpath(folder());
    emit saveRequested(path);
    refresh();
}

void SetupsWindow::chooseFolder() {
    const QString chosen = QFileDialog::getExistingDirectory(this, "Setups Folder", folder());
    if (!chosen.isEmpty()) setFolder(chosen);
}

void SetupsWindow::requestOpen(bool send) {
    if (const QTreeWidgetItem* item = form_->SetupList->currentItem())
        emit openRequested(item->data(0, pathRole).toString(), send);
}

} // namespace kelvane::ui
