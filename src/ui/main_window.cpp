#include "ui/main_window.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QFontDatabase>
#include <QStatusBar>

#include "model/conversions.h"
#include "model/plan.h"
#include "model/recalculation.h"
#include "model/setting_captions.h"
#include "ui/label_text.h"
#include "ui/link_controller.h"
#include "ui/main_window_controls.h"
#include "ui/modes_controller.h"

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
    ui_->setupUi(this);
    prepareControls();
    connectHandlers();
    modes_ = new ModesController(*this);
    startUp();
    link_ = new LinkController(*this);
    // Each quick step ends with the quick update of the three frequency words.
    connect(modes_, &ModesController::quickFreqUpdateRequested, link_,
            &LinkController::quickFreqUpdate);
}

MainWindow::~MainWindow() = default;

Ui::LMX2541& MainWindow::controls() {
    return *ui_;
}

WindowState& MainWindow::state() {
    return state_;
}

ModesController& MainWindow::modes() {
    return *modes_;
}

LinkController& MainWindow::linkController() {
    return *link_;
}

void MainWindow::prepareControls() {
    setWindowTitle(QStringLiteral("Kelvane " KELVANE_VERSION));

    // The listing's columns line up only in a fixed-pitch font.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    ui_->Text1->setFont(fixed);
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
    for (QScrollBar* bar : std::initializer_list<QScrollBar*>{
             ui_->Rscroll, ui_->Odiv, ui_->CPGscroll, ui_->Dither, ui_->Order, ui_->Mux,
             ui_->OutTerm, ui_->VcoGain, ui_->DivGain, ui_->ChgWSJT}) {
        bar->setFixedHeight(bar->sizeHint().height() + bar->fontMetrics().height());
        bar->setTracking(false);
    }

    reserveWidth(ui_->MuxCaption, muxCaptions);
    reserveWidth(ui_->DitherLabel, ditherCaptions);
    reserveWidth(ui_->ChipType, std::array{"Invalid Frequency Range", "LMX2541-2060E 2380E "});

    planStatus_ = new QLabel(statusBar());
    planStatus_->setObjectName(QStringLiteral("PlanStatus"));
    statusBar()->addWidget(planStatus_, 1);

    // Outside tools and tests find every control by its name; a control with
    // no caption of its own also carries a readable name from the form.
    for (QWidget* widget : findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")))
            widget->setAccessibleDescription(name);
    }
    setAccessibleDescription(objectName());

    ui_->Res->installEventFilter(this);
}

void MainWindow::connectHandlers() {
    auto& c = *ui_;
    connect(c.Fo, &QLineEdit::textChanged, this, &MainWindow::foChanged);
    connect(c.Fr, &QLineEdit::textChanged, this, &MainWindow::frChanged);
    connect(c.Res, &QLineEdit::textChanged, this, &MainWindow::resChanged);
    connect(c.RFMultText, &QLineEdit::textChanged, this, &MainWindow::rfMultTextChanged);
    connect(c.Rscroll, &QScrollBar::valueChanged, this, &MainWindow::rscrollChanged);
    connect(c.RefDbl, &QCheckBox::toggled, this, &MainWindow::refDblToggled);
    connect(c.Odiv, &QScrollBar::valueChanged, this, &MainWindow::odivChanged);
    connect(c.ExtVCO, &QCheckBox::toggled, this, &MainWindow::extVcoToggled);

    connect(c.CPGscroll, &QScrollBar::valueChanged, this, &MainWindow::cpgScrollChanged);
    connect(c.CPP, &QCheckBox::toggled, this, &MainWindow::cppToggled);
    connect(c.Dither, &QScrollBar::valueChanged, this, &MainWindow::ditherChanged);
    connect(c.Order, &QScrollBar::valueChanged, this, &MainWindow::orderChanged);
    connect(c.Mux, &QScrollBar::valueChanged, this, &MainWindow::muxChanged);
    connect(c.OutTerm, &QScrollBar::valueChanged, this, &MainWindow::outTermChanged);
    connect(c.VcoGain, &QScrollBar::valueChanged, this, &MainWindow::vcoGainChanged);
    connect(c.DivGain, &QScrollBar::valueChanged, this, &MainWindow::divGainChanged);
}

// Position first, then the variables from the initial texts and the constant
// words, and one recalculation once the window is ready.
void MainWindow::startUp() {
    placement_.restore(*this, sizeHint());

    state_.cp = 0;
    state_.fout = val(ui_->Fo->text().toStdString());
    state_.fvco = val(ui_->Fv->text().toStdString());
    state_.r = 1;
    state_.fcomp = 10;
    state_.fres = 10;
    state_.rfMult = 1.0;
    state_.registers[7] = reg7Constant;
    state_.registers[12] = reg12Constant;
    state_.registers[9] = reg9Constant;
    state_.registers[8] = reg8Constant;
    state_.registers[5] = reg5Constant;

    state_.notInit = 1;
    recalculate();
}

void MainWindow::enableQuickUpdate(bool enabled) {
    for (QWidget* button : {ui_->QuickUpdate, ui_->QStepUp, ui_->QStepDn})
        button->setEnabled(enabled);
}

void MainWindow::recalculateIfReady() {
    if (state_.notInit != 0)
        recalculate();
    else
        recalculationSkipped_ = true;
}

void MainWindow::recalculate() {
    recalculationSkipped_ = false;
    const auto& c = *ui_;
    PlanInputs inputs;
    inputs.foText = c.Fo->text().toStdString();
    inputs.frText = c.Fr->text().toStdString();
    inputs.r = state_.r;
    inputs.doubler = c.RefDbl->isChecked();
    inputs.odiv = c.Odiv->value();
    inputs.fvco = state_.fvco;
    inputs.fres = state_.fres;
    inputs.rfMult = state_.rfMult;

    LoopSettings settings;
    settings.chargePumpGain = c.CPGscroll->value();
    settings.chargePumpPositive = c.CPP->isChecked();
    settings.dither = c.Dither->value();
    settings.order = c.Order->value();
    settings.mux = c.Mux->value();
    settings.outTerm = c.OutTerm->value();
    settings.vcoGain = c.VcoGain->value();
    settings.divGain = c.DivGain->value();
    settings.externalVco = c.ExtVCO->isChecked();

    const RecalculationOutcome outcome = kelvane::recalculate(inputs, settings);
    planDefined_ = !std::holds_alternative<RefusedPlan>(outcome);
    if (const auto* refused = std::get_if<RefusedPlan>(&outcome)) {
        showRefusal(refused->reason, refused->dnCaption ? &*refused->dnCaption : nullptr);
        emit planRefused();
        return;
    }
    const auto& result = std::get<Recalculation>(outcome);

    state_.fcomp = result.plan.fcomp;
    state_.denom = result.plan.denom;
    state_.effN = result.plan.effN;
    state_.n = result.plan.n;
    state_.fract = result.plan.fract;
    state_.fcorr = result.plan.fcorr;
    state_.ferror = result.plan.ferror;
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
    c.VcoCoverage->setFrequency(state_.fvco);
    planStatus_->clear();

    emit recalculated();
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

// Closing during a transfer or a read-back stops it there: nothing more is sent.
void MainWindow::closeEvent(QCloseEvent* event) {
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
