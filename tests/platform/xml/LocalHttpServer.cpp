#include "platform/xml/LocalHttpServer.h"

#include <QTcpSocket>
#include <stdexcept>

namespace veldra::test {

LocalHttpServer::LocalHttpServer()
{
    if (!server_.listen(QHostAddress::LocalHost))
        throw std::runtime_error("the test server cannot listen on 127.0.0.1");
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QUrl LocalHttpServer::url(const QString& path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path));
}

void LocalHttpServer::answer(QTcpSocket* socket)
{
    const QByteArray received = socket->property("received").toByteArray() + socket->readAll();
    socket->setProperty("received", received);
    if (!received.contains("\r\n\r\n"))
        return;
    const QList<QByteArray> requestLine = received.left(received.indexOf("\r\n")).split(' ');
    const QString path = requestLine.size() > 1 ? QString::fromUtf8(requestLine[1]) : QString();
    requests_ << path;

    const auto file = files_.constFind(path);
    const QByteArray body = file != files_.constEnd() ? *file : QByteArray("not found");
    const QByteArray status = file != files_.constEnd() ? "200 OK" : "404 Not Found";
    socket->write("HTTP/1.0 " + status + "\r\nContent-Length: " + QByteArray::number(body.size())
                  + "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
}

} // namespace veldra::test
