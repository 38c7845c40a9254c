#include "remote/remote_server.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>

#include "remote/remote_texts.h"
#include "remote/retune_plan.h"
#include "remote/rig_protocol.h"

namespace kelvane::remote {
namespace {

// How often a waiting frequency request looks whether the board is free.
constexpr std::chrono::milliseconds retryPeriod{20};
// What a client may have sent ahead of its answers; more stays with the
// system, which slows the client down.
constexpr qint64 clientBuffer = 16 * 1024;

QString peerText(const QTcpSocket* client) {
    QHostAddress peer = client->peerAddress();
    bool isV4 = false;
    const quint32 v4 = peer.toIPv4Address(&isV4);
    if (isV4) peer = QHostAddress(v4);
    return peer.toString();
}

bool mentionsSetFrequency(const std::vector<Request>& requests) {
    return std::any_of(requests.begin(), requests.end(), [](const Request& request) {
        return request.command == Command::SetFrequency;
    });
}

} // namespace

std::optional<ListenAddress> readListenAddress(const QString& text) {
    ListenAddress address{QHostAddress(QHostAddress::LocalHost), defaultPort};
    QString portText = text.trimmed();
    const qsizetype colon = portText.lastIndexOf(':');
    if (colon >= 0) {
        QString host = portText.left(colon);
        if (host.startsWith('[') && host.endsWith(']')) host = host.mid(1, host.size() - 2);
        if (!address.host.setAddress(host)) return std::nullopt;
        portText = portText.mid(colon + 1);
    }
    bool number = false;
    const uint port = portText.toUInt(&number);
    if (!number || port > 65535) return std::nullopt;
    address.port = static_cast<quint16>(port);
    return address;
}

QString listenAddressText(const ListenAddress& address) {
    const QString host = address.host.protocol() == QAbstractSocket::IPv6Protocol
                             ? "[" + address.host.toString() + "]"
                             : address.host.toString();
    return host + ":" + QString::number(address.port);
}

RemoteServer::RemoteServer(RemoteBoard& board, QObject* parent)
    : QObject(parent), board_(board), server_(new QTcpServer(this)) {
    connect(server_, &QTcpServer::pendingConnectionAvailable, this, &RemoteServer::accept);
    retry_.setSingleShot(true);
    retry_.setInterval(retryPeriod);
    connect(&retry_, &QTimer::timeout, this, &RemoteServer::serve);
}

RemoteServer::~RemoteServer() {
    close();
}

bool RemoteServer::listen(const ListenAddress& address) {
    close();
    return server_->listen(address.host, address.port);
}

QString RemoteServer::errorString() const {
    return server_->errorString();
}

bool RemoteServer::isListening() const {
    return server_->isListening();
}

void RemoteServer::close() {
    server_->close();
    retry_.stop();
    const auto clients = clients_;
    clients_.clear();
    for (QTcpSocket* client : clients) {
        client->disconnect(this);
        client->abort();
        client->deleteLater();
    }
    if (!clients.isEmpty()) emit clientsChanged();
}

int RemoteServer::clientCount() const {
    return int(clients_.size());
}

ListenAddress RemoteServer::listeningOn() const {
    return {server_->serverAddress(), server_->serverPort()};
}

QString RemoteServer::statusText() const {
    return QString::fromStdString(
        listeningText(listenAddressText(listeningOn()).toStdString(), clientCount()));
}

void RemoteServer::accept() {
    while (QTcpSocket* client = server_->nextPendingConnection()) {
        if (clients_.size() >= mostClients) {
            client->abort();
            client->deleteLater();
            continue;
        }
        client->setReadBufferSize(clientBuffer);
        clients_.append(client);
        connect(client, &QTcpSocket::readyRead, this, &RemoteServer::serve);
        connect(client, &QTcpSocket::disconnected, this, [this, client] {
            if (clients_.removeOne(client)) {
                client->deleteLater();
                emit clientsChanged();
            }
        });
        emit clientsChanged();
    }
}

// Answers every whole line the clients have sent, a client at a time in
// turn. A frequency request's transfer services events; lines that arrive
// meanwhile are taken up when it ends.
void RemoteServer::serve() {
    if (serving_) {
        again_ = true;
        return;
    }
    serving_ = true;
    bool waiting = false;
    do {
        again_ = false;
        waiting = false;
        const auto clients = clients_;
        for (QTcpSocket* client : clients) {
            while (clients_.contains(client) &&
                   client->state() == QAbstractSocket::ConnectedState) {
                if (!client->canReadLine()) {
                    // A line that cannot end within the limit ends the client.
                    if (client->bytesAvailable() > qint64(longestLine)) client->abort();
                    break;
                }
                if (!answerLine(client)) {
                    waiting = true;
                    break;
                }
            }
        }
    } while (again_);
    serving_ = false;
    if (waiting) retry_.start();
}

bool RemoteServer::answerLine(QTcpSocket* client) {
    // Peeked first: a frequency request that must wait stays where it is.
    const QByteArray peeked = client->peek(qint64(longestLine) + 2);
    const qsizetype end = peeked.indexOf('\n');
    if (end < 0 || end > qsizetype(longestLine)) {
        client->abort();
        return true;
    }
    const std::vector<Request> requests =
        parseLine(std::string_view(peeked.constData(), std::size_t(end)));
    const bool retunes = mentionsSetFrequency(requests);
    if (retunes && !board_.inputsLocked() && board_.busy()) return false;
    client->skip(end + 1);

    const QString from = peerText(client);
    for (const Request& request : requests) {
        const int result =
            request.command == Command::SetFrequency ? setFrequency(request.argument, from) : 0;
        const Inputs inputs = board_.inputs();
        const PlanVariables variables = board_.planVariables();
        const TuningRange range = tuningRange(inputs, variables);
        const RigState state{wholeHertz(variables.fout), range.lowestHertz, range.highestHertz,
                             "Kelvane " KELVANE_VERSION};
        if (!clients_.contains(client)) return true; // gone during the transfer
        client->write(QByteArray::fromStdString(answer(request, state, result)));
        if (request.command == Command::Quit) {
            client->disconnectFromHost();
            return true;
        }
    }
    return true;
}

int RemoteServer::setFrequency(const std::string& argument, const QString& from) {
    const std::optional<double> hertz = readHertz(argument);
    if (!hertz) return invalidParameter;
    if (board_.inputsLocked()) return rejected;
    if (!board_.isOpen()) return ioError;
    auto planned = planRetune(*hertz, board_.inputs(), board_.planVariables(), boardHas_);
    if (std::holds_alternative<RunRefusal>(planned)) return invalidParameter;
    const Retune& retune = std::get<Retune>(planned);
    // A transfer cut short leaves the board's words unknown: the next sends all.
    boardHas_.reset();
    if (!board_.retune(retune.step, retune.allRegisters, from)) return ioError;
    boardHas_ = retune.step.registers;
    emit retuned(retune.step.mhz, from);
    return resultOk;
}

} // namespace kelvane::remote
