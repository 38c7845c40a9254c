// A scroll bar of the main window moves towards the end drawn at its top with
// the up arrow, the Up key, the track above the thumb, the Home key and the
// wheel turned up, whether that end is its largest value or its smallest.

#include <QStyleOptionSlider>
#include <QWheelEvent>
#include <QtTest>

#include "window_support.h"

using kelvane::ui::MainWindow;
using namespace window_support;

namespace {

// Clicks a part of the bar where the style draws it.
void click(QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    const QRect rect = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
    QVERIFY2(!rect.isEmpty(), "part not drawn");
    QTest::mouseClick(bar, Qt::LeftButton, {}, rect.center());
}

void turnWheelUp(QScrollBar* bar) {
    const QPointF at(bar->width() / 2.0, bar->height() / 2.0);
    QWheelEvent event(at, bar->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &event);
}

} // namespace

class TestScrollBars : public QObject {
    Q_OBJECT
    QTemporaryDir settingsDir_;

private slots:
    void initTestCase() { isolateSettings(settingsDir_); }

    void upMovesTowardsTheTop_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("bottom");
        QTest::newRow("largest value at the top") << "CPGscroll" << 31 << 0;
        QTest::newRow("smallest value at the top") << "Odiv" << 1 << 63;
    }

    void upMovesTowardsTheTop() {
        QFETCH(QString, name);
        QFETCH(int, top);
        QFETCH(int, bottom);
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* bar = window.findChild<QScrollBar*>(name);
        QVERIFY(bar);
        const int up = top > bottom ? 1 : -1;
        const int middle = (top + bottom) / 2;
        bar->setValue(middle);
        bar->setFocus();

        click(bar, QStyle::SC_ScrollBarSubLine);
        QCOMPARE(bar->value(), middle + up);
        click(bar, QStyle::SC_ScrollBarAddLine);
        QCOMPARE(bar->value(), middle);
        QTest::keyClick(bar, Qt::Key_Up);
        QCOMPARE(bar->value(), middle + up);
        QTest::keyClick(bar, Qt::Key_Down);
        QCOMPARE(bar->value(), middle);
        click(bar, QStyle::SC_ScrollBarSubPage);
        QCOMPARE(bar->value(), middle + up);
        click(bar, QStyle::SC_ScrollBarAddPage);
        QCOMPARE(bar->value(), middle);
        turnWheelUp(bar);
        QVERIFY((bar->value() - middle) * up > 0);
        QTest::keyClick(bar, Qt::Key_Home);
        QCOMPARE(bar->value(), top);
        QTest::keyClick(bar, Qt::Key_End);
        QCOMPARE(bar->value(), bottom);
    }
};

QTEST_MAIN(TestScrollBars)
#include "tst_scroll_bars.moc"
