// Tools > Remote Control: a client's frequency request shown in the window as
// if typed, sent to the virtual board through the window's session, held back
// by a transfer and refused during a run.

#include <QtNetwork>

#include "link/transfers.h"
#include "pty_board.h"
#include "remote/remote_server.h"
#include "ui/main_window_controls.h"
#include "ui/remote_control.h"
#include "ui/tools_menu.h"
#include "window_support.h"

using kelvane::ui::MainWindow;
using namespace kelvane;
using namespace window_support;

namespace {

// The words of 2304.1 MHz with the start-up inputs, then 2304.2 MHz's
// frequency words.
const QByteArray all23041 = "R00000017\r\nR0000008D\r\nR0000001C\r\nR28001409\r\nR0111CE58\r\n"
                            "R001F3326\r\nRA0040005\r\nRFF4810A4\r\nR00A87303\r\nR04F42402\r\n"
                            "R01800011\r\nR41900E60\r\n";
const QByteArray quick23042 = "R04F42402\r\nR01800011\r\nR68A00E60\r\n";

// A window with the remote control on a free port, and a client on it.
struct Remote {
    Remote() {
        window.controls().CPNo->setText(QString::fromStdString(board.devicePath()));
        BoxCloser closer;
        window.controls().SetCP->click();
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            dialog->setTextValue("127.0.0.1:0");
            dialog->accept();
        });
        window.tools().remoteControl().action()->trigger();
        client.connectToHost(QHostAddress::LocalHost,
                             window.tools().remoteControl().server().listeningOn().port);
        if (!client.waitForConnected(5000)) qFatal("no connection");
    }
    QString status() const { return window.findChild<QLabel*>("RemoteStatus")->text(); }
    QByteArray ask(const QByteArray& line) {
        client.write(line);
        QTest::qWait(200);
        QByteArray answer = client.readAll();
        // Update all registers takes twelve pauses.
        for (int waited = 0; !answer.endsWith('\n') && waited < 5000; waited += 20) {
            QTest::qWait(20);
            answer += client.readAll();
        }
        return answer;
    }
    QByteArray received() const { return QByteArray::fromStdString(board.received()); }

    sim::PtyBoard board;
    MainWindow window;
    QTcpSocket client;
};

} // namespace

class TestRemoteControl : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { isolateSettings(settings_); }

    void request_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("fo");
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<QString>("status"); // %1: the port
        QTest::newRow("typed and sent whole")
            << QByteArray("F 2304100000\n") << QByteArray("RPRT 0\n") << "2304.1" << all23041
            << "Remote: 2304.100000 MHz from 127.0.0.1";
        QTest::newRow("refused: the VCO below the chip")
            << QByteArray("F 1296500000\n") << QByteArray("RPRT -1\n") << " 2320.25" << QByteArray()
            << "Remote: listening on 127.0.0.1:%1, 1 client";
    }
    void request() {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, answer);
        QFETCH(QString, fo);
        QFETCH(QByteArray, received);
        QFETCH(QString, status);
        Remote remote;
        QVERIFY(remote.window.tools().remoteControl().action()->isChecked());
        QCOMPARE(remote.ask(line), answer);
        QCOMPARE(remote.window.controls().Fo->text(), fo);
        QCOMPARE(remote.received(), received);
        QCOMPARE(remote.status(),
                 status.arg(remote.window.tools().remoteControl().server().listeningOn().port));
    }

    // A request that comes during the window's own transfer waits for it; the
    // next one sends only the frequency words. Unchecking the item drops the
    // client.
    void waitsForATransferThenQuick() {
        Remote remote;
        QCOMPARE(remote.ask("F 2304100000\n"), QByteArray("RPRT 0\n"));
        remote.client.write("F 2304200000\n");
        remote.window.controls().Update->click();
        QCOMPARE(remote.window.controls().Fo->text(), QString("2304.1"));
        QCOMPARE(remote.received(), all23041 + all23041);
        QCOMPARE(remote.ask(""), QByteArray("RPRT 0\n"));
        QCOMPARE(remote.window.controls().Fo->text(), QString("2304.2"));
        QCOMPARE(remote.received(), all23041 + all23041 + quick23042);

        remote.window.tools().remoteControl().action()->trigger();
        QVERIFY(!remote.window.findChild<QLabel*>("RemoteStatus")->isVisible());
        QTRY_COMPARE(remote.client.state(), QAbstractSocket::UnconnectedState);
    }

    void refusedDuringARun() {
        Remote remote;
        session::BoardSession& session = remote.window.boardSession();
        connect(&session, &session::BoardSession::stepSent, this,
                [&remote] { remote.client.write("F 2304100000\n"); });
        using namespace std::chrono_literals;
        session.run({"Sweep", {}, {{{link::registerLine(0x17)}, 2320.25, "2320.25", {}, 300ms}}});
        QCOMPARE(remote.ask(""), QByteArray("RPRT -9\n"));
        QCOMPARE(remote.window.controls().Fo->text(), QString(" 2320.25"));
        QCOMPARE(remote.received(), QByteArray("R00000017\r\n"));
    }

private:
    QTemporaryDir settings_;
};

QTEST_MAIN(TestRemoteControl)
#include "tst_remote_control.moc"
