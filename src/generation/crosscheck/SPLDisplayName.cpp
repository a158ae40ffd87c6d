#include "generation/crosscheck/CrossCheck.h"

#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Lookup.h"

namespace veldra {

namespace {

const QString source = QStringLiteral("GetSPLDisplayName");
const QString fileMissing = QStringLiteral("The SPL file has no %1.");

} // namespace

QString GetSPLDisplayName(const QString& file)
{
    xml::Document spl;
    if (!spl.load(file, xml::OutsideFileWithoutComments))
        throw VbError(spl.parseError().errorCode, source, spl.parseError().reason);
    const QString time = xml::requiredAt(spl, QStringLiteral("/document/effectiveTime/@value"), source, fileMissing).text();
    const QString product = xml::requiredAt(spl, QStringLiteral("//manufacturedProduct/name"), source, fileMissing).text();
    const QString organisationPath = QStringLiteral("/document/author/assignedEntity/representedOrganization/name");
    const QString organisation = xml::requiredAt(spl, organisationPath, source, fileMissing).text();
    // A label's names may hold its line breaks ("Lipitor\n 20120229"); a description is one line.
    return ((product.isEmpty() ? organisation : product) + QLatin1Char(' ') + time).simplified();
}

} // namespace veldra
