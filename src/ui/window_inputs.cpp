// What the controls hold, in the model's terms; inputs and a read-back's restore
// set through the controls so that every handler chain runs as it does for a
// user; and the call after every input change.

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

void MainWindow::applyInputs(const Inputs& inputs) {
    {
        const auto hold = holdRecalculation();
        setInOrder(*ui_, Inputs{});
        setInOrder(*ui_, inputs);
    }
    recalculateIfReady();
}

void MainWindow::applyRestore(const Restore& r) {
    {
        const auto hold = holdRecalculation();
        auto& c = *ui_;
        auto& variables = state_.variables;
        const Inputs& in = r.inputs;
        c.Odiv->setValue(in.odiv);
        variables.r = r.rField;
        // The R divider shows the R read, unless the doubler read holds R at 1;
        // the bar's own handler sets R to the same value.
        if (!in.doubler) c.Rscroll->setValue(r.rField);
        state_.plan.n = r.n;
        state_.plan.denom = r.denom;
        state_.plan.fract = r.fract;
        c.RefDbl->setChecked(in.doubler); // its handler may replace R
        state_.plan.fcomp = r.fcomp;
        variables.fres = r.variables.fres;
        c.Res->setText(qText(in.res));
        variables.fvco = r.variables.fvco;
        variables.fout = r.variables.fout;
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
    }
    recalculateIfReady();
    enableQuickUpdate(true);
}

void MainWindow::onInputChanged(QObject* context, const std::function<void()>& slot) {
    auto& c = *ui_;
    for (QLineEdit* box : std::initializer_list<QLineEdit*>{c.Fo, c.Fr, c.Res, c.RFMultText})
        connect(box, &QLineEdit::textChanged, context, slot);
    for (QScrollBar* bar :
         std::initializer_list<QScrollBar*>{c.Rscroll, c.Odiv, c.CPGscroll, c.Dither, c.Order,
                                            c.Mux, c.OutTerm, c.VcoGain, c.DivGain})
        connect(bar, &QScrollBar::valueChanged, context, slot);
    for (QCheckBox* box : std::initializer_list<QCheckBox*>{c.RefDbl, c.LockFo, c.ExtVCO, c.CPP})
        connect(box, &QCheckBox::toggled, context, slot);
}

} // namespace kelvane::ui
