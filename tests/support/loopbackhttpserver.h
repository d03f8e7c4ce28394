#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

// A small HTTP/1.1 server on 127.0.0.1 (a free port chosen by the system) for
// tests that fetch files: it answers GET requests from a table of paths,
// including the failures a real server or network shows. Unknown paths get a
// 404. Every connection is closed after one answer.
//
// It runs on the thread that created it, so the test must spin the event loop
// (QSignalSpy::wait, QTRY_*) while a client waits for an answer.
class LoopbackHttpServer : public QObject
{
    Q_OBJECT

public:
    using Headers = QList<QPair<QByteArray, QByteArray>>;

    explicit LoopbackHttpServer(QObject *parent = nullptr);

    quint16 port() const { return mServer.serverPort(); }
    // "http://127.0.0.1:<port>" followed by asPath (which starts with "/").
    QString url(const QString &asPath = QString()) const;

    void setResponse(const QString &asPath, int anStatus, const QByteArray &aBody,
                     const Headers &acHeaders = {});
    // Announces more bytes than it sends, then closes the connection (a
    // connection lost in the middle of the body) or, when abStall, keeps it
    // open without sending more (a download that never ends).
    void setPartialBody(const QString &asPath, const QByteArray &aPartialBody,
                        qint64 anAnnouncedLength, bool abStall = false);
    // Answers with a redirect to asLocation (absolute or relative) and a body
    // of its own that a client must not take for the file.
    void setRedirect(const QString &asPath, const QString &asLocation, int anStatus = 302);

    // Ends the connections still open (those of stalled bodies) with the rest
    // of the body: a slow but complete download.
    void completeStalledBodies(const QByteArray &aRest);

    // Request targets in the order they arrived.
    QStringList requestedPaths() const { return mcRequested; }

signals:
    void requestReceived(const QString &asPath);

private:
    // mnAnnouncedLength is the Content-Length sent, the body's own for a
    // complete answer; a stalled answer keeps its connection open.
    struct Response
    {
        int mnStatus;
        QByteArray mBody;
        Headers mcHeaders;
        bool mbStall;
        qint64 mnAnnouncedLength;
    };

    void acceptConnections();
    void readRequest(QTcpSocket *apSocket);
    void answer(QTcpSocket *apSocket, const QString &asPath);

    QTcpServer mServer;
    QHash<QString, Response> mcResponses;
    QHash<QTcpSocket *, QByteArray> mcPending;
    QList<QTcpSocket *> mcOpen;
    QStringList mcRequested;
};
