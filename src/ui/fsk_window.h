#pragma once
// The FSK generator window: for the shift typed into FSKShift, "Generate D
// data" writes the denominators and register lines into NewDResults. The
// report comes from a maker that reads the main window afresh at every press.

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "modes/fsk_report.h"

namespace Ui {
class FSKReg2;
}

namespace kelvane::ui {

// The report, or the one line that says which input to correct, for a shift text.
using FskReportMaker = std::function<GeneratedText(const std::string& shiftText)>;

class FskWindow : public QWidget {
    Q_OBJECT
public:
    // A separate top-level window that stays with its parent.
    explicit FskWindow(FskReportMaker makeReport, QWidget* parent = nullptr);
    ~FskWindow() override;

private:
    void onGenNewDClicked();

    std::unique_ptr<Ui::FSKReg2> form_;
    FskReportMaker makeReport_;
};

} // namespace kelvane::ui
