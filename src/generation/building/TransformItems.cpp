#include "generation/building/TransformItems.h"

#include "app/log/Log.h"
#include "generation/building/NodeTests.h"
#include "generation/building/PathSteps.h"
#include "platform/core/VbError.h"
#include "platform/core/VbString.h"
#include "platform/xml/tree/Lookup.h"
#include "platform/xml/tree/Node.h"

#include <cstring>

namespace veldra {

xml::Node requiredItem(const xml::Node& entry, const QString& item, const QString& source)
{
    xml::Node node = firstMatch(entry, item);
    if (node.isNull())
        throw VbError(err::General, source,
                      QStringLiteral("The %1 entry '%2' has no %3.").arg(entry.nodeName(), entryLabel(entry), item));
    return node;
}

QString requiredItemText(const xml::Node& entry, const QString& item, const QString& source)
{
    return requiredItem(entry, item, source).text();
}

QString optionalItemText(const xml::Node& entry, const QString& item)
{
    return xml::textOf(firstMatch(entry, item));
}

QString entryLabel(const xml::Node& entry)
{
    return xml::textOf(firstMatch(entry, QStringLiteral("Name")), entry.nodeName());
}

bool numberTextIsOne(const QString& text, const QString& source)
{
    if (!vbstr::isNumeric(text))
        throw VbError(err::General, source, QStringLiteral("'%1' is not a number.").arg(text));
    return text.trimmed().toDouble() == 1.0;
}

bool IsDirectCopy(const xml::Node& node)
{
    return isDirectCopyText(node.getAttribute(QStringLiteral("DirectCopy")));
}

bool isDirectCopyText(const QString& directCopy)
{
    if (directCopy.isNull())
        return false;
    try {
        return numberTextIsOne(directCopy, QStringLiteral("IsDirectCopy"));
    } catch (const VbError& e) {
        WriteLog(log_category::Error,
                 e.source() + QLatin1Char(' ') + QString::number(e.number()) + QLatin1Char(' ') + e.description());
        return false;
    }
}

QString GetPrefixPostfix(const xml::Node& node, bool wantPrefix)
{
    return node.getAttribute(wantPrefix ? QStringLiteral("Prefix") : QStringLiteral("PostFix"));
}

QString lastStep(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QLatin1Char('/') + path : path.mid(slash);
}

QString settingsIdentity(const xml::Node& settingsElement, const QString& source)
{
    const QString id = settingsElement.getAttribute(Word2SPLIDAttribute);
    if (id.isNull())
        throw VbError(err::General, source,
                      QStringLiteral("The settings element %1 has no Word2SPLID.").arg(settingsElement.nodeName()));
    return settingsElement.nodeName() + QLatin1Char(' ') + id;
}

QByteArray settingsIdentityBytes(const xml::Node& settingsElement, const QString& source)
{
    const xml::Cursor element(settingsElement);
    const xml::Cursor id = markOf(element);
    if (!id)
        return settingsIdentity(settingsElement, source).toUtf8();  // it names what is missing
    const char* prefix = element.prefix();
    const char* name = element.localName();
    const QByteArray value = id.textUtf8();
    const qsizetype prefixLength = prefix ? qsizetype(std::strlen(prefix)) + 1 : 0;
    const qsizetype nameLength = qsizetype(std::strlen(name));
    QByteArray identity(prefixLength + nameLength + 1 + value.size(), Qt::Uninitialized);
    char* at = identity.data();
    if (prefix) {
        std::memcpy(at, prefix, size_t(prefixLength - 1));
        at[prefixLength - 1] = ':';
        at += prefixLength;
    }
    std::memcpy(at, name, size_t(nameLength));
    at[nameLength] = ' ';
    std::memcpy(at + nameLength + 1, value.constData(), size_t(value.size()));
    return identity;
}

} // namespace veldra
