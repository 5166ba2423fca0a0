#include "app/CSessionServer.h"

#include "app/CommandLine.h"
#include "platform/Platform.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTextCodec>
#include <QTimer>

namespace {

// A start waits this long for the running client's answer; a connection has as long to bring its
// line.
const int answerTime = 1000;
// A line of 256 characters of four bytes each (the most UTF-8 takes), and its line break.
const qint64 maximumLineBytes = 4 * 256 + 1;
// Connections that bring nothing hold a little memory each for a second; more at once are refused.
const int maximumConnections = 8;

void drop(QLocalSocket *socket)
{
    socket->abort();
    socket->deleteLater();
}

} // namespace

CSessionServer::CSessionServer(QObject *parent) : QObject(parent) {}

CSessionServer::~CSessionServer() = default;

CSessionServer::Start CSessionServer::start(const QString &stoneID)
{
    const Platform::SessionEndpoint endpoint = Platform::sessionEndpoint();
    const QDeadlineTimer deadline(answerTime);
    // One start at a time asks and listens, so two starts at once cannot both become the first.
    Platform::SessionLock lock(endpoint.lockName);
    if (!lock.tryLock(int(deadline.remainingTime())))
        return Start::Alone;

    QLocalSocket socket;
    socket.connectToServer(endpoint.serverName);
    if (socket.waitForConnected(int(deadline.remainingTime()))) {
        Platform::allowOtherClientToForeground();
        socket.write(stoneID.toUtf8() + '\n');
        socket.waitForBytesWritten(int(deadline.remainingTime()));
        while (!socket.canReadLine() && socket.waitForReadyRead(int(deadline.remainingTime()))) {
        }
        return socket.readLine() == "OK\n" ? Start::HandedOver : Start::Alone;
    }
    if (socket.error() != QLocalSocket::ServerNotFoundError &&
        socket.error() != QLocalSocket::ConnectionRefusedError)
        return Start::Alone;

    // A socket file that refuses connections was left by a client that ended without removing
    // it, as after a crash.
    QLocalServer::removeServer(endpoint.serverName);
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(endpoint.serverName))
        return Start::Alone;
    connect(server, &QLocalServer::newConnection, this, &CSessionServer::takeConnections);
    return Start::First;
}

void CSessionServer::takeConnections()
{
    while (QLocalSocket *socket = server->nextPendingConnection()) {
        if (server->findChildren<QLocalSocket *>(QString(), Qt::FindDirectChildrenOnly).size() >
            maximumConnections) {
            drop(socket);
            continue;
        }
        socket->setReadBufferSize(maximumLineBytes + 1);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessage(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(answerTime, socket, [socket] { drop(socket); });
    }
}

void CSessionServer::readMessage(QLocalSocket *socket)
{
    const QByteArray received = socket->peek(maximumLineBytes + 1);
    const int end = received.indexOf('\n');
    if (end < 0) {
        if (received.size() > maximumLineBytes)
            drop(socket);
        return; // otherwise the rest of the line is still to come
    }
    QTextCodec::ConverterState state;
    const QString text =
        QTextCodec::codecForName("UTF-8")->toUnicode(received.constData(), end, &state);
    // One line with nothing after it, of whole characters, each one that can be typed.
    if (end != received.size() - 1 || state.invalidChars > 0 || state.remainingChars > 0 ||
        !isAcceptableStoneID(text)) {
        drop(socket);
        return;
    }
    socket->disconnect(this);
    socket->write("OK\n");
    socket->flush();
    socket->disconnectFromServer();
    // The answer goes out before the window searches, which may take a while.
    QMetaObject::invokeMethod(
        this, [this, text] { emit stoneIDReceived(text); }, Qt::QueuedConnection);
}
