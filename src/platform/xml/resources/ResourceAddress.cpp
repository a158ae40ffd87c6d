#include "platform/xml/resources/ResourceAddress.h"

#include <QDir>
#include <QFileInfo>

namespace veldra::xml {

namespace {

const QString agencyHost = QStringLiteral("www.accessdata.fda.gov");

QString folderPath(ResourceKind kind)
{
    return kind == ResourceKind::Schema ? QStringLiteral("/spl/schema/")
                                        : QStringLiteral("/spl/stylesheet/");
}

} // namespace

QUrl agencyFolder(ResourceKind kind)
{
    return QUrl(QStringLiteral("https://") + agencyHost + folderPath(kind));
}

bool isNameInSet(const QString& name)
{
    for (const QChar c : name) {
        if (c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 0x20)
            return false;
    }
    const QStringList steps = name.split(QLatin1Char('/'));
    for (const QString& step : steps) {
        if (step.isEmpty() || step == QLatin1String(".") || step == QLatin1String(".."))
            return false;
    }
    return true;
}

std::optional<MappedAddress> mapAddress(const QString& address)
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return std::nullopt;
    if (url.host().compare(agencyHost, Qt::CaseInsensitive) != 0 || !url.userInfo().isEmpty())
        return std::nullopt;
    if (url.port() != -1 && url.port() != (scheme == QLatin1String("http") ? 80 : 443))
        return std::nullopt;
    if (url.hasQuery() || url.hasFragment())
        return std::nullopt;

    const QString path = url.path(QUrl::FullyDecoded);
    for (const ResourceKind kind : {ResourceKind::Schema, ResourceKind::Stylesheet}) {
        const QString folder = folderPath(kind);
        if (!path.startsWith(folder, Qt::CaseInsensitive))
            continue;
        const QString name = path.mid(folder.size());
        if (!isNameInSet(name))
            return std::nullopt;
        return MappedAddress{kind, name};
    }
    return std::nullopt;
}

bool isNetworkAddress(const QString& reference)
{
    const QString text = reference.trimmed();
    const int colon = text.indexOf(QLatin1Char(':'));
    if (colon < 2) // no scheme, or a drive letter such as "C:"
        return false;
    const QString scheme = text.left(colon);
    for (const QChar c : scheme) {
        if (!(c.isLetterOrNumber() || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.')))
            return false;
    }
    return scheme.compare(QLatin1String("file"), Qt::CaseInsensitive) != 0;
}

QString resolveReference(const QString& reference, const QString& base)
{
    if (isNetworkAddress(reference) || reference.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)
        || QDir::isAbsolutePath(reference))
        return reference;
    if (base.isEmpty())
        return {};
    if (isNetworkAddress(base) || base.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return QUrl(base).resolved(QUrl(reference)).toString();
    return QDir::cleanPath(QFileInfo(base).dir().filePath(reference));
}

} // namespace veldra::xml
