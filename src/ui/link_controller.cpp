#include "ui/link_controller.h"

#include <QEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextCursor>

#include "link/port_choice.h"
#include "link/transfers.h"
#include "model/control_help.h"
#include "model/conversions.h"
#include "model/link_status.h"
#include "model/eeprom_verify.h"
#include "model/readback.h"
#include "ui/label_text.h"
#include "ui/main_window.h"
#include "ui/main_window_controls.h"

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

LinkController::LinkController(MainWindow& window)
    : QObject(&window), window_(window), linkStatus_(new QLabel(window.statusBar())),
      portStatus_(new QLabel(window.statusBar())) {
    setObjectName(QStringLiteral("LinkController"));
    for (auto [label, name] : {std::pair{linkStatus_, "LinkStatus"}, {portStatus_, "PortStatus"}}) {
        label->setObjectName(QString::fromLatin1(name));
        label->setAccessibleDescription(QString::fromLatin1(name));
    }
    window.statusBar()->addWidget(linkStatus_, 1);
    window.statusBar()->addPermanentWidget(portStatus_);
    portStatus_->setText(qText(portStatus({})));
    auto& c = window_.controls();
    connect(c.CPNo, &QLineEdit::textChanged, this,
            [&c] { c.SetCP->setText(QStringLiteral("Set")); });
    connect(c.SetCP, &QPushButton::clicked, this, &LinkController::setCP);
    connect(c.Update, &QPushButton::clicked, this, &LinkController::updateAll);
    connect(c.QuickUpdate, &QPushButton::clicked, this, &LinkController::quickFreqUpdate);
    connect(c.StoreEE, &QPushButton::clicked, this, &LinkController::storeEE);
    connect(c.Init, &QPushButton::clicked, this, &LinkController::initFromEE);
    connect(c.VerifyEE, &QPushButton::clicked, this, &LinkController::verifyEE);
    connect(&link_, &link::SerialLink::received, this, &LinkController::received);
    connect(&link_, &link::SerialLink::failed, this, &LinkController::portFailed);
    c.CPNo->installEventFilter(this);
    c.QuickUpdate->installEventFilter(this);
    // Every insert would otherwise keep an undo step: memory growing with
    // every byte the board sends.
    c.Text1->setUndoRedoEnabled(false);
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
    auto& c = window_.controls();
    const QString text = c.CPNo->text();
    const link::OpenOutcome outcome = link_.open(text);
    if (outcome.result == link::OpenOutcome::Result::Nothing) return;
    if (outcome.result == link::OpenOutcome::Result::Failed) {
        showStatus("Invalid COM port: " + outcome.cause);
        QMessageBox box(QMessageBox::Warning, applicationTitle, QStringLiteral("Invalid COM port"),
                        QMessageBox::Ok, &window_);
        box.setDetailedText(outcome.cause);
        box.exec();
        return;
    }
    window_.state().cp = val(text.toStdString());
    QMessageBox box(QMessageBox::NoIcon, applicationTitle, confirmation, QMessageBox::Ok, &window_);
    box.exec();
    // The port may have failed while the message was up.
    if (!link_.isOpen()) return;
    showLinkOpen(true);
}

void LinkController::showLinkOpen(bool open) {
    auto& c = window_.controls();
    for (QWidget* button : {c.Update, c.QuickUpdate, c.StoreEE, c.Init, c.VerifyEE})
        button->setVisible(open);
    if (open) {
        const QString text = c.CPNo->text();
        c.SetCP->setText("COM " +
                         (namesDevice(text) ? text.trimmed() : qText(str(window_.state().cp))));
    } else {
        c.SetCP->setText(QStringLiteral("COM Port"));
    }
    c.CPNo->setVisible(!open);
    c.SetCP->setEnabled(!open);
    c.Label6->setVisible(!open);
    c.QStepUp->setVisible(open);
    c.QStepDn->setVisible(open);
    portStatus_->setText(qText(portStatus(open ? link_.device().toStdString() : std::string())));
    if (open) showStatus("Port " + link_.device() + " open");
}

RegisterImage LinkController::registers() const {
    return window_.state().registers;
}

// Words of an undefined plan belong to an earlier one, and a word beyond 32
// bits makes no register line: either way one line under the command's name
// says why, and nothing goes to the board.
bool LinkController::sendable(const QString& command) {
    if (!window_.planDefined()) {
        appendLine(command + ": the plan is undefined (the status line says why); nothing sent");
        return false;
    }
    if (const auto beyond = wordBeyond32Bits(registers())) {
        appendLine(command + ": " + qText(*beyond) + "; nothing sent");
        return false;
    }
    return true;
}

