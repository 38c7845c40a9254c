#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

#include "model/inputs.h"
#include "model/plan.h"
#include "model/plan_variables.h"
#include "ui/calibrate_window.h"
#include "ui/link_window.h"
#include "ui/modes_window.h"
#include "ui/recalculation_hold.h"
#include "ui/run_window.h"
#include "ui/setup_host.h"
#include "ui/window_placement.h"
#include "ui/window_state.h"

class QLabel;

namespace Ui {
class LMX2541;
}

namespace kelvane::ui {

class ModesController;
class LinkController;
class SetupController;
class ToolsMenu;

// The main window LMX2541: the whole working surface of the program and the
// owner of the run's state. Every input change runs its handler, which sets
// the window's variables and captions and then recalculates when the window
// is ready (no recalculation hold taken). Handlers are bound to the controls' change
// signals, which fire for the program's own changes too and only when a value
// really changes; the handler chains (the output divider rewriting Fo, the
// external VCO clearing CPP) rely on that.
class MainWindow : public QMainWindow,
                   public SetupHost,
                   private LinkWindow,
                   private ModesWindow,
                   private RunWindow,
                   private CalibrateWindow {
    Q_OBJECT
public:
    // Builds the controls and every part of the window (the board session and
    // link, the modes, the File, Board and Tools menus), opens at the stored
    // position and shows the plan of the initial inputs.
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The form's controls, named as the window's controls are named, for
    // reading; the window alone sets its controls and its state, and the
    // dialogs reach it through their interfaces (RunWindow, CalibrateWindow).
    const Ui::LMX2541& controls() const;
    const WindowState& state() const;
    // The WSJT stepping, FSK and export buttons; its quickFreqUpdateRequested()
    // is for the device link to serve.
    ModesController& modes();

    // What the controls hold; the plan variables the handlers keep; the plan
    // of the last defined recalculation, or of the read-back until the next.
    Inputs inputs() const override;
    PlanVariables planVariables() const override { return state_.variables; }
    Plan planInForce() const override { return state_.plan; }
    RegisterImage registers() const override { return state_.registers; }

    // Recomputes the plan, its displays, every register word and the register
    // listing from the controls and the state. A plan that the model refuses
    // changes nothing but the D display (red) and the status line; every other
    // display shows the last defined plan.
    void recalculate() override;
    void recalculateIfReady();
    // Input changes set their variables and captions but do not recalculate
    // until the hold ends; the caller recalculates once when it is done.
    [[nodiscard]] RecalculationHold holdRecalculation() override;
    bool recalculationHeld() const override { return !startedUp_ || holds_ > 0; }
    // True when a change came while the window was not ready and no
    // recalculation has run since: the displays lag behind the inputs.
    bool recalculationSkipped() const override { return recalculationSkipped_; }
    // False while the last recalculation was refused: the register words are
    // then still those of the last defined plan, not of the inputs shown.
    bool planDefined() const override { return planDefined_; }

    // Quick Freq Update and the two step buttons, which end with it: a new
    // output divider disables them until a full update or a read-back.
    void enableQuickUpdate(bool enabled) override;

    // The board link behind the port box and the transfer buttons, and the
    // session it sends through: the one owner of the port, for runs too.
    LinkController& linkController();
    session::BoardSession& boardSession() override { return *session_; }
    SetupController& setups();
    ToolsMenu& tools();

    // Resets the controls to the start-up inputs, then sets these through the
    // controls' own handlers in a fixed order (each setting before the ones
    // that follow from it, the output frequency last), with one recalculation
    // at the end: the window then shows what typing the same values gives.
    // The port is left as it is.
    void applyInputs(const Inputs& inputs) override;
    // Sets what a read-back restores, control by control in the order the
    // board's set was stored, with recalculation held; then recalculates once
    // and enables the quick update.
    void applyRestore(const Restore& restore) override;

    // Runs slot after every change of an input control (the four texts, the
    // scroll bars and the check boxes), once its own handler has run.
    void onInputChanged(QObject* context, const std::function<void()>& slot) override;
    void sendAllIfOpen() override;
    QString boardBusyReason() const override;
    bool runInProgress() const override;
    void showStatus(const QString& line) override;

signals:
    // At the end of every recalculation that produced a plan.
    void recalculated();
    // At the end of every recalculation that the model refused.
    void planRefused();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void prepareControls();
    void keepPlanPanelLight();
    void scrollWhenSmall();
    void connectHandlers();
    void startUp();
    void showPlanHints(const Plan& plan);
    // During a run nothing but Stop and closing may change the plan or talk
    // to the board: the inputs and the transfer buttons are disabled.
    void boardActivityChanged();
    void showRunStep(const std::string& foText) override;
    QString referenceText() const override;
    void setReference(const QString& text) override;
    void showRefusal(const std::string& reason, const std::string* dnCaption);

    // Frequency-plan inputs.
    void foChanged();
    void frChanged();
    void resChanged();
    void resClicked();
    void rfMultTextChanged();
    void rscrollChanged();
    void refDblToggled();
    void odivChanged();
    void extVcoToggled();

    // Loop and output settings.
    void cpgScrollChanged();
    void cppToggled();
    void ditherChanged();
    void orderChanged();
    void muxChanged();
    void outTermChanged();
    void vcoGainChanged();
    void divGainChanged();

    std::unique_ptr<Ui::LMX2541> ui_;
    WindowState state_;
    WindowPlacement placement_;
    QLabel* planStatus_ = nullptr;
    ModesController* modes_ = nullptr;
    bool planDefined_ = false;
    bool recalculationSkipped_ = false;
    bool startedUp_ = false;
    int holds_ = 0;            // recalculation holds in force
    bool quickAllowed_ = true; // Quick Freq Update and the steps, but for a run
    bool closeAfterRun_ = false;
    QString planFc_; // Fc of the last defined plan; the Fr handler previews over it
    session::BoardSession* session_ = nullptr;
    LinkController* link_ = nullptr;
    SetupController* setups_ = nullptr;
    ToolsMenu* tools_ = nullptr;
};

} // namespace kelvane::ui
