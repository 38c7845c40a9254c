// A setup file's "beacon" object: written and read back whole, and every
// fault refused with the field named.

#include <QTest>

#include "setup/setup_file.h"

using namespace kelvane;

namespace {

QString parsed(const QByteArray& beacon) {
    const QByteArray text =
        R"({"format": "kelvane-setup", "version": 1, "beacon": )" + beacon + "}";
    const auto read = setup::parseSetup(text, "b.kelvane");
    if (const auto* error = std::get_if<setup::SetupError>(&read)) return error->message;
    const auto& sequence = std::get<setup::Setup>(read).beacon;
    return sequence ? QString("%1 elements, %2 s")
                          .arg(sequence->elements.size())
                          .arg(sequence->periodSeconds)
                    : "no beacon";
}

} // namespace

class TestBeaconObject : public QObject {
    Q_OBJECT
private slots:
    // Every mode with its own fields survives a write and a read.
    void roundTrip() {
        setup::Setup written;
        written.name = "Beacon";
        written.beacon = beacon::mixedSequence("OZ7IGY", "JO55WM", 10, -250.5);
        written.beacon->elements.push_back(
            {beacon::Mode::Jt4, "OZ7IGY \"X\"", 1.5, 'F', 12, -400, 0});
        written.beacon->periodSeconds = 120;
        const auto read = setup::parseSetup(setup::setupText(written, std::nullopt), "b.kelvane");
        QVERIFY(std::holds_alternative<setup::Setup>(read));
        QCOMPARE(std::get<setup::Setup>(read), written);
    }

    void reading_data() {
        QTest::addColumn<QByteArray>("beacon");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("defaults") << QByteArray(
                                         R"({"elements": [{"mode": "pi4", "message": "A"}]})")
                                  << "1 elements, 60 s";
        QTest::newRow("not an object")
            << QByteArray("[]") << "b.kelvane: \"beacon\" must be an object, not []";
        QTest::newRow("no elements") << QByteArray(R"({"period": 60})")
                                     << "b.kelvane: \"beacon\": \"elements\" is missing; give "
                                        "the list of elements";
        QTest::newRow("elements not a list")
            << QByteArray(R"({"elements": {}})")
            << "b.kelvane: \"beacon\": \"elements\" must be a list "
               "of elements, not {}";
        QTest::newRow("unknown mode")
            << QByteArray(R"({"elements": [{"mode": "ft8"}]})")
            << "b.kelvane: \"beacon\" element 1: \"mode\" must be \"pi4\", \"jt4\", \"wspr\", "
               "\"cw\" or \"carrier\", not \"ft8\"";
        QTest::newRow("start as text")
            << QByteArray(
                   R"({"elements": [{"mode": "cw", "message": "E"}, {"mode": "cw", "start": "25"}]})")
            << "b.kelvane: \"beacon\" element 2: \"start\" must be a number, not \"25\"";
        QTest::newRow("period as text")
            << QByteArray(R"({"period": "60", "elements": []})")
            << "b.kelvane: \"beacon\": \"period\" must be a number, not \"60\"";
        QTest::newRow("sub-mode of two letters")
            << QByteArray(R"({"elements": [{"mode": "jt4", "submode": "AB"}]})")
            << "b.kelvane: \"beacon\" element 1: \"submode\" must be one letter A to G, not \"AB\"";
    }
    void reading() {
        QFETCH(QByteArray, beacon);
        QTEST(parsed(beacon), "outcome");
    }
};

QTEST_GUILESS_MAIN(TestBeaconObject)
#include "tst_beacon_object.moc"
