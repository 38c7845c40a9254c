#include "ui/sweep_dialog.h"

#include <QCloseEvent>
#include <limits>

#include "model/number_field.h"
#include "session/frequency_runs.h"
#include "ui/label_text.h"
#include "ui/run_window.h"
#include "ui_sweep_dialog.h"
#include "window_text/control_help.h"

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

SweepDialog::SweepDialog(RunWindow& window, QWidget* parent)
    : QDialog(parent), form_(std::make_unique<Ui::SweepDialog>()), window_(window) {
    form_->setupUi(this);
    for (QWidget* widget : findChildren<QWidget*>()) {
        widget->setAccessibleDescription(widget->objectName());
        widget->setToolTip(qText(std::string(controlHelp(widget->objectName().toStdString()))));
    }
    setAccessibleDescription(objectName());
    session::BoardSession& board = window_.boardSession();
    connect(form_->Start, &QPushButton::clicked, this, &SweepDialog::start);
    connect(form_->Stop, &QPushButton::clicked, &board, &session::BoardSession::stop);
    connect(form_->Forever, &QCheckBox::toggled, form_->Repeat, &QWidget::setDisabled);
    connect(&board, &session::BoardSession::stepSent, this,
            [this](long long index) { stepSent(index); });
}

SweepDialog::~SweepDialog() = default;

void SweepDialog::closeEvent(QCloseEvent* event) {
    if (running_) window_.boardSession().stop();
    QDialog::closeEvent(event);
}

void SweepDialog::setRunning(bool running) {
    running_ = running;
    for (QWidget* field : std::initializer_list<QWidget*>{
             form_->From, form_->To, form_->Step, form_->Dwell, form_->Forever, form_->Start})
        field->setEnabled(!running);
    form_->Repeat->setEnabled(!running && !form_->Forever->isChecked());
    form_->Stop->setEnabled(running);
}

// A label that wraps asks for its height only for the width it has: it is
// given that height, so that the dialog grows rather than cutting the line.
void SweepDialog::showStatus(const QString& line) {
    QLabel* status = form_->Status;
    status->setText(line);
    status->setMinimumHeight(status->heightForWidth(status->width()));
}

void SweepDialog::stepSent(long long index) {
    if (!running_) return; // another kind of run
    const kelvane::RunStep& step = planned_[static_cast<std::size_t>(index)];
    window_.showRunStep(step.foText);
    form_->Progress->setValue(
        static_cast<int>(std::min<long long>(++done_, std::numeric_limits<int>::max())));
    showStatus(qText(runFrequencyText(step.mhz)));
}

void SweepDialog::start() {
    session::BoardSession& board = window_.boardSession();
    if (!board.isOpen()) {
        showStatus("Open the board's port first (\"COM Port\" in the main window)");
        return;
    }
    if (board.busy()) {
        showStatus(board.busyReason());
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
        showStatus(why);
        return;
    }
    if (*dwellMs > std::numeric_limits<int>::max()) {
        showStatus("Dwell must be at most 2147483647 ms");
        return;
    }
    const FrequencyList frequencies = sweepFrequencies(*from, *to, *step);
    const RunPlan planned = std::holds_alternative<RunRefusal>(frequencies)
                                ? RunPlan{std::get<RunRefusal>(frequencies)}
                                : planRun(std::get<std::vector<double>>(frequencies),
                                          window_.inputs(), window_.planVariables());
    if (const auto* refusal = std::get_if<RunRefusal>(&planned)) {
        showStatus(qText(refusal->line + "; nothing was sent"));
        return;
    }
    planned_ = std::get<std::vector<kelvane::RunStep>>(planned);

    const bool untilStopped = form_->Forever->isChecked();
    const long long passes = untilStopped ? 0 : form_->Repeat->value();
    form_->Progress->setRange(0, untilStopped
                                     ? 0
                                     : static_cast<int>(std::min<long long>(
                                           passes * static_cast<long long>(planned_.size()),
                                           std::numeric_limits<int>::max())));
    form_->Progress->setValue(0);
    done_ = 0;
    setRunning(true);
    const auto outcome = board.run(session::frequencyRun(
        "Sweep", planned_, std::chrono::milliseconds(static_cast<long long>(*dwellMs + 0.5)),
        passes));
    setRunning(false);
    showStatus(qText(outcome.line()));
}

} // namespace kelvane::ui
