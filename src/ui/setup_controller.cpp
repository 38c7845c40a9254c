#include "ui/setup_controller.h"

#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QTimer>

#include "ui/setups_window.h"

namespace kelvane::ui {
namespace {

const QString recentKey = QStringLiteral("Setups/Recent");
constexpr qsizetype recentCount = 8;
const QString fileFilter = QStringLiteral("Kelvane setups (*.kelvane)");

QSettings settings() {
    return QSettings(QSettings::defaultFormat(), QSettings::UserScope, QStringLiteral("Kelvane"),
                     QStringLiteral("Kelvane"));
}

// The first local setup file among the dragged ones, if any.
QString droppedSetup(const QMimeData* data) {
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).suffix() == setup::fileSuffix)
            return url.toLocalFile();
    return {};
}

} // namespace

SetupController::SetupController(QMainWindow& window, SetupHost& host)
    : QObject(&window), window_(window), host_(host), plainTitle_(window.windowTitle()) {
    setupsWindow_ = new SetupsWindow(&window);
    connect(setupsWindow_, &SetupsWindow::openRequested, this,
            [this](const QString& path, bool send) { open(path, send); });
    buildMenu();
    watchInputs();
    // A setup dropped on a text box opens too, rather than landing in the box as its path.
    window.setAcceptDrops(true);
    for (QWidget* widget : window.findChildren<QWidget*>())
        if (widget->acceptDrops()) widget->installEventFilter(this);
    window.installEventFilter(this);
}

SetupsWindow& SetupController::setupsWindow() {
    return *setupsWindow_;
}

void SetupController::buildMenu() {
    QMenu* file = window_.menuBar()->addMenu("&File");
    file->setObjectName("FileMenu");
    file->addAction("&New", QKeySequence::New, this, [this] {
        if (!refusedWhileBusy() && settleChanges()) newSetup();
    });
    file->addAction("&Open Setup...", QKeySequence::Open, this, &SetupController::openChosen);
    file->addAction("&Save Setup", QKeySequence::Save, this, &SetupController::save);
    file->addAction("Save Setup &As...", QKeySequence::SaveAs, this, &SetupController::saveChosen);
    recent_ = file->addMenu("Open &Recent");
    recent_->setObjectName("RecentMenu");
    connect(recent_, &QMenu::aboutToShow, this, &SetupController::fillRecent);
    file->addAction("Se&tups...", this, [this] {
        setupsWindow_->show();
        setupsWindow_->raise();
    });
    file->addSeparator();
    file->addAction("&Quit", QKeySequence::Quit, &window_, &QWidget::close);
}

// Every input control: a change by the user or by the program updates the "*".
void SetupController::watchInputs() {
    host_.onInputChanged(this, [this] { updateCaption(); });
}

bool SetupController::modified() const {
    return !path_.isEmpty() && host_.inputs() != saved_.inputs;
}

void SetupController::updateCaption() {
    if (path_.isEmpty()) {
        window_.setWindowTitle(plainTitle_);
        window_.setWindowModified(false);
        return;
    }
    const QString name = QString::fromStdString(saved_.name);
    window_.setWindowTitle((name.isEmpty() ? QFileInfo(path_).completeBaseName() : name) +
                           "[*] - " + plainTitle_);
    window_.setWindowModified(modified());
}

bool SetupController::refusedWhileBusy() {
    const QString why = host_.boardBusyReason();
    if (why.isEmpty()) return false;
    host_.showStatus(why);
    return true;
}

bool SetupController::open(const QString& path, bool send) {
    if (refusedWhileBusy() || !settleChanges()) return false;
    const auto read = setup::readSetup(path);
    if (const auto* error = std::get_if<setup::SetupError>(&read)) {
        QMessageBox::warning(&window_, "Open Setup", error->message);
        return false;
    }
    const auto& setup = std::get<setup::Setup>(read);
    host_.applyInputs(setup.inputs);
    path_ = QFileInfo(path).absoluteFilePath();
    saved_ = setup;
    // What the controls hold is the file's state from now on.
    saved_.inputs = host_.inputs();
    remember(path_);
    updateCaption();
    if (send) host_.sendAllIfOpen();
    return true;
}

