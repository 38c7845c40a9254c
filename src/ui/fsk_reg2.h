#pragma once
// The FSK generator window: for the shift typed into FSKShift, "Generate D
// data" writes the denominators and register lines into NewDResults. Its
// plan inputs come from a provider, read afresh at every press; it gives none
// while the main window has no plan for its inputs.

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "modes/fsk_report.h"

namespace Ui {
class FSKReg2;
}

namespace kelvane::ui {

using FskInputsProvider = std::function<std::optional<FskInputs>()>;

class FSKReg2 : public QWidget {
    Q_OBJECT
public:
    // A separate top-level window that stays with its parent.
    explicit FSKReg2(FskInputsProvider provider, QWidget* parent = nullptr);
    ~FSKReg2() override;

private:
    void onGenNewDClicked();

    std::unique_ptr<Ui::FSKReg2> form_;
    FskInputsProvider inputs_;
};

} // namespace kelvane::ui
