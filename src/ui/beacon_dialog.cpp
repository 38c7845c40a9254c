#include "ui/beacon_dialog.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QSaveFile>
#include <QTimer>

#include "export/beacon_export.h"
#include "keying/beacon_run.h"
#include "modes/beacon_texts.h"
#include "ui/label_text.h"
#include "ui/run_window.h"
#include "ui_beacon_dialog.h"

namespace kelvane::ui {
namespace {

constexpr auto updateTime = std::chrono::milliseconds(1000);
constexpr auto wireLead = std::chrono::microseconds(12600);

void setHeader(QTableWidget* table, const auto& columns) {
    QStringList captions;
    for (const char* caption : columns)
        captions << caption;
    table->setColumnCount(static_cast<int>(captions.size()));
    table->setHorizontalHeaderLabels(captions);
}

} // namespace

BeaconDialog::BeaconDialog(RunWindow& window, QWidget* parent)
    : QDialog(parent), form_(std::make_unique<Ui::BeaconDialog>()), window_(window) {
    form_->setupUi(this);
    for (QWidget* widget : findChildren<QWidget*>())
        widget->setAccessibleDescription(widget->objectName());
    setAccessibleDescription(objectName());
    for (const char* name : beacon::presetNames)
        form_->Preset->addItem(name);
    setHeader(form_->Elements, beacon::elementColumns);
    setHeader(form_->Tones, beacon::toneColumns);
    form_->Elements->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    form_->Tones->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    countdown_ = new QTimer(this);
    connect(countdown_, &QTimer::timeout, this, &BeaconDialog::showCountdown);

    connect(form_->Preset, &QComboBox::currentIndexChanged, this, &BeaconDialog::fillPreset);
    connect(form_->Call, &QLineEdit::editingFinished, this, &BeaconDialog::fillPreset);
    connect(form_->Locator, &QLineEdit::editingFinished, this, &BeaconDialog::fillPreset);
    connect(form_->Period, &QSpinBox::valueChanged, this, &BeaconDialog::replan);
    connect(form_->Elements, &QTableWidget::itemChanged, this, [this] {
        if (filling_) return;
        // An edited list is the user's own.
        const QSignalBlocker block(form_->Preset);
        form_->Preset->setCurrentIndex(static_cast<int>(beacon::presetNames.size()) - 1);
        replan();
    });
    connect(form_->AddElement, &QPushButton::clicked, this, [this] {
        const int row = form_->Elements->rowCount();
        form_->Elements->insertRow(row);
        const beacon::ElementCells cells{"carrier", "", "0", "", "", "", "1"};
        for (std::size_t c = 0; c < cells.size(); ++c)
            form_->Elements->setItem(row, static_cast<int>(c),
                                     new QTableWidgetItem(qText(cells[c])));
    });
    connect(form_->RemoveElement, &QPushButton::clicked, this, [this] {
        form_->Elements->removeRow(form_->Elements->currentRow());
        replan();
    });
    connect(form_->Start, &QPushButton::clicked, this, &BeaconDialog::start);
    connect(form_->Stop, &QPushButton::clicked, this, &BeaconDialog::stop);
    connect(form_->Export, &QPushButton::clicked, this, &BeaconDialog::exportToFile);
    fillPreset();
}

BeaconDialog::~BeaconDialog() = default;

void BeaconDialog::closeEvent(QCloseEvent* event) {
    stop();
    QDialog::closeEvent(event);
}

void BeaconDialog::fillPreset() {
    const int preset = form_->Preset->currentIndex();
    if (preset == static_cast<int>(beacon::presetNames.size()) - 1 && form_->Elements->rowCount())
        return; // Custom keeps the user's list
    showSequence(beacon::presetSequence(preset, form_->Call->text().trimmed().toStdString(),
                                        form_->Locator->text().trimmed().toStdString()));
}

void BeaconDialog::showSequence(const beacon::Sequence& sequence) {
    filling_ = true;
    const auto rows = beacon::elementCells(sequence);
    form_->Elements->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            form_->Elements->setItem(static_cast<int>(r), static_cast<int>(c),
                                     new QTableWidgetItem(qText(rows[r][c])));
    {
        const QSignalBlocker block(form_->Period);
        form_->Period->setValue(static_cast<int>(sequence.periodSeconds));
    }
    filling_ = false;
    replan();
}

void BeaconDialog::replan() {
    std::vector<beacon::ElementCells> rows;
    for (int r = 0; r < form_->Elements->rowCount(); ++r) {
        beacon::ElementCells cells;
        for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
            const QTableWidgetItem* item = form_->Elements->item(r, c);
            cells[static_cast<std::size_t>(c)] = item ? item->text().trimmed().toStdString() : "";
        }
        rows.push_back(cells);
    }
    planned_.reset();
    form_->Tones->setRowCount(0);
    auto sequence = beacon::sequenceFromCells(rows, form_->Period->value());
    std::variant<beacon::PlannedBeacon, std::string> outcome =
        std::holds_alternative<std::string>(sequence)
            ? std::get<std::string>(sequence)
            : beacon::planBeacon(window_.inputs(), std::get<beacon::Sequence>(sequence));
    if (const auto* refusal = std::get_if<std::string>(&outcome)) {
        form_->Status->setText(qText(*refusal));
    } else {
        planned_ = std::get<beacon::PlannedBeacon>(std::move(outcome));
        const auto tones = beacon::toneRows(planned_->tones);
        form_->Tones->setRowCount(static_cast<int>(tones.size()));
        for (std::size_t r = 0; r < tones.size(); ++r)
            for (std::size_t c = 0; c < tones[r].size(); ++c)
                form_->Tones->setItem(static_cast<int>(r), static_cast<int>(c),
                                      new QTableWidgetItem(qText(tones[r][c])));
        form_->Status->setText(QString("Carrier %1 MHz; every tone by Reg2 alone")
                                   .arg(planned_->tones.carrierHz / 1e6, 0, 'f', 6));
    }
    form_->Start->setEnabled(planned_ && !running_);
    form_->Export->setEnabled(planned_.has_value());
}

