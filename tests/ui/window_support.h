#pragma once
// Shared by the window tests: a settings store of their own, and reading and
// setting any control of the main window through its name, the way an outside
// tool sees the window.

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "ui/main_window.h"

namespace window_support {

// Points the window's settings store into a temporary folder, so that no test
// reads or writes the user's settings. Fails the test otherwise.
inline void isolateSettings(const QTemporaryDir& dir) {
    QVERIFY(dir.isValid());
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    const QSettings probe(QSettings::defaultFormat(), QSettings::UserScope, "Kelvane", "Kelvane");
    QVERIFY2(probe.fileName().startsWith(dir.path()), qPrintable(probe.fileName()));
}

inline std::unique_ptr<QSettings> windowSettings() {
    return std::make_unique<QSettings>(QSettings::defaultFormat(), QSettings::UserScope, "Kelvane",
                                       "Kelvane");
}

// A scroll bar reads "top..bottom = value": the end drawn at the top first.
inline QString controlState(const QWidget* widget) {
    if (const auto* box = qobject_cast<const QCheckBox*>(widget))
        return box->text() + (box->isChecked() ? " [x]" : " [ ]");
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (const auto* line = qobject_cast<const QLineEdit*>(widget)) return line->text();
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(widget)) return text->toPlainText();
    if (const auto* bar = qobject_cast<const QScrollBar*>(widget)) {
        const int top = bar->invertedAppearance() ? bar->maximum() : bar->minimum();
        const int bottom = bar->invertedAppearance() ? bar->minimum() : bar->maximum();
        return QString("%1..%2 = %3").arg(top).arg(bottom).arg(bar->value());
    }
    return {};
}

// Sets a control as the program would: text, scroll value, or 0/1 for a box.
inline void setControl(QWidget* widget, const QString& value) {
    if (auto* box = qobject_cast<QCheckBox*>(widget))
        box->setChecked(value == "1");
    else if (auto* line = qobject_cast<QLineEdit*>(widget))
        line->setText(value);
    else if (auto* bar = qobject_cast<QScrollBar*>(widget))
        bar->setValue(value.toInt());
    else
        QFAIL(qPrintable("cannot set " + widget->objectName()));
}

inline QWidget* control(kelvane::ui::MainWindow& window, const QString& name) {
    auto* widget = window.findChild<QWidget*>(name);
    if (!widget) qWarning("no control named %s", qPrintable(name));
    return widget;
}

// Every named control's state and visibility, for before/after comparisons.
inline QMap<QString, QString> snapshot(kelvane::ui::MainWindow& window) {
    QMap<QString, QString> states;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        if (name.isEmpty() || name.startsWith("qt_")) continue;
        // The link's status fields report every event; they are checked on their own.
        if (name == "LinkStatus" || name == "PortStatus") continue;
        states[name] = controlState(widget) + (widget->isHidden() ? " (hidden)" : "") +
                       (widget->isEnabled() ? "" : " (disabled)") + " " +
                       widget->palette().color(QPalette::WindowText).name();
    }
    return states;
}

} // namespace window_support
