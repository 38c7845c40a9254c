#include "ui/exp_form.h"

#include "ui/text_box.h"
#include "ui_exp_form.h"

namespace kelvane::ui {

ExpForm::ExpForm(QWidget* parent)
    : QWidget(parent, Qt::Window), form_(std::make_unique<Ui::ExpForm>()) {
    form_->setupUi(this);
    useFixedPitch(form_->PasteText);
}

ExpForm::~ExpForm() = default;

void ExpForm::setListing(const std::string& listing) {
    replaceText(form_->PasteText, listing);
}

} // namespace kelvane::ui
