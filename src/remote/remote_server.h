#pragma once
// The remote-control server: the rig-control line protocol (rig_protocol.h)
// on a TCP port, for at most four clients at once.
//
// Everything runs on the caller's thread. Questions are answered at once; a
// frequency request is planned from the board's inputs as they stand, waits
// while the board is busy and is refused while the inputs are locked. A
// client's lines are answered in order; a line over 1 KiB ends its
// connection, and a client that says nothing holds nothing up.

#include <QHostAddress>
#include <QObject>
#include <QTimer>
#include <optional>

#include "model/registers.h"
#include "remote/remote_board.h"

class QTcpServer;
class QTcpSocket;

namespace kelvane::remote {

inline constexpr quint16 defaultPort = 4532;
inline constexpr int mostClients = 4;

// "127.0.0.1:4532", "[::1]:4532", "4532" (on the loopback address): the
// address to listen on, or nothing. Port 0 takes any free port.
struct ListenAddress {
    QHostAddress host;
    quint16 port = defaultPort;
};
std::optional<ListenAddress> readListenAddress(const QString& text);
QString listenAddressText(const ListenAddress& address);

class RemoteServer : public QObject {
    Q_OBJECT
public:
    explicit RemoteServer(RemoteBoard& board, QObject* parent = nullptr);
    ~RemoteServer() override;

    // False with errorString() when the address cannot be taken.
    bool listen(const ListenAddress& address);
    QString errorString() const;
    bool isListening() const;
    // The address taken, with the port chosen when 0 was asked for.
    ListenAddress listeningOn() const;
    // Stops listening and drops every client.
    void close();
    int clientCount() const;
    // "Remote: listening on 127.0.0.1:4532, 1 client"
    QString statusText() const;

signals:
    void clientsChanged();
    // A frequency request went out to the board.
    void retuned(double mhz, const QString& from);

private:
    void accept();
    void serve();
    // Answers the client's next whole line; false when it must wait.
    bool answerLine(QTcpSocket* client);
    int setFrequency(const std::string& argument, const QString& from);

    RemoteBoard& board_;
    QTcpServer* server_;
    QList<QTcpSocket*> clients_;
    QTimer retry_;
    std::optional<RegisterImage> boardHas_; // the words last sent whole
    bool serving_ = false;
    bool again_ = false;
};

} // namespace kelvane::remote
