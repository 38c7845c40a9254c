// Text from outside shown safely: control characters escaped, bytes that are no
// UTF-8 replaced, and long texts cut at a whole character or escape.

#include <QtTest>

#include "model/display_text.h"

namespace {

const QByteArray fffd = "\xEF\xBF\xBD"; // U+FFFD

} // namespace

class TestDisplayText : public QObject {
    Q_OBJECT
private slots:
    void escaped_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("shown");
        QTest::newRow("plain and UTF-8 kept")
            << QByteArray("10368 LO \xC3\xBC \xE2\x82\xAC \xF0\x9F\x98\x80 \\")
            << QByteArray("10368 LO \xC3\xBC \xE2\x82\xAC \xF0\x9F\x98\x80 \\");
        QTest::newRow("ESC sequence") << QByteArray("\x1b[2J") << QByteArray("\\x1b[2J");
        QTest::newRow("NUL, tab, line ends")
            << QByteArray("a\0b\tc\r\n", 7) << QByteArray("a\\0b\\tc\\r\\n");
        QTest::newRow("DEL and the last C0") << QByteArray("\x7f\x1f") << QByteArray("\\x7f\\x1f");
        QTest::newRow("C1 control") << QByteArray("\xC2\x9B") << QByteArray("\\u009b");
        QTest::newRow("no-break space kept") << QByteArray("\xC2\xA0") << QByteArray("\xC2\xA0");
        QTest::newRow("stray byte") << QByteArray("a\xFFz") << "a" + fffd + "z";
        QTest::newRow("overlong /") << QByteArray("\xC0\xAF") << fffd + fffd;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << fffd + fffd + fffd;
        QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << fffd.repeated(4);
        QTest::newRow("sequence cut at the end") << QByteArray("\xE2\x82") << fffd + fffd;
        QTest::newRow("bad third byte") << QByteArray("\xE2\x82"
                                                      "A")
                                        << fffd + fffd + "A";
        QTest::newRow("highest of each length kept")
            << QByteArray("\xDF\xBF\xEF\xBF\xBD\xF4\x8F\xBF\xBF")
            << QByteArray("\xDF\xBF\xEF\xBF\xBD\xF4\x8F\xBF\xBF");
        QTest::newRow("overlong three and four bytes")
            << QByteArray("\xE0\x9F\xBF\xF0\x8F\xBF\xBF") << fffd.repeated(7);
        QTest::newRow("no lead byte") << QByteArray("\xF5\x80") << fffd + fffd;
    }
    void escaped() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, shown);
        QCOMPARE(QByteArray::fromStdString(kelvane::escapedText(bytes.toStdString())), shown);
    }

    void elided_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("shown"); // at most 10 characters
        QTest::newRow("short") << QByteArray("abc") << QByteArray("abc");
        QTest::newRow("exactly 10") << QByteArray("abcdefghij") << QByteArray("abcdefghij");
        QTest::newRow("11") << QByteArray("abcdefghijk") << QByteArray("abcdefg...");
        QTest::newRow("a UTF-8 character is one")
            << QByteArray("\xC3\xBC").repeated(11) << QByteArray("\xC3\xBC").repeated(7) + "...";
        QTest::newRow("an escape is not split")
            << QByteArray("\x1b\x1b\x1b") << QByteArray("\\x1b...");
    }
    void elided() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, shown);
        QCOMPARE(QByteArray::fromStdString(kelvane::elidedText(bytes.toStdString(), 10)), shown);
    }
};

QTEST_GUILESS_MAIN(TestDisplayText)
#include "tst_display_text.moc"
