#include "ui/fsk_window.h"

#include "ui/text_box.h"
#include "ui_fsk_window.h"

namespace kelvane::ui {

FskWindow::FskWindow(FskReportMaker makeReport, QWidget* parent)
    : QWidget(parent, Qt::Window), form_(std::make_unique<Ui::FSKReg2>()),
      makeReport_(std::move(makeReport)) {
    form_->setupUi(this);
    useFixedPitch(form_->NewDResults);
    connect(form_->GenNewD, &QPushButton::clicked, this, &FskWindow::onGenNewDClicked);
    connect(form_->FSKShift, &QLineEdit::returnPressed, form_->GenNewD, &QPushButton::click);
}

FskWindow::~FskWindow() = default;

void FskWindow::onGenNewDClicked() {
    const GeneratedText report = makeReport_(form_->FSKShift->text().toStdString());
    replaceText(form_->NewDResults, report.text);
}

} // namespace kelvane::ui
