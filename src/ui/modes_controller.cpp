#include "ui/modes_controller.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "export/pic_listing.h"
#include "modes/fsk_report.h"
#include "modes/wsjt_modes.h"
#include "ui/export_window.h"
#include "ui/fsk_window.h"
#include "ui/modes_window.h"

namespace kelvane::ui {

ModesController::ModesController(const ModesWidgets& widgets, ModesWindow& window, QWidget* parent)
    : QObject(parent), widgets_(widgets), window_(window), parent_(parent),
      exportWindow_(new ExportWindow(parent)) {
    const auto& w = widgets_;
    connect(w.modeSelector, &QScrollBar::valueChanged, this, &ModesController::chgWsjtChanged);
    connect(w.stepUp, &QPushButton::clicked, this, [this] { step(StepDirection::up); });
    connect(w.stepDown, &QPushButton::clicked, this, [this] { step(StepDirection::down); });
    connect(w.exportButton, &QPushButton::clicked, this, &ModesController::exportClicked);
    connect(w.fskButton, &QPushButton::clicked, this, &ModesController::reg2FskClicked);
}

// Writing Res runs the window's resolution handler, which recalculates.
void ModesController::chgWsjtChanged(int value) {
    const WsjtModeSelection mode = selectWsjtMode(value);
    widgets_.modeCaption->setText(QString::fromStdString(mode.caption));
    widgets_.res->setText(QString::fromStdString(mode.resText));
}

// The new frequency goes through the text of Fo, whose handler sets fout from
// it, so every step lands on a 15-digit value and steps back retrace it.
void ModesController::step(StepDirection direction) {
    const PlanVariables variables = window_.planVariables();
    widgets_.fo->setText(
        QString::fromStdString(steppedFrequencyText(variables.fout, variables.fres, direction)));
    if (!window_.recalculationHeld()) emit quickFreqUpdateRequested();
}

// A listing always matches the plan: when the recalculation refuses the plan,
// the window's words belong to an earlier one, and the window says so
// instead of listing them under the new texts.
void ModesController::exportClicked() {
    bool planDefined = true;
    if (!window_.recalculationHeld()) {
        planRecalculated_ = false;
        window_.recalculate();
        planDefined = planRecalculated_;
    }
    const GeneratedText listing = planDefined
                                      ? picListing(window_.inputs(), window_.planVariables(),
                                                   window_.planInForce(), window_.registers())
                                      : picListingWithoutPlan;
    exportWindow_->setListing(listing.text);
    exportWindow_->show();
    exportWindow_->raise();
    exportWindow_->activateWindow();
}

void ModesController::reg2FskClicked() {
    if (!fskWindow_) {
        fskWindow_ = new FskWindow(
            // Nothing old while the plan is refused: its variables belong to an earlier one.
            [this](const std::string& shiftText) {
                if (!window_.planDefined()) return fskWithoutPlan;
                return fskReport(window_.inputs(), window_.planVariables(), window_.planInForce(),
                                 shiftText);
            },
            parent_);
    }
    fskWindow_->show();
    fskWindow_->raise();
    fskWindow_->activateWindow();
}

void ModesController::windowRecalculated() {
    planRecalculated_ = true;
    exportWindow_->hide();
}

void ModesController::windowRefusedPlan() {
    exportWindow_->hide();
}

} // namespace kelvane::ui