void LinkController::updateAll() {
    if (!link_.isOpen()) return;
    if (window_.state().notInit != 0) window_.recalculate();
    if (!sendable("Update all registers")) return;
    clearConsole();
    if (link::sendAllRegisters(link_, [this] { return registers(); })) {
        window_.enableQuickUpdate(true);
        reportTransfer("Update all registers", int(transferOrder.size()));
    }
}

void LinkController::quickFreqUpdate() {
    if (window_.state().notInit == 0 || !link_.isOpen()) return;
    window_.recalculate();
    if (!sendable("Quick Freq Update")) return;
    clearConsole();
    if (link::sendFrequencyRegisters(link_, [this] { return registers(); }))
        reportTransfer("Quick Freq Update", 3);
}

void LinkController::storeEE() {
    if (!link_.isOpen()) return;
    window_.recalculate();
    if (!sendable("Store to EE")) return;
    clearConsole();
    // Per word its line, the store mark and the line again.
    if (link::storeAllRegisters(link_, [this] { return registers(); }))
        reportTransfer("Store to EE", 3 * int(transferOrder.size()));
}

// The board's answer collects in Text1 during the wait; the restore then sets
// the controls one by one, in this order, with recalculation held back, so
// that each control's own handler runs exactly as for a user's change.
void LinkController::initFromEE() {
    if (!link_.isOpen()) return;
    auto& c = window_.controls();
    auto& s = window_.state();
    s.notInit = 0;
    clearConsole();
    if (!link::requestStoredSet(link_)) {
        s.notInit = 1;
        return;
    }

    const std::string answer = c.Text1->toPlainText().toLatin1().toStdString();
    const RestoreOutcome outcome =
        restoreFromAnswer(answer, window_.inputs(), window_.planVariables());
    if (const auto* refusal = std::get_if<RestoreRefusal>(&outcome)) {
        s.notInit = 1;
        // An input changed during the wait did not recalculate; nothing is
        // restored now to do it, so the listing replaces the answer here.
        if (window_.recalculationSkipped()) window_.recalculate();
        appendLine(qText(refusal->line));
        showStatus(qText(answer.empty() ? std::string(noReplyStatus) : refusal->line));
        return;
    }
    const Restore& r = std::get<Restore>(outcome);
    const Inputs& in = r.inputs;
    c.Odiv->setValue(in.odiv);
    s.r = r.rField;
    // The R divider shows the R read, unless the doubler read holds R at 1;
    // the bar's own handler sets R to the same value.
    if (!in.doubler) c.Rscroll->setValue(r.rField);
    s.n = r.n;
    s.denom = r.denom;
    s.fract = r.fract;
    c.RefDbl->setChecked(in.doubler); // its handler may replace R
    s.fcomp = r.fcomp;
    s.fres = r.variables.fres;
    c.Res->setText(qText(in.res));
    s.fvco = r.variables.fvco;
    s.fout = r.variables.fout;
    c.Fo->setText(qText(in.fo));
    c.CPGscroll->setValue(in.cpg);
    c.Dither->setValue(in.dither);
    c.Order->setValue(in.order);
    c.Mux->setValue(in.mux);
    c.ExtVCO->setChecked(in.externalVco);
    if (in.externalVco) c.CPP->setChecked(in.cpp);
    c.DivGain->setValue(in.divGain);
    c.OutTerm->setValue(in.outTerm);
    c.VcoGain->setValue(in.vcoGain);
    c.DivGainLabel->setText(qText(r.divGainLabel));
    c.Rlabel->setText(qText(r.rlabel));

    s.notInit = 1;
    window_.recalculate();
    window_.enableQuickUpdate(true);
    showStatus(qText(restoredStatus(c.Fo->text().toStdString())));
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
    const RegisterImage plan = registers();
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

    QPlainTextEdit* console = window_.controls().Text1;
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
    QPlainTextEdit* console = window_.controls().Text1;
    const QString current = console->toPlainText();
    const bool lineStart = current.isEmpty() || current.endsWith('\n');
    appendReceived(((lineStart ? "" : "\n") + line + "\n").toLatin1());
}

// Every transfer and read-back starts here, with a clear console and no replies yet.
void LinkController::clearConsole() {
    window_.controls().Text1->clear();
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
