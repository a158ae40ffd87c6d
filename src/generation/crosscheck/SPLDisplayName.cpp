#include "generation/crosscheck/CrossCheck.h"

#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Lookup.h"

namespace veldra {

namespace {

const QString source = QStringLiteral("GetSPLDisplayName");
const QString fileMissing = QStringLiteral("The SPL file has no %1.");

// A description is a short line in the window: a name of any length (a file may hold one of
// megabytes) is cut to its beginning, so that the line edit never lays out megabytes.
constexpr qsizetype MaxNameCharacters = 200;

QString shortened(const QString& text)
{
    return text.left(2 * MaxNameCharacters).simplified().left(MaxNameCharacters);
}

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
    return (shortened(product.isEmpty() ? organisation : product) + QLatin1Char(' ') + shortened(time)).simplified();
}

} // namespace veldra
