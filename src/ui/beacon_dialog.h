#pragma once
// "Beacon...": a beacon sequence keyed live through the board, or exported for
// its firmware. Presets fill the element list; every edit plans the tone
// table again from the main window's inputs, and a sequence that cannot be
// keyed is named in the status line with Start and Export off. Start sends
// "Update all registers" with the keying set, then from the next period start
// one Reg2 line at every symbol boundary, period after period, until Stop,
// which ends after the line on the wire and puts the board back on the
// carrier. Each period is a run of the window's board session, which locks
// the plan inputs while it runs.

#include <QDialog>
#include <memory>
#include <optional>

#include "modes/beacon_plan.h"

namespace Ui {
class BeaconDialog;
}

class QTimer;

namespace kelvane::ui {

class RunWindow;

class BeaconDialog : public QDialog {
    Q_OBJECT
public:
    BeaconDialog(RunWindow& window, QWidget* parent);
    ~BeaconDialog() override;

    bool running() const { return running_; }
    // Plans the element list again with the main window's inputs.
    void replan();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fillPreset();
    void showSequence(const beacon::Sequence& sequence);
    void start();
    void stop();
    void exportToFile();
    void setRunning(bool running);
    void showCountdown();

    std::unique_ptr<Ui::BeaconDialog> form_;
    RunWindow& window_;
    std::optional<beacon::PlannedBeacon> planned_;
    QTimer* countdown_ = nullptr;
    bool running_ = false;
    bool stopRequested_ = false;
    bool filling_ = false;
};

} // namespace kelvane::ui