void BeaconDialog::setRunning(bool running) {
    running_ = running;
    for (QWidget* field :
         std::initializer_list<QWidget*>{form_->Preset, form_->Call, form_->Locator, form_->Period,
                                         form_->Elements, form_->AddElement, form_->RemoveElement})
        field->setEnabled(!running);
    form_->Start->setEnabled(!running && planned_);
    form_->Stop->setEnabled(running);
    if (running)
        countdown_->start(250);
    else
        countdown_->stop();
    showCountdown();
}

void BeaconDialog::showCountdown() {
    if (!running_ || !planned_) {
        form_->Countdown->clear();
        return;
    }
    const auto now = keying::Clock::now();
    const auto next = keying::nextPeriodStart(now, planned_->sequence.periodSeconds);
    form_->Countdown->setText(
        qText(beacon::countdownText(std::chrono::duration<double>(next - now).count())));
}

void BeaconDialog::stop() {
    if (!running_) return;
    stopRequested_ = true;
    window_.boardSession().stop();
}

void BeaconDialog::start() {
    session::BoardSession& board = window_.boardSession();
    if (!board.isOpen()) {
        form_->Status->setText("Open the board's port first (\"COM Port\" in the main window)");
        return;
    }
    if (board.busy()) {
        form_->Status->setText(board.busyReason());
        return;
    }
    replan();
    if (!planned_) return;
    const beacon::PlannedBeacon beacon = *planned_;
    stopRequested_ = false;
    setRunning(true);
    auto periodStart =
        keying::nextPeriodStart(keying::Clock::now() + updateTime, beacon.sequence.periodSeconds);
    const auto shown = connect(&board, &session::BoardSession::stepSent, this,
                               [this](long long index, const session::RunStep& step) {
                                   form_->Current->setText(qText(step.label));
                                   form_->Progress->setValue(static_cast<int>(index + 1));
                               });
    std::optional<session::RunStep> boardAt;
    session::RunOutcome outcome;
    for (bool first = true; !stopRequested_; first = false) {
        const auto keyed = keying::beaconPeriod(beacon, periodStart, first, wireLead);
        form_->Progress->setRange(0, static_cast<int>(keyed.run.steps.size()));
        form_->Progress->setValue(0);
        outcome = board.run(keyed.run);
        if (outcome.boardAt) boardAt = outcome.boardAt;
        if (outcome.end != RunEnd::Completed) break;
        periodStart += std::chrono::duration_cast<keying::Clock::duration>(
            std::chrono::duration<double>(beacon.sequence.periodSeconds));
    }
    disconnect(shown);
    QString line = qText(outcome.line());
    if (outcome.end == RunEnd::Stopped || (stopRequested_ && outcome.end == RunEnd::Completed)) {
        if (boardAt && boardAt->label != "carrier" && board.isOpen())
            board.run(keying::carrierRun(beacon.tones));
        line = boardAt ? "Stopped; the board is on the carrier" : "Stopped; nothing was sent";
    }
    form_->Status->setText(line);
    form_->Current->clear();
    setRunning(false);
}

void BeaconDialog::exportToFile() {
    if (!planned_) return;
    const QString path = QFileDialog::getSaveFileName(this, "Export beacon", "beacon.inc",
                                                      "PIC assembler (*.inc);;C header (*.h)");
    if (path.isEmpty()) return;
    const auto format = path.endsWith(".h") ? beacon::ExportFormat::C : beacon::ExportFormat::Pic;
    QSaveFile file(path);
    const std::string text = beacon::exportBeacon(planned_->sequence, planned_->tones, format);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(text.data(), static_cast<qint64>(text.size())) ==
                             static_cast<qint64>(text.size()) &&
                         file.commit();
    form_->Status->setText(written ? "Exported to " + path
                                   : "Could not write " + path + ": " + file.errorString());
}

} // namespace kelvane::ui
