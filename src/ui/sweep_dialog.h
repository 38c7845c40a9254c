#pragma once
// "Sweep...": steps the board's output from one frequency to another, as
// kelvanectl sweep does, as a run of the window's board session. The whole
// sweep is planned from the window's inputs first; a frequency that cannot be
// sent is named and nothing is sent. The run sends the words it planned,
// whatever the window composes meanwhile; the output box shows each frequency
// once the board has it, as the step buttons write it. Stop, closing the
// dialog or closing the window end the run after the frequency on the wire;
// the dialog shows the run's outcome line, wrapped to its width.

#include <QDialog>
#include <memory>
#include <vector>

#include "modes/frequency_run.h"

namespace Ui {
class SweepDialog;
}

namespace kelvane::session {
struct RunStep;
struct RunOutcome;
} // namespace kelvane::session

namespace kelvane::ui {

class RunWindow;

class SweepDialog : public QDialog {
    Q_OBJECT
public:
    SweepDialog(RunWindow& window, QWidget* parent);
    ~SweepDialog() override;

    bool running() const { return running_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void start();
    void setRunning(bool running);
    void stepSent(long long index);
    // The line, with the label grown to show all of it.
    void showStatus(const QString& line);

    std::unique_ptr<Ui::SweepDialog> form_;
    RunWindow& window_;
    std::vector<kelvane::RunStep> planned_; // of the run in progress
    bool running_ = false;
    long long done_ = 0;
};

} // namespace kelvane::ui
