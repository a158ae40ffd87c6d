#include "platform/xml/resources/ResourceDownloader.h"

#include "platform/core/FileSave.h"
#include "platform/xml/resources/ResourceReferences.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <memory>

namespace veldra::xml {

namespace {

constexpr qint64 maxFileBytes = 32 * 1024 * 1024;
constexpr int maxFilesInSet = 200;
constexpr int transferTimeoutMs = 30000;

struct Fetched {
    QByteArray content;
    QString problem;
};

Fetched fetch(QNetworkAccessManager& network, const QUrl& url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(transferTimeoutMs);

    std::unique_ptr<QNetworkReply> reply(network.get(request));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, reply.get(), [&reply](qint64 received, qint64) {
        if (received > maxFileBytes)
            reply->abort();
    });
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    Fetched result;
    if (reply->error() != QNetworkReply::NoError)
        result.problem = QStringLiteral("%1: %2").arg(url.toString(), reply->errorString());
    else
        result.content = reply->readAll();
    return result;
}

QUrl urlInSet(const QUrl& remoteFolder, const QString& name)
{
    QUrl url = remoteFolder;
    QString path = remoteFolder.path();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    url.setPath(path + name);
    return url;
}

// The path inside the set that a reference made by the set's file `from` leads to; "" for
// references that lead outside the set.
QString nameInSet(ResourceKind kind, const QString& from, const QString& target)
{
    if (const auto mapped = mapAddress(target))
        return mapped->kind == kind ? mapped->name : QString();
    if (isNetworkAddress(target) || target.startsWith(QLatin1Char('/')))
        return {};
    const QString folderOfFrom = from.left(from.lastIndexOf(QLatin1Char('/')) + 1);
    const QString name = QDir::cleanPath(folderOfFrom + target);
    return isNameInSet(name) ? name : QString();
}

QString saveSet(const QString& folder, const QList<QPair<QString, QByteArray>>& files)
{
    // The entry file comes first in `files`; it is written last.
    for (qsizetype i = files.size() - 1; i >= 0; --i) {
        const QString path = QDir(folder).filePath(files[i].first);
        if (!QDir().mkpath(QFileInfo(path).path()))
            return QStringLiteral("the folder %1 cannot be created").arg(QFileInfo(path).path());
        if (const QString problem = saveReplacing(path, files[i].second); !problem.isEmpty())
            return QStringLiteral("%1 cannot be written: %2").arg(path, problem);
    }
    return {};
}

} // namespace

QString downloadResourceSet(ResourceKind kind, const QUrl& remoteFolder, const QString& entryName,
                            const QString& folder)
{
    if (!QCoreApplication::instance())
        return QStringLiteral("downloads need the running application");
    if (!isNameInSet(entryName))
        return QStringLiteral("%1 does not name a file of the set").arg(entryName);

    QNetworkAccessManager network;
    QList<QPair<QString, QByteArray>> files;
    QList<ResourceReference> pending{ResourceReference{entryName, true}};
    QStringList seen{entryName.toLower()};

    while (!pending.isEmpty()) {
        const ResourceReference next = pending.takeFirst();
        const Fetched fetched = fetch(network, urlInSet(remoteFolder, next.target));
        if (!fetched.problem.isEmpty()) {
            if (next.required)
                return fetched.problem;
            continue;
        }
        files.append({next.target, fetched.content});

        QString notXml;
        for (const ResourceReference& reference : resourceReferences(kind, fetched.content, &notXml)) {
            const QString name = nameInSet(kind, next.target, reference.target);
            if (name.isEmpty()) {
                if (reference.required && !isNetworkAddress(reference.target))
                    return QStringLiteral("%1 loads %2, which lies outside its folder")
                        .arg(next.target, reference.target);
                continue;
            }
            if (seen.contains(name.toLower()))
                continue;
            if (seen.size() >= maxFilesInSet)
                return QStringLiteral("the set has more than %1 files").arg(maxFilesInSet);
            seen << name.toLower();
            pending.append(ResourceReference{name, reference.required});
        }
        if (!notXml.isEmpty() && files.size() == 1)
            return QStringLiteral("%1: %2").arg(urlInSet(remoteFolder, entryName).toString(), notXml);
    }
    return saveSet(folder, files);
}

} // namespace veldra::xml
