#include "support/loopbackhttpserver.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace {

QByteArray reasonPhrase(int anStatus)
{
    switch (anStatus) {
    case 200:
        return QByteArrayLiteral("OK");
    case 301:
        return QByteArrayLiteral("Moved Permanently");
    case 302:
        return QByteArrayLiteral("Found");
    case 307:
        return QByteArrayLiteral("Temporary Redirect");
    case 404:
        return QByteArrayLiteral("Not Found");
    case 500:
        return QByteArrayLiteral("Internal Server Error");
    default:
        return QByteArrayLiteral("Status");
    }
}

} // namespace

LoopbackHttpServer::LoopbackHttpServer(QObject *parent) : QObject(parent)
{
    connect(&mServer, &QTcpServer::newConnection, this, &LoopbackHttpServer::acceptConnections);
    if (!mServer.listen(QHostAddress::LocalHost, 0))
        qWarning("LoopbackHttpServer: cannot listen on 127.0.0.1: %s",
                 qUtf8Printable(mServer.errorString()));
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    mServer.close();
}

quint16 LoopbackHttpServer::port() const
{
    return mServer.serverPort();
}

QString LoopbackHttpServer::url(const QString &asPath) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(asPath);
}

void LoopbackHttpServer::setResponse(const QString &asPath, int anStatus, const QByteArray &aBody,
                                     const Headers &acHeaders)
{
    Response vResponse;
    vResponse.mnStatus = anStatus;
    vResponse.mBody = aBody;
    vResponse.mcHeaders = acHeaders;
    mcResponses.insert(asPath, vResponse);
}

void LoopbackHttpServer::setDroppedBody(const QString &asPath, const QByteArray &aPartialBody,
                                        qint64 anAnnouncedLength)
{
    Response vResponse;
    vResponse.mBody = aPartialBody;
    vResponse.mMode = Mode::Dropped;
    vResponse.mnAnnouncedLength = anAnnouncedLength;
    mcResponses.insert(asPath, vResponse);
}

void LoopbackHttpServer::setStalledBody(const QString &asPath, const QByteArray &aPartialBody,
                                        qint64 anAnnouncedLength)
{
    Response vResponse;
    vResponse.mBody = aPartialBody;
    vResponse.mMode = Mode::Stalled;
    vResponse.mnAnnouncedLength = anAnnouncedLength;
    mcResponses.insert(asPath, vResponse);
}

void LoopbackHttpServer::setRedirect(const QString &asPath, const QString &asLocation, int anStatus)
{
    setResponse(asPath, anStatus, QByteArrayLiteral("This page has moved."),
                {{QByteArrayLiteral("Location"), asLocation.toUtf8()}});
}

QStringList LoopbackHttpServer::requestedPaths() const
{
    return mcRequested;
}

void LoopbackHttpServer::completeStalledBodies(const QByteArray &aRest)
{
    for (QTcpSocket *vpSocket : qAsConst(mcOpen))
        vpSocket->write(aRest);
    closeOpenConnections();
}

void LoopbackHttpServer::closeOpenConnections()
{
    const QList<QTcpSocket *> vcOpen = mcOpen;
    for (QTcpSocket *vpSocket : vcOpen)
        vpSocket->disconnectFromHost();
}

void LoopbackHttpServer::acceptConnections()
{
    while (QTcpSocket *vpSocket = mServer.nextPendingConnection()) {
        // Parented to the server, so that a stalled connection is closed when
        // the test's server goes.
        vpSocket->setParent(this);
        mcPending.insert(vpSocket, QByteArray());
        connect(vpSocket, &QTcpSocket::readyRead, this,
                [this, vpSocket] { readRequest(vpSocket); });
        mcOpen.append(vpSocket);
        connect(vpSocket, &QTcpSocket::disconnected, this, [this, vpSocket] {
            mcPending.remove(vpSocket);
            mcOpen.removeOne(vpSocket);
            vpSocket->deleteLater();
        });
    }
}

void LoopbackHttpServer::readRequest(QTcpSocket *apSocket)
{
    auto vIt = mcPending.find(apSocket);
    if (vIt == mcPending.end()) {
        apSocket->readAll(); // a second request on an answered connection is ignored
        return;
    }
    vIt->append(apSocket->readAll());
    const int vnHeaderEnd = vIt->indexOf("\r\n\r\n");
    if (vnHeaderEnd < 0)
        return;

    // Request line: "GET <target> HTTP/1.1"; the clients under test send no body.
    const QByteArray vRequestLine = vIt->left(vIt->indexOf("\r\n"));
    mcPending.erase(vIt);
    const QList<QByteArray> vcParts = vRequestLine.split(' ');
    const QString vsPath = vcParts.size() >= 2 ? QString::fromUtf8(vcParts.at(1)) : QString();
    mcRequested.append(vsPath);
    emit requestReceived(vsPath);
    answer(apSocket, vsPath);
}

void LoopbackHttpServer::answer(QTcpSocket *apSocket, const QString &asPath)
{
    Response vResponse;
    if (mcResponses.contains(asPath)) {
        vResponse = mcResponses.value(asPath);
    } else {
        vResponse.mnStatus = 404;
        vResponse.mBody = QByteArrayLiteral("Not found");
    }

    const qint64 vnLength =
        vResponse.mMode == Mode::Complete ? vResponse.mBody.size() : vResponse.mnAnnouncedLength;
    QByteArray vHead = "HTTP/1.1 " + QByteArray::number(vResponse.mnStatus) + ' ' +
                       reasonPhrase(vResponse.mnStatus) + "\r\n";
    vHead += "Content-Type: application/octet-stream\r\n";
    vHead += "Content-Length: " + QByteArray::number(vnLength) + "\r\n";
    if (vResponse.mMode != Mode::Stalled)
        vHead += "Connection: close\r\n";
    for (const auto &vHeader : qAsConst(vResponse.mcHeaders))
        vHead += vHeader.first + ": " + vHeader.second + "\r\n";
    vHead += "\r\n";

    apSocket->write(vHead);
    apSocket->write(vResponse.mBody);
    // disconnectFromHost() sends what is still buffered before it closes.
    if (vResponse.mMode != Mode::Stalled)
        apSocket->disconnectFromHost();
}
