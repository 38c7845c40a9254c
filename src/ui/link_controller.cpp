#include "ui/link_controller.h"

#include <QEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextCursor>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "link/port_choice.h"
#include "model/control_help.h"
#include "model/conversions.h"
#include "model/link_status.h"
#include "model/eeprom_verify.h"
#include "model/readback.h"
#include "ui/label_text.h"
#include "ui/link_window.h"

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

bool namesDevice(const QString& text) {
    const QString trimmed = text.trimmed();
    return trimmed.startsWith('/') || trimmed.startsWith("COM") || trimmed.startsWith("tty");
}

QString portToolTip() {
    const QStringList ports = link::portListLines();
    QString text = ports.isEmpty() ? QStringLiteral("No serial ports are listed.")
                                   : "Serial ports by number:\n" + ports.join('\n');
    return text + "\nA device such as /dev/ttyUSB0 or COM3 can be typed instead.";
}

} // namespace

LinkController::LinkController(const LinkWidgets& widgets, LinkWindow& window, QWidget* parent)
    : QObject(parent), widgets_(widgets), window_(window), parent_(parent),
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
    connect(&link_, &link::SerialLink::received, this, &LinkController::received);
    connect(&link_, &link::SerialLink::failed, this, &LinkController::portFailed);
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

// After a whole sequence went out: how many lines, and whether the board answered.
void LinkController::reportTransfer(const char* transfer, int linesSent) {
    showStatus(qText(transferStatus(transfer, linesSent, link_.device().toStdString(), replies_)));
}

void LinkController::setCP() {
    const QString text = widgets_.portBox->text();
    const link::OpenOutcome outcome = link_.open(text);
    if (outcome.result == link::OpenOutcome::Result::Nothing) return;
    if (outcome.result == link::OpenOutcome::Result::Failed) {
        showStatus("Invalid COM port: " + outcome.cause);
        QMessageBox box(QMessageBox::Warning, applicationTitle, QStringLiteral("Invalid COM port"),
                        QMessageBox::Ok, parent_);
        box.setDetailedText(outcome.cause);
        box.exec();
        return;
    }
    portNumber_ = val(text.toStdString());
    QMessageBox box(QMessageBox::NoIcon, applicationTitle, confirmation, QMessageBox::Ok, parent_);
    box.exec();
    // The port may have failed while the message was up.
    if (!link_.isOpen()) return;
    showLinkOpen(true);
}

void LinkController::showLinkOpen(bool open) {
    const auto& w = widgets_;
    for (QWidget* button : {w.update, w.quickUpdate, w.storeEE, w.init, w.verifyEE})
        button->setVisible(open);
    if (open) {
        const QString text = w.portBox->text();
        w.portButton->setText("COM " +
                              (namesDevice(text) ? text.trimmed() : qText(str(portNumber_))));
    } else {
        w.portButton->setText(QStringLiteral("COM Port"));
    }
    w.portBox->setVisible(!open);
    w.portButton->setEnabled(!open);
    w.portCaption->setVisible(!open);
    w.stepUp->setVisible(open);
    w.stepDown->setVisible(open);
    portStatus_->setText(qText(portStatus(open ? link_.device().toStdString() : std::string())));
    if (open) showStatus("Port " + link_.device() + " open");
}

// Words of an undefined plan belong to an earlier one, and a word beyond 32
// bits makes no register line: either way one line under the command's name
// says why, and nothing goes to the board.
bool LinkController::sendable(const QString& command) {
    if (!window_.planDefined()) {
        appendLine(qText(undefinedPlanLine(command.toStdString())));
        return false;
    }
    if (const auto beyond = wordBeyond32Bits(window_.registers())) {
        appendLine(qText(nothingSentLine(command.toStdString(), *beyond)));
        return false;
    }
    return true;
}

// Every transfer: an open port, the plan recalculated, words that can be sent,
// a clear console, the sequence, and the report once it all went out. Each
// word is taken from the window when its turn comes.
bool LinkController::runTransfer(const char* name, Sequence sequence, int linesSent,
                                 WhileHeld whileHeld) {
    if (!link_.isOpen()) return false;
    const bool held = window_.recalculationHeld();
    if (held && whileHeld == WhileHeld::skip) return false;
    if (!held || whileHeld == WhileHeld::recalculate) window_.recalculate();
    if (!sendable(QString::fromLatin1(name))) return false;
    clearConsole();
    if (!sequence(link_, [this] { return window_.registers(); })) return false;
    reportTransfer(name, linesSent);
    return true;
}

void LinkController::updateAll() {
    if (runTransfer("Update all registers", link::sendAllRegisters, int(transferOrder.size()),
                    WhileHeld::sendAsTheyStand))
        window_.enableQuickUpdate(true);
}

void LinkController::quickFreqUpdate() {
    runTransfer("Quick Freq Update", link::sendFrequencyRegisters, 3, WhileHeld::skip);
}

// Per word its line, the store mark and the line again.
void LinkController::storeEE() {
    runTransfer("Store to EE", link::storeAllRegisters, 3 * int(transferOrder.size()),
                WhileHeld::recalculate);
}

// The board's answer collects in the console during the wait, with the
// window's recalculation held; the window then applies what it restores.
void LinkController::initFromEE() {
    if (!link_.isOpen()) return;
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

std::optional<std::string> LinkController::readStoredSet() {
    const auto hold = window_.holdRecalculation();
    clearConsole();
    if (!link::requestStoredSet(link_)) return std::nullopt;
    return widgets_.console->toPlainText().toLatin1().toStdString();
}

// The board's bytes: shown, and counted as replies by their line ends (CR LF
// as one, also when split between two pieces).
void LinkController::received(const QByteArray& bytes) {
    for (const char byte : bytes) {
        if (byte == '\r' || (byte == '\n' && !replyCr_)) ++replies_;
        replyCr_ = byte == '\r';
    }
    appendReceived(bytes);
}

// Asks for the stored set as "Init from EE" does and compares it with the
// words of the plan on screen when the button was pressed. The console shows
// the answer and then the verdict; nothing else in the window changes.
void LinkController::verifyEE() {
    if (!link_.isOpen()) return;
    if (!window_.planDefined()) {
        appendLine("Verify EE: the plan is undefined (the status line says why); nothing compared");
        return;
    }
    const RegisterImage plan = window_.registers();
    clearConsole();
    QByteArray answer;
    const auto collect = connect(&link_, &link::SerialLink::received, this,
                                 [&answer](const QByteArray& bytes) { answer += bytes; });
    const bool answered = link::requestStoredSet(link_);
    disconnect(collect);
    if (!answered) return;
    const auto outcome = verifyAnswer(answer.toStdString(), plan);
    const auto* refusal = std::get_if<VerifyRefusal>(&outcome);
    appendLine(qText(refusal ? refusal->line : verdictLine(std::get<EepromComparison>(outcome))));
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

// Every transfer and read-back starts here, with a clear console and no replies yet.
void LinkController::clearConsole() {
    widgets_.console->clear();
    pendingCr_ = false;
    replies_ = 0;
    replyCr_ = false;
}

void LinkController::portFailed(const QString& message) {
    appendLine(message);
    showStatus(message);
    showLinkOpen(false);
}

void LinkController::shutDown() {
    link_.close();
}

} // namespace kelvane::ui
