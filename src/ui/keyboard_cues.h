#pragma once
// What shows where the keys act, in every window of the program: a focus frame
// on the scroll bars and text areas, which the styles leave unmarked, and a
// mnemonic on every menu item and dialog button that has none.

#include <QProxyStyle>
#include <QString>

namespace kelvane::ui {

// Draws a frame in the palette's highlight colour around a focused scroll bar
// or framed text area, over whatever the style beneath draws.
class FocusFrameStyle : public QProxyStyle {
    Q_OBJECT
public:
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
};

// The style every scroll bar and text area of the program's windows takes.
FocusFrameStyle* focusFrameStyle();

// From now on, gives a focus frame to each scroll bar and text area and a
// mnemonic to each menu item and dialog button as its window is first shown.
// Once for the application; later calls do nothing.
void showKeyboardCues();

} // namespace kelvane::ui
