#include "ui/link_controller.h"

#include <QEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextCursor>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "link/port_choice.h"
#include "model/eeprom_verify.h"
#include "model/readback.h"
#include "ui/label_text.h"
#include "ui/link_window.h"
#include "window_text/control_help.h"
#include "window_text/link_status.h"

namespace kelvane::ui {
namespace {

const QString applicationTitle = QStringLiteral("Kelvane");

// The console keeps only this many of the newest characters (one per byte the
// board sent), so that a board flooding the port neither fills memory nor
// makes every insert slower than the last.
constexpr int consoleCharacters = 256 * 1024;

const QString confirmation = QStringLiteral("COM Port Open\r\n"
                                            "RS232 Parameters  9600 Baud, N,8,2\r\n"
                                            "Use with PIC Firmware  Vantrel \r\n");

QString portToolTip() {
    const QStringList ports = link::portListLines();
    QString text = ports.isEmpty() ? QStringLiteral("No serial ports are listed.")
                                   : "Serial ports by number:\n" + ports.join('\n');
    return text + "\nA device such as /dev/ttyUSB0 or COM3 can be typed instead.";
}

} // namespace

LinkController::LinkController(const LinkWidgets& widgets, LinkWindow& window,
                               session::BoardSession& session, QWidget* parent)
    : QObject(parent), widgets_(widgets), window_(window), session_(session), parent_(parent),
      linkStatus_(new QLabel(widgets.statusBar)), portStatus_(new QLabel(widgets.statusBar)) {
    setObjectName(QStringLiteral("LinkController"));
    for (auto [label, name] : {std::pair{linkStatus_, "LinkStatus"}, {portStatus_, "PortStatus"}}) {
        label->setObjectName(QString::fromLatin1(name));
        label->setAccessibleDescription(QString::fromLatin1(name));
    }
    widgets.statusBar->addWidget(linkStatus_, 1);
    widgets.statusBar->addPermanentWidget(portStatus_);
    portStatus_->setText(qText(portStatus({})));
    const auto& w = widgets_;
    connect(w.portBox, &QLineEdit::textChanged, this,
            [button = w.portButton] { button->setText(QStringLiteral("Set")); });
    connect(w.portButton, &QPushButton::clicked, this, &LinkController::setCP);
    connect(w.update, &QPushButton::clicked, this, &LinkController::updateAll);
    connect(w.quickUpdate, &QPushButton::clicked, this, &LinkController::quickFreqUpdate);
    connect(w.storeEE, &QPushButton::clicked, this, &LinkController::storeEE);
    connect(w.init, &QPushButton::clicked, this, &LinkController::initFromEE);
    connect(w.verifyEE, &QPushButton::clicked, this, &LinkController::verifyEE);
    connect(&session_, &session::BoardSession::received, this, &LinkController::appendReceived);
    connect(&session_, &session::BoardSession::failed, this, &LinkController::portFailed);
    connect(&session_, &session::BoardSession::closed, this, [this] { showLinkOpen(false); });
    connect(&session_, &session::BoardSession::runEnded, this, &LinkController::runEnded);
    QMenu* board = w.menuBar->addMenu(QStringLiteral("&Board"));
    board->setObjectName(QStringLiteral("BoardMenu"));
    closePort_ = board->addAction(QStringLiteral("&Close Port"), this, &LinkController::closePort);
    closePort_->setObjectName(QStringLiteral("ClosePort"));
    closePort_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    closePort_->setEnabled(false);
    w.portBox->installEventFilter(this);
    w.quickUpdate->installEventFilter(this);
    // Every insert would otherwise keep an undo step: memory growing with
    // every byte the board sends.
    w.console->setUndoRedoEnabled(false);
}

// The list of ports changes as adapters come and go: it is read when the
// tooltip is about to show. (The port box also sends events while the window
// is being destroyed, so the window itself is not asked here.) A disabled
// "Quick Freq Update" says why in its tooltip.
bool LinkController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip)
        if (auto* box = qobject_cast<QLineEdit*>(watched)) box->setToolTip(portToolTip());
    if (event->type() == QEvent::EnabledChange)
        if (auto* button = qobject_cast<QPushButton*>(watched)) {
            const auto help =
                button->isEnabled() ? controlHelp("QuickUpdate") : quickUpdateDisabledHelp;
            button->setToolTip(QString::fromUtf8(help.data(), help.size()));
        }
    return QObject::eventFilter(watched, event);
}

void LinkController::showStatus(const QString& text) {
    linkStatus_->setText(text);
}

