// What the controls hold, in the model's terms; inputs and a read-back's restore
// set through the controls so that every handler chain runs as it does for a
// user; and the call after every input change.

#include "model/input_table.h"
#include "model/plan_input_rules.h"
#include "ui/label_text.h"
#include "ui/main_window.h"
#include "ui/main_window_controls.h"

namespace kelvane::ui {
namespace {

template <typename Control> Control* control(const QWidget& window, const InputSpec& input) {
    return window.findChild<Control*>(
        QString::fromUtf8(input.objectName.data(), qsizetype(input.objectName.size())));
}

// Sets one input's control as a user would; a box offered only with another
// one checked is checked only then.
void setInput(const QWidget& window, const InputSpec& input, const Inputs& values) {
    if (const auto* text = std::get_if<std::string Inputs::*>(&input.field))
        control<QLineEdit>(window, input)->setText(qText(values.*(*text)));
    else if (const auto* number = std::get_if<int Inputs::*>(&input.field))
        control<QScrollBar>(window, input)->setValue(values.*(*number));
    else {
        const InputSpec* offering = offeringInput(input);
        const bool offered = !offering || values.*std::get<bool Inputs::*>(offering->field);
        control<QCheckBox>(window, input)
            ->setChecked(offered && values.*std::get<bool Inputs::*>(input.field));
    }
}

void setInOrder(const QWidget& window, const Inputs& values) {
    for (const InputSpec* input : inputsInApplyOrder())
        setInput(window, *input, values);
}

} // namespace

Inputs MainWindow::inputs() const {
    Inputs in;
    for (const InputSpec& input : inputTable()) {
        if (const auto* text = std::get_if<std::string Inputs::*>(&input.field))
            in.*(*text) = control<QLineEdit>(*this, input)->text().toStdString();
        else if (const auto* number = std::get_if<int Inputs::*>(&input.field))
            in.*(*number) = control<QScrollBar>(*this, input)->value();
        else
            in.*std::get<bool Inputs::*>(input.field) =
                control<QCheckBox>(*this, input)->isChecked();
    }
    in.rfMultKept = keptMultiplier(in.rfMult, state_.variables.rfMult);
    return in;
}

// A multiplication kept while the box reads as none is typed first, as a user
// would have typed it before the text that reads as none.
void MainWindow::applyInputs(const Inputs& inputs) {
    {
        const auto hold = holdRecalculation();
        setInOrder(*this, Inputs{});
        if (inputs.rfMultKept != Inputs{}.rfMultKept)
            ui_->RFMultText->setText(
                QString::number(inputs.rfMultKept, 'g', QLocale::FloatingPointShortest));
        setInOrder(*this, inputs);
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
    for (const InputSpec& input : inputTable())
        connectInput(input, context, slot);
}

// The change notification of the input's control: a text edited, a scroll
// bar's value, a box toggled.
void MainWindow::connectInput(const InputSpec& input, const QObject* context,
                              const std::function<void()>& slot) {
    if (input.isText())
        connect(control<QLineEdit>(*this, input), &QLineEdit::textChanged, context, slot);
    else if (input.isWholeNumber())
        connect(control<QScrollBar>(*this, input), &QScrollBar::valueChanged, context, slot);
    else
        connect(control<QCheckBox>(*this, input), &QCheckBox::toggled, context, slot);
}

} // namespace kelvane::ui
