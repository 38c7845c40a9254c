#pragma once
// "Sweep...": steps the board's output from one frequency to another, as
// kelvanectl sweep does. The whole sweep is planned from the window's inputs
// first; a frequency that cannot be sent is named and nothing is sent. Then
// each frequency is typed into the output box, as the WSJT steps do, and sent:
// the first by "Update all registers", every later one by "Quick Freq Update",
// then the dwell. The plan inputs and the WSJT stepping are locked while it
// runs. Stop, closing the
// dialog or closing the window end it after the frequency on the wire.

#include <QDialog>
#include <memory>

namespace Ui {
class SweepDialog;
}

namespace kelvane::ui {

class MainWindow;

class SweepDialog : public QDialog {
    Q_OBJECT
public:
    explicit SweepDialog(MainWindow& window);
    ~SweepDialog() override;

    bool running() const { return running_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void start();
    void setRunning(bool running);
    // Waits the dwell in line-pause pieces, so that Stop ends it; false when
    // stopped or the port closed.
    bool dwell(long long ms);

    std::unique_ptr<Ui::SweepDialog> form_;
    MainWindow& window_;
    bool running_ = false;
    bool stopRequested_ = false;
};

} // namespace kelvane::ui
