#pragma once
// "Calibrate Reference...": the user types the output frequency a counter
// measured; the dialog shows the reference's error and the corrected
// reference, and OK writes that into "Reference Input MHz", which recalculates
// as typing does. Nothing else in the window changes. While the board is
// busy, OK says why and leaves the reference as it is.

#include <QDialog>
#include <memory>

namespace Ui {
class CalibrateDialog;
}

namespace kelvane::ui {

class CalibrateWindow;

class CalibrateDialog : public QDialog {
    Q_OBJECT
public:
    // Compares with the plan the window shows when the dialog opens.
    CalibrateDialog(CalibrateWindow& window, QWidget* parent);
    ~CalibrateDialog() override;

private:
    void measuredChanged();
    void accept() override;

    std::unique_ptr<Ui::CalibrateDialog> form_;
    CalibrateWindow& window_;
    std::string referenceText_; // the corrected reference; empty while refused
};

} // namespace kelvane::ui
