#include "ui/upward_scroll_bar.h"

#include <QWheelEvent>

namespace kelvane::ui {

UpwardScrollBar::UpwardScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    setInvertedAppearance(true);
    connect(this, &QAbstractSlider::actionTriggered, this, &UpwardScrollBar::mirrorAction);
}

// Runs after the action has moved the slider position and before the value
// follows it, which is the moment Qt offers for adjusting an action. The value
// still holds the position from before the action.
void UpwardScrollBar::mirrorAction(int action) {
    switch (action) {
    case SliderSingleStepAdd:
        setSliderPosition(value() - singleStep());
        break;
    case SliderSingleStepSub:
        setSliderPosition(value() + singleStep());
        break;
    case SliderPageStepAdd:
        setSliderPosition(value() - pageStep());
        break;
    case SliderPageStepSub:
        setSliderPosition(value() + pageStep());
        break;
    case SliderToMinimum:
        setSliderPosition(maximum());
        break;
    case SliderToMaximum:
        setSliderPosition(minimum());
        break;
    default: // a thumb drag already follows the flipped drawing
        break;
    }
}

// The wheel moves the position directly rather than by a step action, so its
// turn is mirrored here: turning it up moves the thumb up, to larger values.
void UpwardScrollBar::wheelEvent(QWheelEvent* event) {
    QWheelEvent mirrored(event->position(), event->globalPosition(), -event->pixelDelta(),
                         -event->angleDelta(), event->buttons(), event->modifiers(), event->phase(),
                         event->inverted(), event->source(), event->pointingDevice());
    QScrollBar::wheelEvent(&mirrored);
    event->setAccepted(mirrored.isAccepted());
}

} // namespace kelvane::ui
