#pragma once
// The window tests' own settings store, controls driven and read by name, and a box closer.

#include <QtTest>
#include <QtWidgets>
#include <memory>

#include "ui/main_window.h"
#include "ui/window_state.h"

namespace window_support {

// No test reads or writes the user's settings.
inline void isolateSettings(const QTemporaryDir& dir) {
    QVERIFY(dir.isValid());
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
}

inline std::unique_ptr<QSettings> windowSettings() {
    return std::make_unique<QSettings>(QSettings::defaultFormat(), QSettings::UserScope, "Kelvane",
                                       "Kelvane");
}

// A control's state: its text, " [x]" or " [ ]" for a box, and "top..bottom =
// value" for a scroll bar, the end drawn at the top first; then " (hidden)",
// " (disabled)" and the text colour where it is not the style's own.
inline QString shownState(const QWidget* widget) {
    QString state;
    if (const auto* box = qobject_cast<const QCheckBox*>(widget))
        state = box->text() + (box->isChecked() ? " [x]" : " [ ]");
    else if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        state = button->text();
    else if (const auto* label = qobject_cast<const QLabel*>(widget))
        state = label->text();
    else if (const auto* line = qobject_cast<const QLineEdit*>(widget))
        state = line->text();
    else if (const auto* text = qobject_cast<const QPlainTextEdit*>(widget))
        state = text->toPlainText();
    else if (const auto* bar = qobject_cast<const QScrollBar*>(widget)) {
        int ends[]{bar->minimum(), bar->maximum()};
        if (bar->invertedAppearance()) std::swap(ends[0], ends[1]);
        state = QString("%1..%2 = %3").arg(ends[0]).arg(ends[1]).arg(bar->value());
    }
    if (widget->isHidden()) state += " (hidden)";
    if (!widget->isEnabled()) state += " (disabled)";
    const QColor colour = widget->palette().color(QPalette::Active, QPalette::WindowText);
    if (colour != QApplication::palette(widget).color(QPalette::Active, QPalette::WindowText))
        state += " " + colour.name();
    return state;
}

// The shown states of blank-separated control names joined by "|"; "Name:3"
// stands for the third line of the control's text.
inline QString shownStates(const QWidget& window, const QString& names) {
    QStringList states;
    for (const QString& entry : names.split(' ')) {
        const QStringList parts = entry.split(':');
        const QWidget* widget = window.findChild<QWidget*>(parts[0]);
        const QString state = widget ? shownState(widget) : "(no " + parts[0] + ")";
        states << (parts.size() > 1 ? state.split('\n').value(parts[1].toInt() - 1) : state);
    }
    return states.join('|');
}

// Every named control's shown state, for before-and-after comparisons; the
// link's status fields report every event and are checked on their own.
inline QMap<QString, QString> snapshot(const QWidget& window) {
    QMap<QString, QString> states;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        if (name.isEmpty() || name.startsWith("qt_") || name == "LinkStatus" ||
            name == "PortStatus")
            continue;
        states[name] = shownState(widget);
    }
    return states;
}

// Runs ';'-separated actions on the window: "Name=value" sets a control as the
// program would (a box takes 0 or 1), "Name" clicks it, "Name*3" clicks it
// three times; "hold" takes a recalculation hold and "ready" ends it.
inline void act(kelvane::ui::MainWindow& window, const QString& actions) {
    std::unique_ptr<kelvane::ui::RecalculationHold> hold;
    for (const QString& action : actions.split(';', Qt::SkipEmptyParts)) {
        if (action == "hold" || action == "ready") {
            hold.reset();
            if (action == "hold")
                hold = std::make_unique<kelvane::ui::RecalculationHold>(window.holdRecalculation());
            continue;
        }
        const qsizetype equals = action.indexOf('=');
        const QStringList clicks = action.left(equals).split('*');
        QWidget* widget = window.findChild<QWidget*>(clicks[0]);
        QVERIFY2(widget, qPrintable("no control for " + action));
        const QString value = action.mid(equals + 1);
        if (equals < 0) {
            for (int i = 0; i < clicks.value(1, "1").toInt(); ++i)
                if (auto* button = qobject_cast<QAbstractButton*>(widget))
                    button->click();
                else
                    QTest::mouseClick(widget, Qt::LeftButton);
        } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            box->setChecked(value == "1");
        } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            line->setText(value);
        } else if (auto* bar = qobject_cast<QScrollBar*>(widget)) {
            bar->setValue(value.toInt());
        }
    }
}

// Writes a setup file of the given JSON members into the folder.
inline QString writeSetup(const QTemporaryDir& dir, const QString& name,
                          const QByteArray& members) {
    QFile file(dir.filePath(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(R"({"format": "kelvane-setup", "version": 1, )" + members + "}");
    return file.fileName();
}

// Closes the next modal message box with `button` and keeps what it showed.
// Armed before the click that opens the box, whose own event loop runs the timer.
class BoxCloser {
public:
    explicit BoxCloser(QMessageBox::StandardButton button = QMessageBox::Ok) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            timer_.stop();
            text = box->windowTitle() + ": " + box->text();
            QStringList texts;
            for (const QAbstractButton* shown : box->buttons())
                texts << shown->text();
            texts.sort();
            buttons = texts.join(' ');
            detail = box->detailedText();
            icon = box->icon();
            box->button(button)->click();
        });
        timer_.start();
    }
    bool shown() const { return !text.isEmpty(); }
    QString text, detail, buttons; // buttons: their texts, sorted
    QMessageBox::Icon icon = QMessageBox::NoIcon;

private:
    QTimer timer_;
};

} // namespace window_support