// The port button opens the port the box names, or closes the open one.
void LinkController::setCP() {
    if (session_.isOpen()) {
        closePort();
        return;
    }
    const QString text = widgets_.portBox->text();
    const link::OpenOutcome outcome = session_.open(text);
    if (outcome.result == link::OpenOutcome::Result::Nothing) return;
    if (outcome.result == link::OpenOutcome::Result::Failed) {
        showStatus("Invalid COM port: " + outcome.cause);
        QMessageBox box(QMessageBox::Warning, applicationTitle, QStringLiteral("Invalid COM port"),
                        QMessageBox::Ok, parent_);
        box.setDetailedText(outcome.cause);
        box.exec();
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, applicationTitle, confirmation, QMessageBox::Ok, parent_);
    box.exec();
    // The port may have failed while the message was up.
    if (!session_.isOpen()) return;
    showLinkOpen(true);
}

void LinkController::closePort() {
    if (!session_.isOpen()) return;
    const bool running = session_.activity() == session::BoardSession::Activity::Run;
    session_.close();
    showStatus(running ? QStringLiteral("Stopping the run; the port closes after its step")
                       : "Port " + session_.device() + " closed");
}

void LinkController::showLinkOpen(bool open) {
    const auto& w = widgets_;
    for (QWidget* button : {w.update, w.quickUpdate, w.storeEE, w.init, w.verifyEE})
        button->setVisible(open);
    w.portButton->setText(open ? QStringLiteral("Close Port") : QStringLiteral("COM Port"));
    w.portBox->setVisible(!open);
    w.portCaption->setVisible(!open);
    w.stepUp->setVisible(open);
    w.stepDown->setVisible(open);
    closePort_->setEnabled(open);
    portStatus_->setText(qText(portStatus(open ? session_.device().toStdString() : std::string())));
    if (open) showStatus("Port " + session_.device() + " open");
}

// Words of an undefined plan belong to an earlier one, and a word beyond 32
// bits makes no register line: either way one line under the command's name
// says why, and nothing goes to the board.
bool LinkController::sendable(const QString& command) {
    std::string line;
    if (!window_.planDefined())
        line = undefinedPlanLine(command.toStdString());
    else if (const auto beyond = wordBeyond32Bits(window_.registers()))
        line = nothingSentLine(command.toStdString(), *beyond);
    else
        return true;
    appendLine(qText(line));
    showStatus(qText(line));
    return false;
}

bool LinkController::refusedDuringRun() {
    if (session_.activity() != session::BoardSession::Activity::Run) return false;
    showStatus(session_.busyReason());
    return true;
}

// Every transfer: an open port, the board free of runs, the plan recalculated,
// words that can be sent, a clear console, the sequence. Each word is taken
// from the window when its turn comes.
std::optional<session::TransferOutcome>
LinkController::runTransfer(const char* name, Transfer transfer, WhileHeld whileHeld) {
    if (!session_.isOpen() || refusedDuringRun()) return std::nullopt;
    const bool held = window_.recalculationHeld();
    if (held && whileHeld == WhileHeld::skip) {
        showStatus(qText(nothingSentLine(name, "the board's answer is being read")));
        return std::nullopt;
    }
    if (!held || whileHeld == WhileHeld::recalculate) window_.recalculate();
    if (!sendable(QString::fromLatin1(name))) return std::nullopt;
    clearConsole();
    return (session_.*transfer)([this] { return window_.registers(); }, QString::fromLatin1(name));
}

// Once a whole sequence went out: how many lines, and whether the board
// answered; a transfer that ran inside its pauses is counted apart.
bool LinkController::reported(const char* name,
                              const std::optional<session::TransferOutcome>& outcome) {
    if (!outcome || !outcome->completed) return false;
    showStatus(qText(transferStatus(name, outcome->linesSent, session_.device().toStdString(),
                                    outcome->replies, outcome->linesInside)));
    return true;
}

void LinkController::updateAll() {
    const char* name = "Update all registers";
    if (reported(name,
                 runTransfer(name, &session::BoardSession::sendAll, WhileHeld::sendAsTheyStand)))
        window_.enableQuickUpdate(true);
}

void LinkController::quickFreqUpdate() {
    const char* name = "Quick Freq Update";
    reported(name, runTransfer(name, &session::BoardSession::sendFrequency, WhileHeld::skip));
}

// A step's status line names the output it stepped to.
void LinkController::quickStep() {
    const auto outcome =
        runTransfer("Quick Freq Update", &session::BoardSession::sendFrequency, WhileHeld::skip);
    if (!outcome || !outcome->completed) return;
    showStatus(
        qText(stepStatus(session_.device().toStdString(), outcome->replies, window_.inputs().fo)));
}

