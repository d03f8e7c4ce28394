#include "support/loopbackhttpserver.h"

#include <QHostAddress>
#include <QTcpSocket>

LoopbackHttpServer::LoopbackHttpServer(QObject *parent) : QObject(parent)
{
    connect(&mServer, &QTcpServer::newConnection, this, &LoopbackHttpServer::acceptConnections);
    if (!mServer.listen(QHostAddress::LocalHost, 0))
        qWarning("LoopbackHttpServer: cannot listen on 127.0.0.1: %s",
                 qUtf8Printable(mServer.errorString()));
}

QString LoopbackHttpServer::url(const QString &asPath) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(asPath);
}

void LoopbackHttpServer::setResponse(const QString &asPath, int anStatus, const QByteArray &aBody,
                                     const Headers &acHeaders)
{
    mcResponses.insert(asPath, {anStatus, aBody, acHeaders, false, aBody.size()});
}

void LoopbackHttpServer::setPartialBody(const QString &asPath, const QByteArray &aPartialBody,
                                        qint64 anAnnouncedLength, bool abStall)
{
    mcResponses.insert(asPath, {200, aPartialBody, {}, abStall, anAnnouncedLength});
}

void LoopbackHttpServer::setRedirect(const QString &asPath, const QString &asLocation, int anStatus)
{
    setResponse(asPath, anStatus, QByteArrayLiteral("This page has moved."),
                {{QByteArrayLiteral("Location"), asLocation.toUtf8()}});
}

void LoopbackHttpServer::completeStalledBodies(const QByteArray &aRest)
{
    const QList<QTcpSocket *> vcOpen = mcOpen;
    for (QTcpSocket *vpSocket : vcOpen) {
        vpSocket->write(aRest);
        vpSocket->disconnectFromHost();
    }
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
    const QByteArray vNotFound = QByteArrayLiteral("Not found");
    const Response vResponse =
        mcResponses.value(asPath, {404, vNotFound, {}, false, vNotFound.size()});

    // Clients read the status code, not the reason phrase.
    QByteArray vHead = "HTTP/1.1 " + QByteArray::number(vResponse.mnStatus) + " Status\r\n";
    vHead += "Content-Type: application/octet-stream\r\n";
    vHead += "Content-Length: " + QByteArray::number(vResponse.mnAnnouncedLength) + "\r\n";
    if (!vResponse.mbStall)
        vHead += "Connection: close\r\n";
    for (const auto &vHeader : qAsConst(vResponse.mcHeaders))
        vHead += vHeader.first + ": " + vHeader.second + "\r\n";
    vHead += "\r\n";

    apSocket->write(vHead);
    apSocket->write(vResponse.mBody);
    // disconnectFromHost() sends what is still buffered before it closes.
    if (!vResponse.mbStall)
        apSocket->disconnectFromHost();
}
