#include "generation/building/DefinitionFiles.h"

#include "editor/document/DefinitionDocument.h"
#include "editor/tree/TreePaths.h"
#include "generation/building/BuildIndex.h"
#include "generation/building/ElementWalk.h"
#include "generation/building/PathSteps.h"
#include "platform/core/AppPaths.h"
#include "platform/core/RegularFile.h"
#include "platform/core/VbError.h"
#include "platform/xml/io/InputLimits.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/UnorderedWalk.h"

#include <QHash>

#include <vector>

namespace veldra {

namespace {

// A file of the program folder read in, kept with the bytes it was read from: while the file
// holds the same bytes, it is not parsed again.
struct ParsedFile {
    QByteArray bytes;
    xml::Document document;
    quint64 reading = 0;  // which reading of any file this is, so derived data knows when to go
};

// The file parsed, or null when it does not load; `failure` then holds the document that
// failed, with its parse error. Parsed again whenever its bytes change.
const ParsedFile* parsedFile(const QString& path, xml::Document* failure = nullptr)
{
    static QHash<QString, ParsedFile> files;
    const FileContent content = readRegularFile(path, xml::kMaxInputBytes);
    const auto found = files.constFind(path);
    if (content.ok() && found != files.constEnd() && found->bytes == content.bytes)
        return &*found;
    xml::Document document;
    if (!document.load(path)) {
        files.remove(path);
        if (failure)
            *failure = document;
        return nullptr;
    }
    static quint64 readings = 0;
    return &*files.insert(path, ParsedFile{content.ok() ? content.bytes : QByteArray(), document, ++readings});
}

// The starting value (trimmed text) at each element path of the definition document: the
// text of the first element of that path, as firstMatch finds it.
using StartValues = QHash<QString, QString>;

StartValues startValuesOf(const xml::Document& definition)
{
    StartValues values;
    const xml::Node root = definition.documentElement();
    if (root.isNull())
        return values;
    forEachElement(xml::Cursor(root), [&values](const xml::Cursor& element) {
        const QString path = cursorElementPath(element);
        if (!values.contains(path))
            values.insert(path, element.text().trimmed());
        return true;
    });
    return values;
}

const StartValues& definitionStartValues()
{
    static quint64 reading = 0;
    static StartValues values;
    const ParsedFile* definition = parsedFile(definitionFilePath());
    if (!definition) {
        reading = 0;
        values.clear();
    } else if (definition->reading != reading) {
        reading = definition->reading;
        values = startValuesOf(definition->document);
    }
    return values;
}

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

// The reference road: the groups found by query, each value looked up in the definition.
bool isKitAssemblyByQueries(const xml::Document& settings)
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

bool isLeafElement(const xml::Cursor& element)
{
    return element.child(nullptr).isNull();
}

// Whether a KitAssembly group holds a value the user entered (as holdsFilledValue tells),
// against the definition's starting values read once per definition file.
class KitCheck {
public:
    void visit(const xml::Cursor& kit)
    {
        QString groupPath;  // the group's own path, written once for all its values
        forEachElement(kit, [this, kit, &groupPath](const xml::Cursor& value) {
            if (value == kit || !isLeafElement(value))
                return true;
            const QString text = value.text().trimmed();
            if (text.isEmpty())
                return true;
            if (!starts_)
                starts_ = &definitionStartValues();
            if (groupPath.isEmpty())
                groupPath = cursorElementPath(kit) + QLatin1Char('/');
            const auto start = starts_->constFind(groupPath + cursorElementPath(value, kit));
            filled_ = start == starts_->constEnd() || *start != text;
            return !filled_;
        });
    }

    bool filled() const { return filled_; }

private:
    const StartValues* starts_ = nullptr;  // read when the first value needs them
    bool filled_ = false;
};

// Whether the first ProductLabelFromExistingSPL element may name an SPL file (its SPLFileName
// child holds text); names in a namespace are left to the queries.
bool mayNameExistingSPL(const xml::Cursor& merge)
{
    if (merge.hasNamespace())
        return true;
    const xml::Cursor fileName = merge.child("SPLFileName");
    return fileName && (fileName.hasNamespace() || !fileName.text().isEmpty());
}

QString definitionsFile(const QString& name)
{
    return app_paths::inProgram(QStringLiteral("SPLR4Definitions/") + name);
}

} // namespace

SettingsSurvey surveySettings(const xml::Document& settings)
{
    SettingsSurvey survey;
    if (!indexedLookups()) {
        survey.kitAssembly = isKitAssemblyByQueries(settings);
        survey.mayNameExistingSPL = true;
        return survey;
    }
    const xml::Node root = settings.documentElement();
    if (root.isNull())
        return survey;
    // Neither answer hangs on the order of the walk: any filled group makes a kit, and the
    // first merge element is the one no other precedes. The groups are checked after the walk,
    // which has read their elements in by then.
    std::vector<xml::Cursor> kitGroups;
    xml::Cursor firstMerge;
    xml::forEachElementUnordered(xml::Cursor(root), [&](const xml::Cursor& element) {
        if (element.isNamed("KitAssembly"))
            kitGroups.push_back(element);
        else if (element.isNamed("ProductLabelFromExistingSPL") && (!firstMerge || element.precedes(firstMerge)))
            firstMerge = element;
        return true;
    });
    KitCheck kits;
    for (auto group = kitGroups.begin(); group != kitGroups.end() && !kits.filled(); ++group)
        kits.visit(*group);
    survey.kitAssembly = kits.filled();
    survey.mayNameExistingSPL = firstMerge && mayNameExistingSPL(firstMerge);
    return survey;
}

TransformPair transformPairFor(const SettingsSurvey& survey)
{
    if (survey.kitAssembly)
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
    xml::Document failed;
    const ParsedFile* parsed = parsedFile(path, &failed);
    if (!parsed) {
        const xml::ParseError& error = failed.parseError();
        QString where;
        if (error.line > 0)
            where = QStringLiteral(" (line %1)").arg(error.line);
        throw VbError(error.errorCode, source,
                      QStringLiteral("The file '%1' cannot be loaded: %2%3").arg(path, error.reason.trimmed(), where));
    }
    // A copy: the build changes what it is given, and the next build needs the file as it is.
    xml::Document document;
    document.loadCopy(parsed->document);
    return document;
}

} // namespace veldra
