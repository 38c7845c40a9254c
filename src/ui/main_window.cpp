#include "ui/main_window.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>

#include "model/conversions.h"
#include "model/input_table.h"
#include "model/plan.h"
#include "model/plan_hints.h"
#include "model/recalculation.h"
#include "model/setting_captions.h"
#include "ui/elided_label.h"
#include "ui/keyboard_cues.h"
#include "ui/label_text.h"
#include "ui/link_controller.h"
#include "ui/main_window_controls.h"
#include "ui/modes_controller.h"
#include "ui/setup_controller.h"
#include "ui/text_box.h"
#include "ui/tools_menu.h"
#include "ui/window_keyboard.h"
#include "window_text/control_help.h"
#include "window_text/link_status.h"

namespace kelvane::ui {
namespace {

// Keeps a label as wide as the widest text it can show, so that the layout
// does not jump while a setting is scrolled through its values.
template <typename Texts> void reserveWidth(QLabel* label, const Texts& texts) {
    const QFontMetrics metrics(label->font());
    int widest = 0;
    for (const auto& text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(QString(text)));
    label->setMinimumWidth(widest + label->margin() * 2);
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::LMX2541>()) {
    showKeyboardCues();
    ui_->setupUi(this);
    prepareControls();
    connectHandlers();
    modes_ = new ModesController({ui_->ChgWSJT, ui_->WSJT, ui_->QStepUp, ui_->QStepDn, ui_->Export,
                                  ui_->Reg2FSK, ui_->Fo, ui_->Res},
                                 static_cast<ModesWindow&>(*this), this);
    connect(this, &MainWindow::recalculated, modes_, &ModesController::windowRecalculated);
    connect(this, &MainWindow::planRefused, modes_, &ModesController::windowRefusedPlan);
    startUp();
    session_ = new session::BoardSession(this);
    setups_ = new SetupController(*this, *this);
    link_ = new LinkController({ui_->CPNo, ui_->SetCP, ui_->Label6, ui_->Update, ui_->QuickUpdate,
                                ui_->StoreEE, ui_->Init, ui_->VerifyEE, ui_->QStepUp, ui_->QStepDn,
                                ui_->Text1, statusBar(), menuBar()},
                               static_cast<LinkWindow&>(*this), *session_, this);
    tools_ =
        new ToolsMenu(*this, static_cast<RunWindow&>(*this), static_cast<CalibrateWindow&>(*this));
    // A long status line is cut on screen rather than widening the window.
    elideWhenLong(planStatus_);
    elideWhenLong(statusBar()->findChild<QLabel*>(QStringLiteral("LinkStatus")));
    // Each quick step ends with the quick update of the three frequency words.
    connect(modes_, &ModesController::quickFreqUpdateRequested, link_, &LinkController::quickStep);
    connect(session_, &session::BoardSession::activityChanged, this,
            &MainWindow::boardActivityChanged);
    // Closing during a run waited for it to stop.
    connect(session_, &session::BoardSession::runEnded, this, [this] {
        if (!closeAfterRun_) return;
        closeAfterRun_ = false;
        QTimer::singleShot(0, this, &QWidget::close);
    });

    // Outside tools and tests find every control, the menus' too, by its name;
    // a control with no caption of its own also carries a readable name from
    // the form.
    for (QWidget* widget : findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")))
            widget->setAccessibleDescription(name);
    }
    setAccessibleDescription(objectName());
}

MainWindow::~MainWindow() = default;

const Ui::LMX2541& MainWindow::controls() const {
    return *ui_;
}

const WindowState& MainWindow::state() const {
    return state_;
}

RecalculationHold MainWindow::holdRecalculation() {
    return RecalculationHold(holds_, recalculationSkipped_);
}

ModesController& MainWindow::modes() {
    return *modes_;
}

LinkController& MainWindow::linkController() {
    return *link_;
}

SetupController& MainWindow::setups() {
    return *setups_;
}

ToolsMenu& MainWindow::tools() {
    return *tools_;
}

void MainWindow::sendAllIfOpen() {
    if (portOpen())
        link_->updateAll();
    else
        showStatus(qText(nothingSentLine("Update all registers", "the port is not open")));
}

bool MainWindow::portOpen() const {
    return session_->isOpen();
}

QString MainWindow::boardBusyReason() const {
    return session_->busyReason();
}

bool MainWindow::runInProgress() const {
    return session_->activity() == session::BoardSession::Activity::Run;
}

void MainWindow::showStatus(const QString& line) {
    link_->showStatus(line);
}

QString MainWindow::referenceText() const {
    return ui_->Fr->text();
}

void MainWindow::setReference(const QString& text) {
    ui_->Fr->setText(text);
}

void MainWindow::showRunStep(const std::string& foText) {
    ui_->Fo->setText(qText(foText));
}

void MainWindow::boardActivityChanged() {
    const bool running = runInProgress();
    for (QWidget* locked :
         std::initializer_list<QWidget*>{ui_->PlanInputs, ui_->LoopSettings, ui_->ModeStepping,
                                         ui_->Update, ui_->StoreEE, ui_->Init, ui_->VerifyEE})
        locked->setEnabled(!running);
    ui_->QuickUpdate->setEnabled(quickAllowed_ && !running);
}

void MainWindow::prepareControls() {
    setWindowTitle(QStringLiteral("Kelvane " KELVANE_VERSION));

    // The listing's columns line up only in a fixed-pitch font.
    const QFont fixed = listingFont();
    ui_->Text1->setFont(fixed);
    // The board's replies wrap at the box's width; the listing's lines fit it.
    ui_->Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    const QFontMetrics fixedMetrics(fixed);
    const int listingWidth = fixedMetrics.horizontalAdvance(QString(46, QLatin1Char('0')));
    ui_->Text1->setMinimumSize(listingWidth + ui_->Text1->verticalScrollBar()->sizeHint().width() +
                                   ui_->Text1->frameWidth() * 2 + 8,
                               fixedMetrics.lineSpacing() * 8);

    // A bare scroll bar is all arrows; a track of one text line between them
    // gives the track clicks room, at any font size. A thumb drag notifies
    // once, where it ends: otherwise every value passed would run the handler,
    // and the output divider's handler would round Fo anew at each one.
    // Arrows, track clicks, keys and the wheel still notify at once.
    QList<QScrollBar*> bars{ui_->ChgWSJT};
    for (const InputSpec& input : inputTable())
        if (input.isWholeNumber())
            bars << findChild<QScrollBar*>(
                QString::fromUtf8(input.objectName.data(), qsizetype(input.objectName.size())));
    for (QScrollBar* bar : bars) {
        bar->setFixedHeight(bar->sizeHint().height() + bar->fontMetrics().height());
        bar->setTracking(false);
    }

    reserveWidth(ui_->MuxCaption, muxCaptions);
    reserveWidth(ui_->DitherLabel, ditherCaptions);
    reserveWidth(ui_->ChipType, std::array{"Invalid Frequency Range", "LMX2541-2060E 2380E "});
    // The captions beside the inputs share a column: the longest of each keeps
    // the boxes and bars where they are when a value changes.
    reserveWidth(ui_->OPResLabel, std::array{"O/P Resolution  Hz, (set denom)",
                                             "Divided O/P Resolution  Hz", "O/P Resolution  Hz"});
    reserveWidth(ui_->Rlabel, std::array{"R divider 4096"});
    reserveWidth(ui_->ODivlabel, std::array{"Output Divider 63"});
    reserveWidth(ui_->CPGlabel, std::array{" 32 "});
    reserveWidth(ui_->OrderLabel, std::array{"Order 4"});
    for (QLabel* gain : {ui_->OutTermLabel, ui_->VcoGainLabel, ui_->DivGainLabel})
        reserveWidth(gain, std::array{" 15 Out Term", " 15 VCO Gain", " 15 Div Gain"});
    reserveWidth(ui_->Fc, std::array{"10000. kHz", " 2000000.000 kHz"});

    planStatus_ = new QLabel(statusBar());
    planStatus_->setObjectName(QStringLiteral("PlanStatus"));
    statusBar()->addWidget(planStatus_, 1);

    for (QWidget* widget : findChildren<QWidget*>()) {
        const auto help = controlHelp(widget->objectName().toStdString());
        if (!help.empty()) widget->setToolTip(QString::fromUtf8(help.data(), help.size()));
    }
    prepareKeyboard(*ui_);
    keepPlanPanelLight();
    scrollWhenSmall();

    ui_->Res->installEventFilter(this);
}

// The plan's colours (blue, red, dark green) are chosen for a light panel;
// under a dark system palette the panel keeps a light background of its own.
void MainWindow::keepPlanPanelLight() {
    QPalette light = ui_->PlanDisplays->palette();
    light.setColor(QPalette::Window, QColor(0xF5, 0xF5, 0xF2));
    light.setColor(QPalette::WindowText, Qt::black);
    light.setColor(QPalette::Text, Qt::black);
    ui_->PlanDisplays->setPalette(light);
    ui_->PlanDisplays->setAutoFillBackground(true);
}

// On a screen smaller than the window's content the content scrolls instead of
// falling off the bottom; the window opens no larger than the screen allows.
void MainWindow::scrollWhenSmall() {
    QWidget* content = takeCentralWidget();
    const QSize wanted = content->sizeHint();
    auto* area = new QScrollArea(this);
    area->setObjectName(QStringLiteral("WindowScroll"));
    area->setAccessibleDescription(area->objectName());
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(content);
    setCentralWidget(area);
    QSize size = wanted + QSize(0, statusBar()->sizeHint().height());
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.95);
    resize(size);
}

void MainWindow::connectHandlers() {
    for (const InputSpec& input : inputTable())
        if (const Handler handler = inputHandler(input.key))
            connectInput(input, this, [this, handler] { (this->*handler)(); });
}

// Position first, then the variables from the initial texts and the constant
// words, and one recalculation once the window is ready.
void MainWindow::startUp() {
    placement_.restore(*this, size());

    state_.variables.fout = val(ui_->Fo->text().toStdString());
    state_.variables.fvco = val(ui_->Fv->text().toStdString());
    state_.variables.r = 1;
    state_.plan.fcomp = 10;
    state_.variables.fres = 10;
    state_.variables.rfMult = 1.0;
    state_.registers[7] = reg7Constant;
    state_.registers[12] = reg12Constant;
    state_.registers[9] = reg9Constant;
    state_.registers[8] = reg8Constant;
    state_.registers[5] = reg5Constant;

    startedUp_ = true;
    recalculate();
}

// The steps' own state stays under the stepping group, which a run disables.
void MainWindow::enableQuickUpdate(bool enabled) {
    quickAllowed_ = enabled;
    ui_->QuickUpdate->setEnabled(enabled && !(session_ && runInProgress()));
    for (QWidget* button : {ui_->QStepUp, ui_->QStepDn})
        button->setEnabled(enabled);
}

void MainWindow::recalculateIfReady() {
    if (!recalculationHeld())
        recalculate();
    else
        recalculationSkipped_ = true;
}

void MainWindow::recalculate() {
    recalculationSkipped_ = false;
    const auto& c = *ui_;
    const RecalculationOutcome outcome = kelvane::recalculate(inputs(), planVariables());
    planDefined_ = !std::holds_alternative<RefusedPlan>(outcome);
    if (const auto* refused = std::get_if<RefusedPlan>(&outcome)) {
        showRefusal(refused->reason, refused->dnCaption ? &*refused->dnCaption : nullptr);
        emit planRefused();
        return;
    }
    const auto& result = std::get<Recalculation>(outcome);

    state_.plan = result.plan;
    state_.registers = result.registers;

    const auto& captions = result.captions;
    c.Fv->setText(qText(captions.fv));
    planFc_ = qText(captions.fc);
    c.Fc->setText(planFc_);
    c.Dn->setText(qText(captions.dn));
    setTextColour(c.Dn, captions.dnColour);
    c.Frlabel->setText(qText(captions.frlabel));
    c.Nlabel->setText(qText(captions.nlabel));
    c.StepLbl->setText(qText(captions.stepLbl));
    c.OPerr->setText(qText(captions.operr));
    c.Text1->setPlainText(qText(result.listing));
    c.ChipType->setText(qText(captions.chipType));
    setTextColour(c.ChipType, captions.chipTypeColour);
    c.VcoCoverage->setFrequency(state_.variables.fvco);
    showPlanHints(result.plan);

    emit recalculated();
}

// Red is not the only cue: what a red D or "Invalid Frequency Range" means,
// and a box whose text is read only in part, go to the status line and to the
// display's tooltip.
void MainWindow::showPlanHints(const Plan& plan) {
    const auto& c = *ui_;
    const std::string denominator = denominatorHint(plan.denom);
    const std::string vco = vcoRangeHint(state_.variables.fvco, state_.variables.fout,
                                         state_.variables.rfMult, c.Odiv->value());
    std::vector<std::string> hints{denominator, vco};
    const Inputs typed = inputs();
    for (const InputSpec& input : inputTable()) {
        if (!input.isText()) continue;
        const std::string partly =
            partialNumberHint(typed.*std::get<std::string Inputs::*>(input.field));
        if (!partly.empty()) hints.push_back(std::string(input.hintName) + ": " + partly);
    }
    QStringList shown;
    for (const auto& hint : hints)
        if (!hint.empty()) shown << qText(hint);
    planStatus_->setText(shown.join(QStringLiteral("; ")));

    auto withCue = [](std::string_view help, const std::string& cue) {
        QString text = QString::fromUtf8(help.data(), help.size());
        return cue.empty() ? text : qText(cue) + "\n\n" + text;
    };
    c.Dn->setToolTip(withCue(controlHelp("Dn"), denominator));
    c.ChipType->setToolTip(withCue(controlHelp("ChipType"), vco));
}

// An undefined plan composes nothing: every display and word keeps the last
// defined plan (Fc too, over the reference handler's preview), D shows what
// made the plan fail, and the status line says why until the next defined plan.
void MainWindow::showRefusal(const std::string& reason, const std::string* dnCaption) {
    ui_->Fc->setText(planFc_);
    if (dnCaption) ui_->Dn->setText(qText(*dnCaption));
    setTextColour(ui_->Dn, colours::red);
    planStatus_->setText(qText(reason));
}

// Closing during a transfer or a read-back stops it there: nothing more is
// sent. A run stops after its step's lines, as Stop does, and the window
// closes once it has.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (runInProgress()) {
        closeAfterRun_ = true;
        session_->close();
        event->ignore();
        return;
    }
    link_->shutDown();
    placement_.save(*this);
    QMainWindow::closeEvent(event);
}

// A click into Res is a left-button click; the right button opens the box's
// context menu.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->Res && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        resClicked();
    return QMainWindow::eventFilter(watched, event);
}

} // namespace kelvane::ui
