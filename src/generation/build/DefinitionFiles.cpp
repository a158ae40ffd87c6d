#include "generation/build/DefinitionFiles.h"

#include "editor/DefinitionDocument.h"
#include "editor/TreePaths.h"
#include "generation/build/PathSteps.h"
#include "platform/core/AppPaths.h"
#include "platform/core/VbError.h"
#include "platform/xml/Document.h"

namespace veldra {

namespace {

// A value the user entered: not blank, and not the starting value that a new document takes
// from the definition document (so a new document's KitAssembly group holds none).
bool holdsFilledValue(const xml::Node& group, const xml::Document& definition)
{
    for (const xml::Node& value : group.selectNodes(QStringLiteral(".//*[not(*)]"))) {
        const QString text = value.text().trimmed();
        if (text.isEmpty())
            continue;
        const xml::Node start = firstMatch(definition, elementPath(value));
        if (start.isNull() || start.text().trimmed() != text)
            return true;
    }
    return false;
}

bool isKitAssembly(const xml::Document& settings)
{
    const QList<xml::Node> kits = elementsNamed(settings, QStringLiteral("KitAssembly"));
    if (kits.isEmpty())
        return false;
    xml::Document definition;
    definition.load(definitionFilePath());
    for (const xml::Node& kit : kits)
        if (holdsFilledValue(kit, definition))
            return true;
    return false;
}

QString definitionsFile(const QString& name)
{
    return app_paths::inProgram(QStringLiteral("SPLR4Definitions/") + name);
}

} // namespace

TransformPair chooseTransformPair(const xml::Document& settings)
{
    if (isKitAssembly(settings))
        return {definitionsFile(QStringLiteral("TemplateSPLR4_FDA_KitAssembly.xml")),
                definitionsFile(QStringLiteral("TransformSPLR4_KitAssembly.xml"))};
    return {definitionsFile(QStringLiteral("TemplateSPLR4_FDA_DrugProduct.xml")),
            definitionsFile(QStringLiteral("TransformSPLR4_DrugProduct.xml"))};
}

QString programFolderFile(const QString& relative)
{
    return app_paths::inProgram(relative);
}

xml::Document loadDefinitionFile(const QString& path, const QString& source)
{
    xml::Document document;
    if (!document.load(path)) {
        const xml::ParseError& error = document.parseError();
        QString where;
        if (error.line > 0)
            where = QStringLiteral(" (line %1)").arg(error.line);
        throw VbError(error.errorCode, source,
                      QStringLiteral("The file '%1' cannot be loaded: %2%3").arg(path, error.reason.trimmed(), where));
    }
    return document;
}

} // namespace veldra
