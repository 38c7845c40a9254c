#include "ui/exp_form.h"

#include "ui/text_box.h"
#include "ui_exp_form.h"

namespace kelvane::ui {

ExpForm::ExpForm(QWidget* parent)
    : QWidget(parent, Qt::Window), form(std::make_unique<Ui::ExpForm>()) {
    form->setupUi(this);
    useFixedPitch(form->PasteText);
}

ExpForm::~ExpForm() = default;

void ExpForm::setListing(const std::string& listing) {
    replaceText(form->PasteText, listing);
}

} // namespace kelvane::ui
