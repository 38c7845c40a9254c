#include "ui/fsk_reg2.h"

#include "ui/text_box.h"
#include "ui_fsk_reg2.h"

namespace kelvane::ui {

FSKReg2::FSKReg2(FskInputsProvider provider, QWidget* parent)
    : QWidget(parent, Qt::Window), form_(std::make_unique<Ui::FSKReg2>()),
      inputs_(std::move(provider)) {
    form_->setupUi(this);
    useFixedPitch(form_->NewDResults);
    connect(form_->GenNewD, &QPushButton::clicked, this, &FSKReg2::onGenNewDClicked);
}

FSKReg2::~FSKReg2() = default;

void FSKReg2::onGenNewDClicked() {
    // The report, or the one line that says which input to correct.
    const std::optional<FskInputs> inputs = inputs_();
    const GeneratedText report =
        inputs ? fskReport(*inputs, form_->FSKShift->text().toStdString()) : fskWithoutPlan;
    replaceText(form_->NewDResults, report.text);
}

} // namespace kelvane::ui
