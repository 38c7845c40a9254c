// kelvanectl send and read against the virtual board on a pseudo-terminal.

#include <QtTest>
#include <unistd.h>

#include "pty_board.h"
#include "run_kelvanectl.h"

using kelvane::sim::PtyBoard;

namespace {

QString device(const PtyBoard& board) {
    return QString::fromStdString(board.devicePath());
}

const QStringList divided{"--fo", "1160.125", "--odiv", "2"};

} // namespace

class TestKelvanectlLink : public QObject {
    Q_OBJECT
private slots:
    void send_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("sent");
        const QByteArray quick = "R047A1202\r\nR00000011\r\nR30D40E80\r\n";
        QTest::newRow("update all") << ""
                                    << "R00000017\r\nR000000CD\r\nR0000001C\r\nR28001409\r\n"
                                       "R0111CE58\r\nR001F3326\r\nRA0040005\r\nRFF4820A4\r\n"
                                       "R00A87303\r\n" +
                                           quick;
        QTest::newRow("quick") << "--quick" << quick;
    }

    void send() {
        QFETCH(QString, kind);
        PtyBoard board;
        const Run r = kelvanectl(QStringList{"send", "--port", device(board)} + divided +
                                 (kind.isEmpty() ? QStringList{} : QStringList{kind}));
        QCOMPARE(r.err, "");
        QCOMPARE(r.exitCode, 0);
        QTEST(QByteArray::fromStdString(board.received()), "sent");
        QVERIFY2(r.out.startsWith("OK "), r.out);
    }

    // The command it prints repeats the stored plan; the reference is not
    // stored, so the one given applies.
    void storeThenRead() {
        PtyBoard board;
        const QStringList plan = divided + QStringList{"--mux", "5", "--ext-vco", "--cpp"};
        QCOMPARE(
            kelvanectl(QStringList{"send", "--store", "--port", device(board)} + plan).exitCode, 0);
        const Run read = kelvanectl({"read", "--port", device(board), "--fr", "20"});
        QCOMPARE(read.exitCode, 0);
        const QByteArray command =
            "kelvanectl plan --fo 2320.25 --fr 20 --res 20.00 --rfmult 1 --r 1 --odiv 2 --cpg 19 "
            "--dither 1 --order 2 --mux 5 --outterm 12 --vcogain 12 --divgain 12 --ext-vco --cpp";
        QVERIFY2(read.out.startsWith(command + "\n\nFv: 4640.5 MHz\n"), read.out);
    }

    void readRefusesASilentBoard() {
        kelvane::sim::BoardOptions options;
        options.faults.noReply = true;
        PtyBoard board(options);
        const Run r = kelvanectl({"read", "--port", device(board)});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, "");
        QCOMPARE(r.err, "kelvanectl: Init from EE: no answer from the board; nothing changed\n");
    }

    // As root, kelvanectl runs as "nobody"; otherwise the terminal loses its
    // permissions.
    void permissionDeniedNamesTheGroup() {
        PtyBoard board;
        Run r;
        if (::geteuid() == 0) {
            if (QStandardPaths::findExecutable("setpriv").isEmpty())
                QSKIP("setpriv is needed to drop root");
            r = run("setpriv", {"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                                KELVANECTL_PATH, "send", "--port", device(board)});
        } else {
            QVERIFY(QFile::setPermissions(device(board), {}));
            r = kelvanectl({"send", "--port", device(board)});
        }
        const QByteArray group = QFileInfo(device(board)).group().toUtf8();
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err, "kelvanectl: Invalid COM port: Permission denied for " +
                            device(board).toUtf8() + ": your user must be in the group \"" + group +
                            "\" that owns it (sudo usermod -aG " + group +
                            " $USER), then log in again.\n");
    }
};

QTEST_GUILESS_MAIN(TestKelvanectlLink)
#include "tst_kelvanectl_link.moc"
