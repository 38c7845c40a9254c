#pragma once

#include <QScrollBar>

namespace kelvane::ui {

// A vertical scroll bar whose largest value is at the top: the up arrow, the
// track above the thumb, the Up and Page Up keys and the wheel turned up all
// increase the value, and the thumb is drawn near the top for large values.
// Qt's invertedAppearance only flips the drawing, and invertedControls only
// the keys and the wheel; the arrows and the track would still step the
// wrong way. So the drawing is flipped, and every step and jump is mirrored
// before the new value takes effect.
class UpwardScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit UpwardScrollBar(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void mirrorAction(int action);
};

} // namespace kelvane::ui
