#include "generation/crosscheck/CrossCheck.h"

#include "platform/core/VbError.h"
#include "platform/xml/Document.h"

namespace veldra {

namespace {

QString requiredText(const xml::Document& spl, const QString& query)
{
    const xml::Node node = spl.selectSingleNode(query);
    if (node.isNull())
        throw VbError(err::XmlNode, QStringLiteral("GetSPLDisplayName"),
                      QStringLiteral("The SPL file has no %1.").arg(query));
    return node.text();
}

} // namespace

QString GetSPLDisplayName(const QString& file)
{
    xml::Document spl;
    if (!spl.load(file))
        throw VbError(spl.parseError().errorCode, QStringLiteral("GetSPLDisplayName"), spl.parseError().reason);
    const QString time = requiredText(spl, QStringLiteral("/document/effectiveTime/@value"));
    const QString product = requiredText(spl, QStringLiteral("//manufacturedProduct/name"));
    const QString organisation =
        requiredText(spl, QStringLiteral("/document/author/assignedEntity/representedOrganization/name"));
    // A label's names may hold its line breaks ("Lipitor\n 20120229"); a description is one line.
    return ((product.isEmpty() ? organisation : product) + QLatin1Char(' ') + time).simplified();
}

} // namespace veldra
