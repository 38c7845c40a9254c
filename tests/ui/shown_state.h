#pragma once
// What a user sees of a group of controls, as one text, so that one check or
// table row covers a control together with its caption or its neighbours.

#include <QApplication>

#include "window_support.h"

namespace window_support {

// The control's state (see controlState), then " (hidden)" for a hidden
// control and the text colour where it is not the style's own; a colour that
// changes while the window is inactive shows as well.
inline QString shownState(const QWidget* widget) {
    QString state = controlState(widget) + (widget->isHidden() ? " (hidden)" : "");
    const QPalette& palette = widget->palette();
    const QColor colour = palette.color(QPalette::Active, QPalette::WindowText);
    if (colour != QApplication::palette(widget).color(QPalette::Active, QPalette::WindowText))
        state += " " + colour.name();
    if (palette.color(QPalette::Inactive, QPalette::WindowText) != colour)
        state += " inactive " + palette.color(QPalette::Inactive, QPalette::WindowText).name();
    return state;
}

// The shown states of the controls in a blank-separated list of names, found
// anywhere within the window, joined by "|".
inline QString shownStates(const QWidget& window, const QString& names) {
    QStringList states;
    for (const QString& name : names.split(' ')) {
        const auto* widget = window.findChild<QWidget*>(name);
        states << (widget ? shownState(widget) : "(no " + name + ")");
    }
    return states.join('|');
}

} // namespace window_support
