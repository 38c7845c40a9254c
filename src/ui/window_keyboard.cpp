#include "ui/window_keyboard.h"

#include "ui/main_window_controls.h"

namespace kelvane::ui {

// The form gives the reading order for Tab; the scroll bars take focus from it
// as well as from a click.
void prepareKeyboard(Ui::LMX2541& c) {
    for (QScrollBar* bar : c.PlanInputs->window()->findChildren<QScrollBar*>())
        if (!bar->objectName().isEmpty() && !bar->objectName().startsWith(QLatin1String("qt_")))
            bar->setFocusPolicy(Qt::StrongFocus);
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
