#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// One client per desktop session. A start first offers its Stone ID (or none) to the session's
// running client through a local socket (a socket file on Linux, a named pipe on Windows); when
// no client runs, it becomes that client and listens for the starts to come.
//
// Anything on the machine may connect, so a connection counts only when it brings, within a
// second, one line of at most 256 printable characters in UTF-8 and nothing after it; the client
// then answers "OK" and passes the text on as if typed. Anything else is dropped unanswered and
// has no effect; nothing here waits on a connection.
class CSessionServer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(CSessionServer)

public:
    enum class Start
    {
        HandedOver, // the running client took the Stone ID: this start ends
        First,      // no client ran: this one listens for the later starts
        Alone,      // a client runs but did not answer within a second: this one runs without
                    // listening
    };

    explicit CSessionServer(QObject *parent = nullptr);
    ~CSessionServer() override;

    // Hands the Stone ID (empty: none) over, or listens; takes at most about a second.
    Start start(const QString &stoneID);

signals:
    // A later start's Stone ID, checked but not cleaned; empty when it brought none.
    void stoneIDReceived(const QString &stoneID);

private:
    bool handOver(const QString &serverName, const QString &stoneID, int milliseconds);
    void takeConnections();
    void readMessage(QLocalSocket *socket);

    QLocalServer *server = nullptr;
};
