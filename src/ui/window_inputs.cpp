// The window's state in the model's terms: what the controls hold, the plan
// variables the handlers keep, and the plan the last defined recalculation
// (or the read-back) left in the state; and the inputs set through the
// controls so that every handler chain runs as it does for a user.

#include "ui/label_text.h"
#include "ui/main_window.h"
#include "ui/main_window_controls.h"

namespace kelvane::ui {
namespace {

// The reference and resolution before R and the doubler, the fix before the
// divider it governs, the external VCO before the polarity it offers, and the
// output frequency last, so that the divider's rewrite of Fo gives way to it.
void setInOrder(Ui::LMX2541& c, const Inputs& i) {
    c.Fr->setText(qText(i.fr));
    c.Res->setText(qText(i.res));
    c.RFMultText->setText(qText(i.rfMult));
    c.Rscroll->setValue(i.r);
    c.RefDbl->setChecked(i.doubler);
    c.LockFo->setChecked(i.fixFout);
    c.Odiv->setValue(i.odiv);
    c.ExtVCO->setChecked(i.externalVco);
    // The polarity counts, and is offered, only with the external VCO.
    c.CPP->setChecked(i.externalVco && i.cpp);
    c.CPGscroll->setValue(i.cpg);
    c.Dither->setValue(i.dither);
    c.Order->setValue(i.order);
    c.Mux->setValue(i.mux);
    c.OutTerm->setValue(i.outTerm);
    c.VcoGain->setValue(i.vcoGain);
    c.DivGain->setValue(i.divGain);
    c.Fo->setText(qText(i.fo));
}

} // namespace

Inputs MainWindow::inputs() const {
    const auto& c = *ui_;
    Inputs in;
    in.fo = c.Fo->text().toStdString();
    in.fr = c.Fr->text().toStdString();
    in.res = c.Res->text().toStdString();
    in.rfMult = c.RFMultText->text().toStdString();
    in.r = c.Rscroll->value();
    in.odiv = c.Odiv->value();
    in.cpg = c.CPGscroll->value();
    in.dither = c.Dither->value();
    in.order = c.Order->value();
    in.mux = c.Mux->value();
    in.outTerm = c.OutTerm->value();
    in.vcoGain = c.VcoGain->value();
    in.divGain = c.DivGain->value();
    in.doubler = c.RefDbl->isChecked();
    in.fixFout = c.LockFo->isChecked();
    in.externalVco = c.ExtVCO->isChecked();
    in.cpp = c.CPP->isChecked();
    return in;
}

PlanVariables MainWindow::planVariables() const {
    return {state_.fout, state_.fvco, state_.fres, state_.r, state_.rfMult};
}

Plan MainWindow::planInForce() const {
    return {state_.fcomp, state_.denom, state_.effN,  state_.n,
            state_.fract, state_.fcorr, state_.ferror};
}

void MainWindow::applyInputs(const Inputs& inputs) {
    state_.notInit = 0;
    setInOrder(*ui_, Inputs{});
    setInOrder(*ui_, inputs);
    state_.notInit = 1;
    recalculate();
}

} // namespace kelvane::ui
