#include "ui/text_box.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <algorithm>

namespace kelvane::ui {

bool evenAdvance(const QFont& font) {
    const QFontMetrics metrics(font);
    const int advance = metrics.horizontalAdvance(QLatin1Char('0'));
    for (char ch = ' '; ch <= '~'; ++ch)
        if (metrics.horizontalAdvance(QLatin1Char(ch)) != advance) return false;
    return true;
}

QFont listingFont() {
    const QFont system = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (evenAdvance(system)) return system;
    QStringList families = QFontDatabase::families();
    // The flagged families are the likeliest; the others are tried too.
    std::stable_partition(families.begin(), families.end(), [](const QString& family) {
        return QFontDatabase::isFixedPitch(family);
    });
    for (const QString& family : families) {
        QFont font(family, system.pointSize());
        if (evenAdvance(font)) return font;
    }
    return system;
}

void useFixedPitch(QPlainTextEdit* box) {
    box->setFont(listingFont());
}

void replaceText(QPlainTextEdit* box, const std::string& text) {
    box->setPlainText(QString::fromStdString(text).replace("\r\n", "\n"));
}

} // namespace kelvane::ui
