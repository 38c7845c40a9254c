#include "ui/setups_window.h"

#include <QDir>
#include <QFileDialog>
#include <QSettings>
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

SetupsWindow::SetupsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), form_(std::make_unique<Ui::SetupsWindow>()) {
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
    }
    list->resizeColumnToContents(0);
    list->resizeColumnToContents(1);
}

void SetupsWindow::showEvent(QShowEvent* event) {
    refresh();
    QWidget::showEvent(event);
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
