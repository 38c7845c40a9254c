#pragma once
// Holds the main window's recalculation back while the program sets its
// controls one by one (at start-up, a restore from the board, a setup being
// applied) or while the board answers a read request: each control's handler
// still runs, but only the last change should recalculate.
//
// Holds nest: one taken inside another leaves the outer one in force and
// marks the recalculation as skipped, so that whoever took the outer hold
// recalculates when it ends. The window is ready again when the last hold
// ends, on every path out of the scopes that took them.

namespace kelvane::ui {

class RecalculationHold {
public:
    RecalculationHold(int& holds, bool& skipped) : holds_(&holds) {
        if (holds++ > 0) skipped = true;
    }
    RecalculationHold(RecalculationHold&& other) noexcept : holds_(other.holds_) {
        other.holds_ = nullptr;
    }
    RecalculationHold(const RecalculationHold&) = delete;
    RecalculationHold& operator=(const RecalculationHold&) = delete;
    RecalculationHold& operator=(RecalculationHold&&) = delete;
    ~RecalculationHold() {
        if (holds_) --*holds_;
    }

private:
    int* holds_;
};

} // namespace kelvane::ui
