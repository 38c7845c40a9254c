#include "ui/text_box.h"

#include <QFontDatabase>

namespace kelvane::ui {

void useFixedPitch(QPlainTextEdit* box) {
    box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

void replaceText(QPlainTextEdit* box, const std::string& text) {
    box->setPlainText(QString::fromStdString(text).replace("\r\n", "\n"));
}

} // namespace kelvane::ui
