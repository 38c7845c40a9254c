#include "ui/calibrate_dialog.h"

#include <QPushButton>

#include "model/calibration.h"
#include "model/conversions.h"
#include "model/plan_hints.h"
#include "ui/calibrate_window.h"
#include "ui/label_text.h"
#include "ui_calibrate_dialog.h"
#include "window_text/control_help.h"

namespace kelvane::ui {

CalibrateDialog::CalibrateDialog(CalibrateWindow& window, QWidget* parent)
    : QDialog(parent), form_(std::make_unique<Ui::CalibrateDialog>()), window_(window) {
    form_->setupUi(this);
    for (QWidget* widget : findChildren<QWidget*>()) {
        widget->setAccessibleDescription(widget->objectName());
        widget->setToolTip(qText(std::string(controlHelp(widget->objectName().toStdString()))));
    }
    setAccessibleDescription(objectName());
    form_->Achieved->setText(qText(plainNumberText(window_.planInForce().fcorr) + " MHz"));
    connect(form_->Measured, &QLineEdit::textChanged, this, &CalibrateDialog::measuredChanged);
    connect(form_->Buttons, &QDialogButtonBox::accepted, this, &CalibrateDialog::accept);
    connect(form_->Buttons, &QDialogButtonBox::rejected, this, &CalibrateDialog::reject);
    measuredChanged();
}

CalibrateDialog::~CalibrateDialog() = default;

void CalibrateDialog::measuredChanged() {
    referenceText_.clear();
    QString result;
    if (!window_.planDefined()) {
        result = "The plan is undefined (the status line says why): nothing to compare with";
    } else if (const std::string partly = partialNumberHint(form_->Measured->text().toStdString());
               !partly.empty()) {
        // A reading taken only in part would give a reference wrong by as much.
        result = "Measured output: " + qText(partly);
    } else if (!form_->Measured->text().trimmed().isEmpty()) {
        const auto outcome =
            calibrateReference(form_->Measured->text().toStdString(), "Measured output",
                               window_.planInForce().fcorr, window_.referenceText().toStdString());
        if (const auto* refusal = std::get_if<CalibrationRefusal>(&outcome)) {
            result = qText(refusal->line);
        } else {
            const auto& calibration = std::get<Calibration>(outcome);
            referenceText_ = calibration.referenceText;
            result = qText(calibrationReport(calibration)).replace("\r\n", "\n").trimmed();
        }
    }
    form_->Result->setText(result);
    form_->Buttons->button(QDialogButtonBox::Ok)->setEnabled(!referenceText_.empty());
}

void CalibrateDialog::accept() {
    if (referenceText_.empty()) return;
    if (const QString busy = window_.boardBusyReason(); !busy.isEmpty()) {
        form_->Result->setText(busy);
        return;
    }
    window_.setReference(qText(referenceText_));
    QDialog::accept();
}

} // namespace kelvane::ui
