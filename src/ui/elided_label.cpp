#include "ui/elided_label.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QStyle>

namespace kelvane::ui {
namespace {

// Paints the label's text cut to its width; keeps the tooltip it set apart
// from one the label had of its own.
class Elider : public QObject {
public:
    explicit Elider(QLabel* label) : QObject(label), label_(label) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != label_ || event->type() != QEvent::Paint) return false;
        const QRect room = label_->contentsRect().adjusted(label_->margin(), label_->margin(),
                                                           -label_->margin(), -label_->margin());
        const QString shown =
            label_->fontMetrics().elidedText(label_->text(), Qt::ElideRight, room.width());
        const QString tip = shown == label_->text() ? QString() : label_->text();
        if (label_->toolTip() == ownTip_ && tip != ownTip_) {
            label_->setToolTip(tip);
            ownTip_ = tip;
        }
        QPainter painter(label_);
        label_->style()->drawItemText(&painter, room, int(label_->alignment()), label_->palette(),
                                      label_->isEnabled(), shown, label_->foregroundRole());
        return true;
    }

private:
    QLabel* label_;
    QString ownTip_;
};

} // namespace

void elideWhenLong(QLabel* label) {
    label->setMinimumWidth(1);
    QSizePolicy policy = label->sizePolicy();
    policy.setHorizontalPolicy(QSizePolicy::Ignored);
    label->setSizePolicy(policy);
    label->setWordWrap(false);
    label->installEventFilter(new Elider(label));
}

} // namespace kelvane::ui
