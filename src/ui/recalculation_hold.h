#pragma once
// Holds the main window's recalculation back while the program sets its
// controls one by one (at start-up, a restore from the board, a setup being
// applied): each control's handler still runs, but only the last change
// should recalculate. The window is ready again when the hold ends, on every
// path out of the scope that took it.

namespace kelvane::ui {

class RecalculationHold {
public:
    explicit RecalculationHold(bool& ready) : ready_(&ready) { *ready_ = false; }
    RecalculationHold(RecalculationHold&& other) noexcept : ready_(other.ready_) {
        other.ready_ = nullptr;
    }
    RecalculationHold(const RecalculationHold&) = delete;
    RecalculationHold& operator=(const RecalculationHold&) = delete;
    RecalculationHold& operator=(RecalculationHold&&) = delete;
    ~RecalculationHold() {
        if (ready_) *ready_ = true;
    }

private:
    bool* ready_;
};

} // namespace kelvane::ui
