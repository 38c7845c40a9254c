#include "ui/fsk_reg2.h"

#include "ui/text_box.h"
#include "ui_fsk_reg2.h"

namespace kelvane::ui {

FSKReg2::FSKReg2(FskReportMaker makeReport, QWidget* parent)
    : QWidget(parent, Qt::Window), form_(std::make_unique<Ui::FSKReg2>()),
      makeReport_(std::move(makeReport)) {
    form_->setupUi(this);
    useFixedPitch(form_->NewDResults);
    connect(form_->GenNewD, &QPushButton::clicked, this, &FSKReg2::onGenNewDClicked);
    connect(form_->FSKShift, &QLineEdit::returnPressed, form_->GenNewD, &QPushButton::click);
}

FSKReg2::~FSKReg2() = default;

void FSKReg2::onGenNewDClicked() {
    const GeneratedText report = makeReport_(form_->FSKShift->text().toStdString());
    replaceText(form_->NewDResults, report.text);
}

} // namespace kelvane::ui
