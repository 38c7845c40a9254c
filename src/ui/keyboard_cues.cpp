#include "ui/keyboard_cues.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOption>

namespace kelvane::ui {
namespace {

void drawFocusFrame(const QStyleOption& option, QPainter* painter) {
    if (!(option.state & QStyle::State_HasFocus)) return;
    painter->save();
    painter->setPen(QPen(option.palette.color(QPalette::Highlight), 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
    painter->restore();
}

// `text` with "&" before its first word's letter that `taken` does not hold, or
// else before any such letter; as it is when it has a mnemonic or no such letter.
QString withMnemonic(const QString& text, QString& taken) {
    if (text.contains('&')) return text;
    auto free = [&](qsizetype at) {
        return text[at].isLetterOrNumber() && !taken.contains(text[at].toLower());
    };
    qsizetype chosen = -1;
    for (qsizetype at = 0; at < text.size() && chosen < 0; ++at)
        if ((at == 0 || text[at - 1].isSpace()) && free(at)) chosen = at;
    for (qsizetype at = 0; at < text.size() && chosen < 0; ++at)
        if (free(at)) chosen = at;
    if (chosen < 0) return text;
    taken += text[chosen].toLower();
    return QString(text).insert(chosen, '&');
}

// The letters already taken as mnemonics among these texts.
QString takenLetters(const QStringList& texts) {
    QString taken;
    for (const QString& text : texts) {
        const qsizetype at = text.indexOf('&');
        if (at >= 0 && at + 1 < text.size() && text[at + 1] != '&') taken += text[at + 1].toLower();
    }
    return taken;
}

void giveMenuMnemonics(QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text();
    QString taken = takenLetters(texts);
    for (QAction* action : menu->actions())
        if (!action->isSeparator()) action->setText(withMnemonic(action->text(), taken));
}

void giveButtonMnemonics(QWidget* dialog) {
    const auto buttons = dialog->findChildren<QPushButton*>();
    QStringList texts;
    for (const QPushButton* button : buttons)
        texts << button->text();
    QString taken = takenLetters(texts);
    for (QPushButton* button : buttons)
        button->setText(withMnemonic(button->text(), taken));
}

class CueGiver : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show && event->type() != QEvent::Polish) return false;
        if (auto* menu = qobject_cast<QMenu*>(watched)) {
            if (event->type() == QEvent::Show) giveMenuMnemonics(menu);
        } else if (auto* dialog = qobject_cast<QDialog*>(watched)) {
            if (event->type() == QEvent::Show) giveButtonMnemonics(dialog);
        } else if (event->type() == QEvent::Polish && takesFrame(watched)) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->style() != focusFrameStyle()) widget->setStyle(focusFrameStyle());
        }
        return false;
    }

private:
    // Whether it takes focus may be settled only after it is polished; the
    // frame shows only while it has the focus.
    static bool takesFrame(const QObject* object) {
        return qobject_cast<const QScrollBar*>(object) ||
               qobject_cast<const QAbstractScrollArea*>(object);
    }
};

} // namespace

void FocusFrameStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                         QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control == CC_ScrollBar) drawFocusFrame(*option, painter);
}

void FocusFrameStyle::drawControl(ControlElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element == CE_ShapedFrame && qobject_cast<const QAbstractScrollArea*>(widget))
        drawFocusFrame(*option, painter);
}

FocusFrameStyle* focusFrameStyle() {
    static FocusFrameStyle* style = [] {
        auto* made = new FocusFrameStyle;
        made->setParent(qApp);
        return made;
    }();
    return style;
}

void showKeyboardCues() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    qApp->installEventFilter(new CueGiver(qApp));
}

} // namespace kelvane::ui
