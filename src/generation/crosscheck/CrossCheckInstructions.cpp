#include "generation/crosscheck/CrossCheckInstructions.h"

#include "platform/core/AppPaths.h"
#include "platform/core/Skip.h"
#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"

namespace veldra {

QString crossCheckInstructionFile()
{
    return app_paths::inProgram(QStringLiteral("SPLR4Definitions/CrossCheckInstruction.xml"));
}

QString documentTypeOf(const xml::Document& spl)
{
    QString type;
    skip([&] {
        const xml::Node code = spl.selectSingleNode(QStringLiteral("document/code/@displayName"));
        type = code.isNull() ? QString() : code.text();
    });
    return type;
}

xml::Node setupFor(const xml::Document& instructions, const QString& documentType)
{
    for (const xml::Node& setup : instructions.selectNodes(QStringLiteral("SPLCrossCheckInstruction/Setup")))
        for (const xml::Node& type : setup.selectNodes(QStringLiteral("Header/DocumentType")))
            if (type.text() == documentType)
                return setup;
    return {};
}

QString requiredAttribute(const xml::Node& element, const QString& name, const QString& source)
{
    const QString value = element.getAttribute(name);
    if (value.isNull())
        throw VbError(err::XmlNode, source, QStringLiteral("%1 has no attribute %2.").arg(element.nodeName(), name));
    return value;
}

} // namespace veldra
