#include "ui/vco_coverage.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "model/conversions.h"
#include "model/plan.h"

namespace kelvane::ui {
namespace {

// One row per variant, one for the scale below them.
constexpr int rows = static_cast<int>(chipVcoRanges.size()) + 1;

QString variantName(const ChipVcoRange& range) {
    return QString::fromLatin1(range.variant).trimmed();
}

} // namespace

VcoCoverage::VcoCoverage(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void VcoCoverage::setFrequency(double fvco) {
    if (fvco == fvco_) return;
    fvco_ = fvco;
    setToolTip(QString::fromStdString("Fvco " + format(fvco, "0000.0####") + " MHz"));
    update();
}

QSize VcoCoverage::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(QLatin1Char('0')) * 36, metrics.height() * rows + 4};
}

QSize VcoCoverage::minimumSizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(QLatin1Char('0')) * 24, metrics.height() * rows + 4};
}

void VcoCoverage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics(font());
    const int rowHeight = (height() - 4) / rows;
    const double left = 2;
    const double span = width() - 4;
    auto x = [&](double mhz) {
        return left + (mhz - chipVcoLowest) / (chipVcoHighest - chipVcoLowest) * span;
    };

    const QColor ink = palette().color(QPalette::WindowText);
    const QColor bar = palette().color(QPalette::Highlight);

    // Variant bars, names beside them on the side with more room.
    for (int i = 0; i < static_cast<int>(chipVcoRanges.size()); ++i) {
        const auto& range = chipVcoRanges[static_cast<std::size_t>(i)];
        const QRectF rect(x(range.lower), 2 + i * rowHeight + rowHeight * 0.2,
                          x(range.upper) - x(range.lower), rowHeight * 0.6);
        painter.fillRect(rect, bar);
        const QString name = variantName(range);
        const double nameWidth = metrics.horizontalAdvance(name) + 4;
        const bool nameOnRight = rect.right() + nameWidth <= left + span;
        const QRectF textRect =
            nameOnRight
                ? QRectF(rect.right() + 4, 2 + i * rowHeight, nameWidth, rowHeight)
                : QRectF(rect.left() - nameWidth, 2 + i * rowHeight, nameWidth - 4, rowHeight);
        painter.setPen(ink);
        painter.drawText(textRect,
                         Qt::AlignVCenter | (nameOnRight ? Qt::AlignLeft : Qt::AlignRight), name);
    }

    // The scale: the chip's whole range with its two ends.
    const double scaleTop = 2 + (rows - 1) * rowHeight;
    painter.setPen(ink);
    painter.drawLine(QPointF(left, scaleTop + 1), QPointF(left + span, scaleTop + 1));
    const QRectF labels(left, scaleTop + 1, span, rowHeight);
    painter.drawText(labels, Qt::AlignLeft | Qt::AlignVCenter, QString::number(chipVcoLowest));
    painter.drawText(labels, Qt::AlignRight | Qt::AlignVCenter, QString::number(chipVcoHighest));

    // The marker; outside the chip's range it stands red at the nearer end.
    const bool inRange = fvco_ >= chipVcoLowest && fvco_ <= chipVcoHighest;
    const double markerX = std::isnan(fvco_) ? left : std::clamp(x(fvco_), left, left + span);
    QPen marker(inRange ? ink : QColor(255, 0, 0));
    marker.setWidthF(2);
    painter.setPen(marker);
    painter.drawLine(QPointF(markerX, 1), QPointF(markerX, scaleTop + 1));
}

} // namespace kelvane::ui
