// Every scroll bar of the main window moves towards the end drawn at its top
// with the up arrow, the track above the thumb, the Up, Page Up and Home keys
// and the wheel turned up, whether that end is its smallest or its largest
// value.

#include <QStyleOptionSlider>
#include <QWheelEvent>
#include <QtTest>

#include "ui/main_window_controls.h"
#include "window_support.h"

using kelvane::ui::MainWindow;
using namespace window_support;

namespace {

// The style's own description of a scroll bar, to find its arrows, track and
// thumb as they are drawn.
struct StyleOptionReader : QScrollBar {
    using QScrollBar::initStyleOption;
};

QRect partOf(QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    static_cast<StyleOptionReader*>(bar)->initStyleOption(&option);
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

void click(QScrollBar* bar, QStyle::SubControl part) {
    const QRect rect = partOf(bar, part);
    QVERIFY2(!rect.isEmpty(), "part not drawn");
    QTest::mouseClick(bar, Qt::LeftButton, {}, rect.center());
}

void turnWheel(QScrollBar* bar, int angle) {
    const QPointF at(bar->width() / 2.0, bar->height() / 2.0);
    QWheelEvent event(at, bar->mapToGlobal(at), {}, QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &event);
}

} // namespace

class TestScrollBars : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void upMovesTowardsTheTop_data();
    void upMovesTowardsTheTop();
    void thumbStandsNearItsValuesEnd_data();
    void thumbStandsNearItsValuesEnd();

private:
    QTemporaryDir settingsDir_;
    std::unique_ptr<MainWindow> window_;
    QScrollBar* bar_ = nullptr;
};

void TestScrollBars::initTestCase() {
    isolateSettings(settingsDir_);
}

void TestScrollBars::init() {
    window_ = std::make_unique<MainWindow>();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QFETCH(QString, name);
    bar_ = window_->findChild<QScrollBar*>(name);
    QVERIFY(bar_);
}

void TestScrollBars::cleanup() {
    window_.reset();
}

static void barRows() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("bottom");
    QTest::newRow("CPGscroll") << "CPGscroll" << 31 << 0;
    QTest::newRow("Mux") << "Mux" << 13 << 0;
    QTest::newRow("OutTerm") << "OutTerm" << 15 << 0;
    QTest::newRow("VcoGain") << "VcoGain" << 15 << 0;
    QTest::newRow("DivGain") << "DivGain" << 15 << 0;
    QTest::newRow("Rscroll") << "Rscroll" << 1 << 4096;
    QTest::newRow("Odiv") << "Odiv" << 1 << 63;
    QTest::newRow("Dither") << "Dither" << 0 << 3;
    QTest::newRow("Order") << "Order" << 0 << 4;
    QTest::newRow("ChgWSJT") << "ChgWSJT" << 0 << 15;
}

void TestScrollBars::upMovesTowardsTheTop_data() {
    barRows();
}

void TestScrollBars::upMovesTowardsTheTop() {
    QFETCH(int, top);
    QFETCH(int, bottom);
    const int up = top > bottom ? 1 : -1;
    const int middle = (top + bottom) / 2;
    bar_->setValue(middle);
    bar_->setFocus();

    click(bar_, QStyle::SC_ScrollBarSubLine);
    QCOMPARE(bar_->value(), middle + up);
    click(bar_, QStyle::SC_ScrollBarAddLine);
    QCOMPARE(bar_->value(), middle);

    QTest::keyClick(bar_, Qt::Key_Up);
    QCOMPARE(bar_->value(), middle + up);
    QTest::keyClick(bar_, Qt::Key_Down);
    QCOMPARE(bar_->value(), middle);
    QTest::keyClick(bar_, Qt::Key_PageUp);
    QCOMPARE(bar_->value(), middle + up);
    QTest::keyClick(bar_, Qt::Key_PageDown);
    QCOMPARE(bar_->value(), middle);

    click(bar_, QStyle::SC_ScrollBarSubPage);
    QCOMPARE(bar_->value(), middle + up);
    click(bar_, QStyle::SC_ScrollBarAddPage);
    QCOMPARE(bar_->value(), middle);

    turnWheel(bar_, 120);
    QCOMPARE((bar_->value() - middle) * up > 0, true);
    bar_->setValue(middle);
    turnWheel(bar_, -120);
    QCOMPARE((bar_->value() - middle) * up < 0, true);

    QTest::keyClick(bar_, Qt::Key_Home);
    QCOMPARE(bar_->value(), top);
    QTest::keyClick(bar_, Qt::Key_End);
    QCOMPARE(bar_->value(), bottom);
}

void TestScrollBars::thumbStandsNearItsValuesEnd_data() {
    barRows();
}

void TestScrollBars::thumbStandsNearItsValuesEnd() {
    QFETCH(int, top);
    QFETCH(int, bottom);
    const int halfway = bar_->height() / 2;
    bar_->setValue(top);
    QVERIFY(partOf(bar_, QStyle::SC_ScrollBarSlider).center().y() < halfway);
    bar_->setValue(bottom);
    QVERIFY(partOf(bar_, QStyle::SC_ScrollBarSlider).center().y() > halfway);
}

QTEST_MAIN(TestScrollBars)
#include "tst_scroll_bars.moc"
