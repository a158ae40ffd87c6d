#pragma once

#include <QByteArray>
#include <QMap>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

namespace veldra::test {

// A tiny HTTP/1.0 server on 127.0.0.1 for tests: serves fixed files by path, answers 404
// otherwise, and records every path asked for. It runs on the test's own thread, so it
// answers while the code under test runs an event loop (as the downloader does).
class LocalHttpServer : public QObject {
public:
    LocalHttpServer();

    void serve(const QString& path, const QByteArray& content) { files_.insert(path, content); }
    QUrl url(const QString& path) const;
    const QStringList& requests() const { return requests_; }

private:
    void answer(QTcpSocket* socket);

    QTcpServer server_;
    QMap<QString, QByteArray> files_;
    QStringList requests_;
};

} // namespace veldra::test
