#include "ui/modes_controller.h"

#include "modes/wsjt_modes.h"
#include "ui/exp_form.h"
#include "ui/fsk_reg2.h"
#include "ui/main_window.h"
#include "ui/main_window_controls.h"

namespace kelvane::ui {

ModesController::ModesController(MainWindow& window)
    : QObject(&window), window_(window), expForm_(new ExpForm(&window)) {
    auto& c = window.controls();
    connect(c.ChgWSJT, &QScrollBar::valueChanged, this, &ModesController::chgWsjtChanged);
    connect(c.QStepUp, &QPushButton::clicked, this, [this] { step(StepDirection::up); });
    connect(c.QStepDn, &QPushButton::clicked, this, [this] { step(StepDirection::down); });
    connect(c.Export, &QPushButton::clicked, this, &ModesController::exportClicked);
    connect(c.Reg2FSK, &QPushButton::clicked, this, &ModesController::reg2FskClicked);
    connect(&window, &MainWindow::recalculated, this, &ModesController::windowRecalculated);
    // A refused one too: the listing no longer belongs to the inputs on screen.
    connect(&window, &MainWindow::planRefused, expForm_, &QWidget::hide);
}

// Writing Res runs the window's resolution handler, which recalculates.
void ModesController::chgWsjtChanged(int value) {
    const WsjtModeSelection mode = selectWsjtMode(value);
    auto& c = window_.controls();
    c.WSJT->setText(QString::fromStdString(mode.caption));
    c.Res->setText(QString::fromStdString(mode.resText));
}

// The new frequency goes through the text of Fo, whose handler sets Fout from
// it; so every step lands on a 15-digit value and steps back retrace it.
void ModesController::step(StepDirection direction) {
    const WindowState& s = window_.state();
    window_.controls().Fo->setText(
        QString::fromStdString(steppedFrequencyText(s.fout, s.fres, direction)));
    if (s.notInit != 0) emit quickFreqUpdateRequested();
}

// A listing always matches the plan: when the recalculation refuses the plan,
// the words in the state belong to an earlier one, and the window says so
// instead of listing them under the new texts.
void ModesController::exportClicked() {
    bool planDefined = true;
    if (window_.state().notInit != 0) {
        planRecalculated_ = false;
        window_.recalculate();
        planDefined = planRecalculated_;
    }
    const GeneratedText listing =
        planDefined ? picListing(window_.inputs(), window_.planVariables(), window_.planInForce(),
                                 window_.state().registers)
                    : GeneratedText{false, "No plan for these inputs (see the status line); "
                                           "correct them to get a PIC listing"};
    expForm_->setListing(listing.text);
    expForm_->show();
    expForm_->raise();
    expForm_->activateWindow();
}

void ModesController::reg2FskClicked() {
    if (!fskReg2_) {
        fskReg2_ = new FSKReg2(
            // Nothing old while the plan is refused: its variables belong to an earlier one.
            [this](const std::string& shiftText) {
                if (!window_.planDefined()) return fskWithoutPlan;
                return fskReport(window_.inputs(), window_.planVariables(), window_.planInForce(),
                                 shiftText);
            },
            &window_);
    }
    fskReg2_->show();
    fskReg2_->raise();
    fskReg2_->activateWindow();
}

// Every recalculation makes an export on screen out of date.
void ModesController::windowRecalculated() {
    planRecalculated_ = true;
    expForm_->hide();
}

} // namespace kelvane::ui