// Per word its line, the store mark and the line again.
void LinkController::storeEE() {
    const char* name = "Store to EE";
    reported(name, runTransfer(name, &session::BoardSession::store, WhileHeld::recalculate));
}

// The board's answer collects in the console during the wait, with the
// window's recalculation held; the window then applies what it restores.
void LinkController::initFromEE() {
    if (!session_.isOpen() || refusedDuringRun()) return;
    const std::optional<std::string> answer = readStoredSet();
    if (!answer) return;
    const RestoreOutcome outcome =
        restoreFromAnswer(*answer, window_.inputs(), window_.planVariables());
    if (const auto* refusal = std::get_if<RestoreRefusal>(&outcome)) {
        // An input changed during the wait did not recalculate; nothing is
        // restored now to do it, so the listing replaces the answer here.
        if (window_.recalculationSkipped()) window_.recalculate();
        appendLine(qText(refusal->line));
        showStatus(qText(answer->empty() ? std::string(noReplyStatus) : refusal->line));
        return;
    }
    window_.applyRestore(std::get<Restore>(outcome));
    showStatus(qText(restoredStatus(window_.inputs().fo)));
}

// The session's answer is what the board sent during the wait; Init from EE
// reads the console, which shows it, as it always has.
std::optional<std::string> LinkController::readStoredSet() {
    const auto hold = window_.holdRecalculation();
    clearConsole();
    if (!session_.readStoredSet(QStringLiteral("Init from EE"))) return std::nullopt;
    return widgets_.console->toPlainText().toLatin1().toStdString();
}

// Asks for the stored set as "Init from EE" does and compares it with the
// words of the plan on screen when the button was pressed. The console shows
// the answer and then the verdict, which the status line repeats; nothing
// else in the window changes. Nothing else may use the board meanwhile.
void LinkController::verifyEE() {
    if (!session_.isOpen()) return;
    if (session_.busy()) {
        showStatus(session_.busyReason());
        return;
    }
    if (!window_.planDefined()) {
        const QString line =
            "Verify EE: the plan is undefined (the status line says why); nothing compared";
        appendLine(line);
        showStatus(line);
        return;
    }
    const RegisterImage plan = window_.registers();
    clearConsole();
    const auto answer = session_.readStoredSet(QStringLiteral("Verify EE"));
    if (!answer) return;
    const auto outcome = verifyAnswer(*answer, plan);
    const auto* refusal = std::get_if<VerifyRefusal>(&outcome);
    const QString line =
        qText(refusal ? refusal->line : verdictLine(std::get<EepromComparison>(outcome)));
    appendLine(line);
    showStatus(line);
}

// Bytes show one character each. A CR LF split across two pieces is one line
// end, as it is within a piece; NUL shows as a visible symbol. Beyond the
// console's limit the oldest text goes, never the newest.
void LinkController::appendReceived(const QByteArray& bytes) {
    QString text = QString::fromLatin1(bytes);
    if (pendingCr_ && text.startsWith('\n')) text.remove(0, 1);
    pendingCr_ = bytes.endsWith('\r');
    text.replace(QChar(0), QChar(0x2400));

    QPlainTextEdit* console = widgets_.console;
    QScrollBar* scroll = console->verticalScrollBar();
    const bool atEnd = scroll->value() == scroll->maximum();
    QTextCursor end(console->document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    const int excess = console->document()->characterCount() - 1 - consoleCharacters;
    if (excess > 0) {
        QTextCursor oldest(console->document());
        oldest.setPosition(excess, QTextCursor::KeepAnchor);
        oldest.removeSelectedText();
    }
    if (atEnd) scroll->setValue(scroll->maximum());
}

// A line of the program's own in the console, on a line of its own.
void LinkController::appendLine(const QString& line) {
    QPlainTextEdit* console = widgets_.console;
    const QString current = console->toPlainText();
    const bool lineStart = current.isEmpty() || current.endsWith('\n');
    appendReceived(((lineStart ? "" : "\n") + line + "\n").toLatin1());
}

// Every transfer and read-back starts here, with a clear console.
void LinkController::clearConsole() {
    widgets_.console->clear();
    pendingCr_ = false;
}

// The port's line; closed() brings the port box back.
void LinkController::portFailed(const QString& message) {
    appendLine(message);
    showStatus(message);
}

// Every run's outcome, with the frequency the board was left at, goes to the
// status line, and to the console unless the port's line is there already.
void LinkController::runEnded(const session::RunOutcome& outcome) {
    const QString line = qText(outcome.line());
    if (outcome.end != RunEnd::PortFailed && outcome.end != RunEnd::Refused) appendLine(line);
    showStatus(line);
}

void LinkController::shutDown() {
    session_.close();
}

} // namespace kelvane::ui
