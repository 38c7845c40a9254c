#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <algorithm>
#include <memory>

#include "window_text/window_position.h"

namespace kelvane::ui {
namespace {

constexpr auto defaultLeft = "0";
constexpr auto defaultTop = "100";

const QString leftKey = QStringLiteral("FormPLace/Left");
const QString topKey = QStringLiteral("FormPLace/Top");

// The store's default format is the platform's own (the registry on Windows,
// a file elsewhere); tests point it at a temporary place.
std::unique_ptr<QSettings> openSettings() {
    return std::make_unique<QSettings>(QSettings::defaultFormat(), QSettings::UserScope,
                                       QStringLiteral("Kelvane"), QStringLiteral("Kelvane"));
}

QPointF logicalDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {96, 96};
    return {screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY()};
}

bool onSomeScreen(const QRect& frame) {
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&](const QScreen* screen) { return screen->geometry().intersects(frame); });
}

} // namespace

void WindowPlacement::restore(QWidget& window, QSize windowSize) {
    const auto settings = openSettings();
    // A store that cannot be read or parsed holds no position at all; a key
    // that holds text without a number still reads as 0.
    auto stored = [&](const QString& key, const char* fallback) {
        if (settings->status() != QSettings::NoError) return storedTwips(fallback);
        return storedTwips(settings->value(key, fallback).toString().toStdString());
    };
    restoredTop_ = stored(topKey, defaultTop);
    restoredLeft_ = stored(leftKey, defaultLeft);

    const QPointF dpi = logicalDpi();
    QPoint position(pixelsFromTwips(restoredLeft_, dpi.x()),
                    pixelsFromTwips(restoredTop_, dpi.y()));
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary && !onSomeScreen(QRect(position, windowSize))) {
        position = primary->availableGeometry().topLeft() +
                   QPoint(pixelsFromTwips(storedTwips(defaultLeft), dpi.x()),
                          pixelsFromTwips(storedTwips(defaultTop), dpi.y()));
        restoredLeft_ = twipsFromPixels(position.x(), dpi.x());
        restoredTop_ = twipsFromPixels(position.y(), dpi.y());
    }
    restoredPixels_ = position;
    restored_ = true;
    window.move(position);
}

void WindowPlacement::save(const QWidget& window) const {
    const QPoint position = window.pos();
    float left = restoredLeft_;
    float top = restoredTop_;
    if (!restored_ || position.x() != restoredPixels_.x())
        left = twipsFromPixels(position.x(), logicalDpi().x());
    if (!restored_ || position.y() != restoredPixels_.y())
        top = twipsFromPixels(position.y(), logicalDpi().y());
    const auto settings = openSettings();
    settings->setValue(leftKey, QString::fromStdString(twipsText(left)));
    settings->setValue(topKey, QString::fromStdString(twipsText(top)));
}

} // namespace kelvane::ui
