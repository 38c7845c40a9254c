#pragma once
// Small bridges from the model's texts and colours to the widgets.

#include <QLabel>
#include <QPalette>
#include <optional>
#include <string>

#include "model/colour.h"

namespace kelvane::ui {

inline QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

inline void setTextColour(QWidget* widget, Colour colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(colour.red, colour.green, colour.blue));
    widget->setPalette(palette);
}

// A caption the model may leave undecided keeps the label's current text.
inline void setCaption(QLabel* label, const std::optional<std::string>& text) {
    if (text) label->setText(qText(*text));
}

} // namespace kelvane::ui