void SetupController::newSetup() {
    if (refusedWhileBusy()) return;
    host_.applyInputs(Inputs{});
    path_.clear();
    saved_ = {};
    updateCaption();
}

bool SetupController::save() {
    if (path_.isEmpty()) return saveChosen();
    setup::Setup setup = saved_;
    setup.inputs = host_.inputs();
    return writeTo(path_, setup);
}

bool SetupController::saveAs(const QString& path) {
    setup::Setup setup = saved_;
    setup.inputs = host_.inputs();
    // A setup keeps its name under a new file name; a new one is named after its file.
    if (setup.name.empty()) setup.name = QFileInfo(path).completeBaseName().toStdString();
    return writeTo(path, setup);
}

bool SetupController::writeTo(const QString& path, const setup::Setup& setup) {
    const auto registers = host_.planDefined() ? std::optional(host_.registers()) : std::nullopt;
    if (const auto error = setup::writeSetup(path, setup, registers)) {
        QMessageBox::warning(&window_, "Save Setup", error->message);
        return false;
    }
    path_ = QFileInfo(path).absoluteFilePath();
    saved_ = setup;
    remember(path_);
    updateCaption();
    if (setupsWindow_->isVisible()) setupsWindow_->refresh();
    return true;
}

// The file dialogs start in the setups folder, made on first use.
QString SetupController::setupsFolder() const {
    QDir().mkpath(setupsWindow_->folder());
    return setupsWindow_->folder();
}

void SetupController::openChosen() {
    if (refusedWhileBusy()) return;
    const QString path =
        QFileDialog::getOpenFileName(&window_, "Open Setup", setupsFolder(), fileFilter);
    if (!path.isEmpty()) open(path);
}

bool SetupController::saveChosen() {
    const QString start = path_.isEmpty() ? setupsFolder() : path_;
    QString path = QFileDialog::getSaveFileName(&window_, "Save Setup As", start, fileFilter);
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".") + setup::fileSuffix;
    return saveAs(path);
}

bool SetupController::settleChanges() {
    if (!modified()) return true;
    const auto answer = QMessageBox::question(
        &window_, "Kelvane",
        QString("The inputs differ from the setup \"%1\". Save them?")
            .arg(QFileInfo(path_).fileName()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save) return save();
    return answer == QMessageBox::Discard;
}

void SetupController::remember(const QString& path) {
    auto store = settings();
    QStringList recent = store.value(recentKey).toStringList();
    recent.removeAll(path);
    recent.prepend(path);
    store.setValue(recentKey, recent.mid(0, recentCount));
}

void SetupController::fillRecent() {
    recent_->clear();
    const QStringList recent = settings().value(recentKey).toStringList();
    for (const QString& path : recent)
        recent_->addAction(QFileInfo(path).fileName(), this, [this, path] { open(path); })
            ->setToolTip(path);
    recent_->setEnabled(!recent.isEmpty());
}

bool SetupController::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Close:
        if (watched != &window_) return false;
        // A run ends first; the window closes, and asks, once it has.
        if (host_.runInProgress()) return false;
        if (!settleChanges()) {
            event->ignore();
            return true;
        }
        setupsWindow_->close();
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (droppedSetup(drag->mimeData()).isEmpty()) return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = droppedSetup(drop->mimeData());
        if (path.isEmpty()) return false;
        drop->acceptProposedAction();
        // Opened once the drop is over: the drag source is not kept waiting
        // while a message box asks about unsaved changes.
        QTimer::singleShot(0, this, [this, path] { open(path); });
        return true;
    }
    default:
        return false;
    }
}

} // namespace kelvane::ui
