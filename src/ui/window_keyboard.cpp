#include "ui/window_keyboard.h"

#include "ui/main_window_controls.h"

namespace kelvane::ui {

void prepareKeyboard(Ui::LMX2541& c) {
    const QList<QWidget*> readingOrder{
        c.Fo,      c.Fr,      c.Res,     c.RFMultText,  c.Rscroll, c.RefDbl,
        c.Odiv,    c.LockFo,  c.ExtVCO,  c.CPGscroll,   c.CPP,     c.Mux,
        c.Order,   c.Dither,  c.OutTerm, c.VcoGain,     c.DivGain, c.Text1,
        c.CPNo,    c.SetCP,   c.Update,  c.QuickUpdate, c.StoreEE, c.Init,
        c.ChgWSJT, c.QStepUp, c.QStepDn, c.Reg2FSK,     c.Export};
    for (QWidget* control : readingOrder)
        if (qobject_cast<QScrollBar*>(control)) control->setFocusPolicy(Qt::StrongFocus);
    for (qsizetype i = 1; i < readingOrder.size(); ++i)
        QWidget::setTabOrder(readingOrder[i - 1], readingOrder[i]);
    // Tab leaves the console instead of typing a tab into it.
    c.Text1->setTabChangesFocus(true);

    QObject::connect(c.CPNo, &QLineEdit::returnPressed, c.SetCP, &QPushButton::click);

    // Hidden buttons take no shortcut, so these act only with the port open.
    c.Update->setShortcut(QKeySequence(Qt::Key_F5));
    c.QuickUpdate->setShortcut(QKeySequence(Qt::Key_F6));
    c.StoreEE->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    c.Init->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    c.VerifyEE->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    c.QStepUp->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up));
    c.QStepDn->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down));
}

} // namespace kelvane::ui
