// The handlers of the frequency-plan inputs and of the loop and output
// settings. Each sets the window's variables and the captions beside its
// control from the model's rules, then recalculates when the window is ready.

#include "model/conversions.h"
#include "model/plan_input_rules.h"
#include "model/setting_captions.h"
#include "ui/label_text.h"
#include "ui/main_window.h"
#include "ui/main_window_controls.h"

namespace kelvane::ui {

MainWindow::Handler MainWindow::inputHandler(std::string_view key) {
    static constexpr std::pair<std::string_view, Handler> handlers[] = {
        {"fo", &MainWindow::foChanged},           {"fr", &MainWindow::frChanged},
        {"res", &MainWindow::resChanged},         {"rfmult", &MainWindow::rfMultTextChanged},
        {"r", &MainWindow::rscrollChanged},       {"doubler", &MainWindow::refDblToggled},
        {"odiv", &MainWindow::odivChanged},       {"ext-vco", &MainWindow::extVcoToggled},
        {"cpg", &MainWindow::cpgScrollChanged},   {"cpp", &MainWindow::cppToggled},
        {"dither", &MainWindow::ditherChanged},   {"order", &MainWindow::orderChanged},
        {"mux", &MainWindow::muxChanged},         {"outterm", &MainWindow::outTermChanged},
        {"vcogain", &MainWindow::vcoGainChanged}, {"divgain", &MainWindow::divGainChanged},
        // "fix-fout" has none: the divider's handler reads the box.
    };
    for (const auto& [name, handler] : handlers)
        if (name == key) return handler;
    return nullptr;
}

void MainWindow::foChanged() {
    state_.variables.fout = val(ui_->Fo->text().toStdString());
    state_.variables.fvco =
        vcoFrequency(state_.variables.fout, ui_->Odiv->value(), state_.variables.rfMult);
    recalculateIfReady();
}

void MainWindow::frChanged() {
    ui_->Fc->setText(
        qText(comparisonPreviewCaption(ui_->Fr->text().toStdString(), state_.variables.r)));
    recalculateIfReady();
}

void MainWindow::resChanged() {
    state_.variables.fres = resolutionFrom(ui_->Res->text().toStdString());
    recalculateIfReady();
}

// A click into the resolution box means the user sets an MFSK tone spacing by
// hand; nothing else changes.
void MainWindow::resClicked() {
    ui_->WSJT->setText(QStringLiteral("MFSK Mode"));
}

void MainWindow::rfMultTextChanged() {
    state_.variables.rfMult =
        multiplierFrom(ui_->RFMultText->text().toStdString(), state_.variables.rfMult);
    state_.variables.fvco =
        vcoFrequency(state_.variables.fout, ui_->Odiv->value(), state_.variables.rfMult);
    recalculateIfReady();
}

void MainWindow::rscrollChanged() {
    state_.variables.r = ui_->Rscroll->value();
    ui_->Rlabel->setText(qText(rDividerCaption(state_.variables.r)));
    recalculateIfReady();
}

// With the doubler on, R is fixed at 1; the scroll bar keeps its value so that
// clearing the doubler brings R back.
void MainWindow::refDblToggled() {
    if (ui_->RefDbl->isChecked()) {
        state_.variables.r = 1;
        ui_->Rlabel->hide();
        ui_->Rscroll->hide();
    } else {
        ui_->Rlabel->show();
        ui_->Rscroll->show();
        state_.variables.r = ui_->Rscroll->value();
        ui_->Rlabel->setText(qText(rDividerCaption(state_.variables.r)));
    }
    recalculateIfReady();
}

// Either the output frequency stays and the VCO moves (LockFo), or the VCO
// stays and the output follows: writing Fo runs its handler, which takes the
// rounded text as the new output frequency.
void MainWindow::odivChanged() {
    const int divider = ui_->Odiv->value();
    ui_->ODivlabel->setText(qText(outputDividerCaption(divider)));
    if (ui_->LockFo->isChecked())
        state_.variables.fvco =
            vcoFrequency(state_.variables.fout, divider, state_.variables.rfMult);
    else
        ui_->Fo->setText(
            qText(dividedOutputText(state_.variables.fvco, divider, state_.variables.rfMult)));
    ui_->OPResLabel->setText(qText(outputResolutionCaption(divider)));
    recalculateIfReady();
    // The quick update sends only the frequency words; a new divider also
    // changes registers 4 and 13, which only a full update sends.
    enableQuickUpdate(false);
}

// The charge pump polarity is offered only with an external VCO; leaving it
// clears the polarity first, which runs the polarity box's own handler.
void MainWindow::extVcoToggled() {
    if (!ui_->ExtVCO->isChecked()) {
        ui_->CPP->setChecked(false);
        ui_->CPP->hide();
    } else {
        ui_->CPP->show();
    }
    recalculateIfReady();
}

void MainWindow::cpgScrollChanged() {
    ui_->CPGlabel->setText(qText(chargePumpGainCaption(ui_->CPGscroll->value())));
    recalculateIfReady();
}

void MainWindow::cppToggled() {
    ui_->CPP->setText(qText(chargePumpPolarityCaption(ui_->CPP->isChecked())));
    recalculateIfReady();
}

void MainWindow::ditherChanged() {
    setCaption(ui_->DitherLabel, ditherCaption(ui_->Dither->value()));
    recalculateIfReady();
}

void MainWindow::orderChanged() {
    ui_->OrderLabel->setText(qText(orderCaption(ui_->Order->value())));
    recalculateIfReady();
}

void MainWindow::muxChanged() {
    setCaption(ui_->MuxCaption, muxCaption(ui_->Mux->value()));
    recalculateIfReady();
}

void MainWindow::outTermChanged() {
    ui_->OutTermLabel->setText(qText(outTermCaption(ui_->OutTerm->value())));
    recalculateIfReady();
}

void MainWindow::vcoGainChanged() {
    ui_->VcoGainLabel->setText(qText(vcoGainCaption(ui_->VcoGain->value())));
    recalculateIfReady();
}

void MainWindow::divGainChanged() {
    ui_->DivGainLabel->setText(qText(divGainCaption(ui_->DivGain->value())));
    recalculateIfReady();
}

} // namespace kelvane::ui
