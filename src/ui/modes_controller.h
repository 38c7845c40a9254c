#pragma once
// The main window's digital-mode and export buttons: the WSJT mode selector,
// the two quick-step buttons, "Reg2 FSK" and "PIC Register Export". It writes
// only the controls' texts, so the window's own handlers take the changes.

#include <QObject>

#include "modes/quick_step.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace kelvane::ui {

class ExportWindow;
class FskWindow;
class ModesWindow;

// The main window's controls that the buttons use: their own, and the two
// inputs they write (Fo and Res), whose handlers then take the change.
struct ModesWidgets {
    QScrollBar* modeSelector; // ChgWSJT
    QLabel* modeCaption;      // WSJT
    QPushButton* stepUp;      // QStepUp
    QPushButton* stepDown;    // QStepDn
    QPushButton* exportButton;
    QPushButton* fskButton; // Reg2FSK
    QLineEdit* fo;
    QLineEdit* res;
};

class ModesController : public QObject {
    Q_OBJECT
public:
    // Binds the buttons and creates the export window, hidden; parent (the
    // window) owns the controller and the windows it opens.
    ModesController(const ModesWidgets& widgets, ModesWindow& window, QWidget* parent);

public slots:
    // Every recalculation makes an export on screen out of date; a refused
    // one too, since the listing no longer belongs to the inputs on screen.
    void windowRecalculated();
    void windowRefusedPlan();

signals:
    // After a quick step, once the new output frequency is in Fo and the
    // window is ready: the three frequency words are due at the board.
    void quickFreqUpdateRequested();

private:
    void chgWsjtChanged(int value);
    void step(StepDirection direction);
    void exportClicked();
    void reg2FskClicked();

    ModesWidgets widgets_;
    ModesWindow& window_;
    QWidget* parent_;
    ExportWindow* exportWindow_;
    FskWindow* fskWindow_ = nullptr; // created at the first "Reg2 FSK"
    bool planRecalculated_ = false;
};

} // namespace kelvane::ui
