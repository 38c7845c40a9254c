#pragma once
// The main window's digital-mode and export buttons: the WSJT mode selector,
// the two quick-step buttons, "Reg2 FSK" and "PIC Register Export". It writes
// only the controls' texts, so the window's own handlers take the changes.

#include <QObject>
#include <optional>

#include "export/pic_listing.h"
#include "modes/fsk_report.h"
#include "modes/quick_step.h"

namespace kelvane::ui {

class ExpForm;
class FSKReg2;
class MainWindow;

class ModesController : public QObject {
    Q_OBJECT
public:
    // Binds the window's controls and creates the export window, hidden.
    explicit ModesController(MainWindow& window);

signals:
    // After a quick step, once the new output frequency is in Fo and the
    // window is ready: the three frequency words are due at the board.
    void quickFreqUpdateRequested();

private:
    void chgWsjtChanged(int value);
    void step(StepDirection direction);
    void exportClicked();
    void reg2FskClicked();
    void windowRecalculated();

    MainWindow& window_;
    ExpForm* expForm_;
    FSKReg2* fskReg2_ = nullptr; // created at the first "Reg2 FSK"
    bool planRecalculated_ = false;
};

} // namespace kelvane::ui
