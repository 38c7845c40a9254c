#pragma once

#include <QPoint>
#include <QSize>

class QWidget;

namespace kelvane::ui {

// Where the main window opens and where it was closed, kept in the per-user
// settings store: organisation and application "Kelvane", group "FormPLace",
// keys "Left" and "Top", each the Str text of a single-precision position in
// twips. Twips are converted with the primary screen's logical resolution.
class WindowPlacement {
public:
    // Moves the window to the stored position (left 0, top 100 twips when
    // nothing is stored). A position that would leave the window entirely off
    // every screen, as after a monitor was unplugged, is replaced by the
    // default position on the primary screen.
    void restore(QWidget& window, QSize windowSize);

    // Stores the window's position. A window that was not moved keeps the
    // exact texts it was opened with, so opening and closing loses nothing
    // to pixel rounding.
    void save(const QWidget& window) const;

private:
    QPoint restoredPixels_;
    float restoredLeft_ = 0;
    float restoredTop_ = 0;
    bool restored_ = false;
};

} // namespace kelvane::ui
