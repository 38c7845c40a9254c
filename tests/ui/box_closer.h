#pragma once
// Closes the next modal message box with OK and keeps what it showed. Armed
// before the click that opens the box: the box runs its own event loop, in
// which the timer fires.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

class BoxCloser {
public:
    BoxCloser() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            timer_.stop();
            title = box->windowTitle();
            text = box->text();
            detail = box->detailedText();
            icon = box->icon();
            box->button(QMessageBox::Ok)->click();
        });
        timer_.start();
    }
    bool shown() const { return !title.isEmpty(); }
    QString title, text, detail;
    QMessageBox::Icon icon = QMessageBox::NoIcon;

private:
    QTimer timer_;
};
