// The window's state in the model's terms: what the controls hold, the plan
// variables the handlers keep, and the plan the last defined recalculation
// (or the read-back) left in the state.

#include "ui/main_window.h"
#include "ui/main_window_controls.h"

namespace kelvane::ui {

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

} // namespace kelvane::ui
