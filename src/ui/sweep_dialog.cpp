#include "ui/sweep_dialog.h"

#include <QCloseEvent>
#include <QElapsedTimer>

#include "link/serial_link.h"
#include "model/control_help.h"
#include "model/number_field.h"
#include "modes/frequency_run.h"
#include "ui/label_text.h"
#include "ui/link_controller.h"
#include "ui/main_window.h"
#include "ui/main_window_controls.h"
#include "ui_sweep_dialog.h"

namespace kelvane::ui {
namespace {

// The number in a field, or nothing with the refusal in `why`.
std::optional<double> fieldNumber(const QLineEdit* box, std::string_view name,
                                  std::string_view example, NumberRule rule, QString& why) {
    const auto read = readNumberField({name, example, rule}, box->text().toStdString());
    if (const auto* refusal = std::get_if<std::string>(&read)) {
        why = qText(*refusal);
        return std::nullopt;
    }
    return std::get<double>(read);
}

} // namespace

SweepDialog::SweepDialog(MainWindow& window)
    : QDialog(&window), form_(std::make_unique<Ui::SweepDialog>()), window_(window) {
    form_->setupUi(this);
    for (QWidget* widget : findChildren<QWidget*>()) {
        widget->setAccessibleDescription(widget->objectName());
        widget->setToolTip(qText(std::string(controlHelp(widget->objectName().toStdString()))));
    }
    setAccessibleDescription(objectName());
    connect(form_->Start, &QPushButton::clicked, this, &SweepDialog::start);
    connect(form_->Stop, &QPushButton::clicked, this, [this] { stopRequested_ = true; });
    connect(form_->Forever, &QCheckBox::toggled, form_->Repeat, &QWidget::setDisabled);
}

SweepDialog::~SweepDialog() = default;

void SweepDialog::closeEvent(QCloseEvent* event) {
    stopRequested_ = true;
    QDialog::closeEvent(event);
}

void SweepDialog::setRunning(bool running) {
    running_ = running;
    // The WSJT mode selector and step buttons write the resolution and the
    // output: locked with the plan inputs.
    window_.controls().PlanInputs->setEnabled(!running);
    window_.controls().ModeStepping->setEnabled(!running);
    for (QWidget* field : std::initializer_list<QWidget*>{
             form_->From, form_->To, form_->Step, form_->Dwell, form_->Forever, form_->Start})
        field->setEnabled(!running);
    form_->Repeat->setEnabled(!running && !form_->Forever->isChecked());
    form_->Stop->setEnabled(running);
}

bool SweepDialog::dwell(long long ms) {
    link::SerialLink& link = window_.linkController().serialLink();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        const auto piece = std::min<long long>(ms - clock.elapsed(), link::linePause.count());
        if (stopRequested_ || !link.pause(std::chrono::milliseconds(piece))) return false;
    }
    return !stopRequested_;
}

void SweepDialog::start() {
    link::SerialLink& link = window_.linkController().serialLink();
    if (!link.isOpen()) {
        form_->Status->setText("Open the board's port first (\"COM Port\" in the main window)");
        return;
    }
    QString why;
    const auto from = fieldNumber(form_->From, "From", "2320", NumberRule::Any, why);
    const auto to =
        from ? fieldNumber(form_->To, "To", "2321", NumberRule::Any, why) : std::nullopt;
    const auto step =
        to ? fieldNumber(form_->Step, "Step", "0.1", NumberRule::NotZero, why) : std::nullopt;
    const auto dwellMs =
        step ? fieldNumber(form_->Dwell, "Dwell", "100", NumberRule::ZeroOrMore, why)
             : std::nullopt;
    if (!dwellMs) {
        form_->Status->setText(why);
        return;
    }
    const FrequencyList frequencies = sweepFrequencies(*from, *to, *step);
    const RunPlan planned = std::holds_alternative<RunRefusal>(frequencies)
                                ? RunPlan{std::get<RunRefusal>(frequencies)}
                                : planRun(std::get<std::vector<double>>(frequencies),
                                          window_.inputs(), window_.planVariables());
    if (const auto* refusal = std::get_if<RunRefusal>(&planned)) {
        form_->Status->setText(qText(refusal->line + "; nothing was sent"));
        return;
    }
    const auto& steps = std::get<std::vector<RunStep>>(planned);

    const bool untilStopped = form_->Forever->isChecked();
    const long long passes = untilStopped ? 0 : form_->Repeat->value();
    form_->Progress->setRange(0, untilStopped ? 0
                                              : static_cast<int>(std::min<long long>(
                                                    passes * static_cast<long long>(steps.size()),
                                                    std::numeric_limits<int>::max())));
    form_->Progress->setValue(0);
    stopRequested_ = false;
    bool portFailed = false;
    const auto failure =
        connect(&link, &link::SerialLink::failed, this, [&portFailed] { portFailed = true; });
    setRunning(true);
    auto& c = window_.controls();
    const RunStep* last = nullptr;
    int done = 0;
    for (long long pass = 1; !stopRequested_ && (untilStopped || pass <= passes); ++pass) {
        for (const RunStep& step : steps) {
            if (stopRequested_ || !link.isOpen()) break;
            // Typed into the output box: the window's plan follows, and the
            // transfer sends its words.
            c.Fo->setText(qText(step.foText));
            if (last)
                window_.linkController().quickFreqUpdate();
            else
                c.Update->click();
            if (!link.isOpen()) break;
            last = &step;
            form_->Progress->setValue(++done);
            form_->Status->setText(qText(runFrequencyText(step.mhz)));
            if (!dwell(static_cast<long long>(*dwellMs + 0.5))) break;
        }
    }
    disconnect(failure);
    setRunning(false);
    const QString at = last ? qText(runFrequencyText(last->mhz)) : QString();
    if (portFailed)
        form_->Status->setText(last ? "The port failed (the console says why); the board was "
                                      "last set to " +
                                          at
                                    : "The port failed (the console says why); nothing was sent");
    else if (stopRequested_ || !link.isOpen()) // Stop, or the window closed the port
        form_->Status->setText(last ? "Stopped; the board is at " + at
                                    : QString("Stopped; nothing was sent"));
    else
        form_->Status->setText(
            QString("Done: %1 frequencies sent; the board is at %2").arg(done).arg(at));
}

} // namespace kelvane::ui
