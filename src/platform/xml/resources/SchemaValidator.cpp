#include "platform/xml/resources/SchemaValidator.h"

#include "platform/core/InputScan.h"
#include "platform/core/RegularFile.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/InterleavedWalk.h"
#include "platform/xml/io/InputLimits.h"
#include "platform/xml/io/StreamedRead.h"
#include "platform/xml/resources/ResourceErrorCapture.h"
#include "platform/xml/resources/ResourceLoader.h"
#include "platform/xml/resources/ResourceResolver.h"
#include "platform/xml/resources/SchemaCache.h"
#include "platform/xml/resources/SchemaLocation.h"

#include <QStringDecoder>
#include <functional>
#include <limits>
#include <libxml/parser.h>
#include <memory>

namespace veldra::xml {

namespace {

// No network, no entity expansion, no DTD loading; line numbers beyond 65535 kept.
constexpr int documentParseOptions = XML_PARSE_NONET | XML_PARSE_BIG_LINES;

using SourceLine = std::function<QString(int line)>;

struct DocFree {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
struct ValidCtxtFree {
    void operator()(xmlSchemaValidCtxt* c) const { xmlSchemaFreeValidCtxt(c); }
};

bool isLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

// Line `line` (from 1) of the input; a line ends at LF, CR LF or CR, as the parser counts them.
QString lineOf(const QByteArray& content, int line)
{
    if (line < 1)
        return {};
    qsizetype start = 0;
    for (int current = 1; current < line; ++current) {
        while (start < content.size() && !isLineBreak(content[start]))
            ++start;
        if (start >= content.size())
            return {};
        start += (content[start] == '\r' && start + 1 < content.size() && content[start + 1] == '\n') ? 2 : 1;
    }
    qsizetype end = start;
    while (end < content.size() && !isLineBreak(content[end]))
        ++end;
    const QByteArray bytes = content.mid(start, end - start);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

SchemaCheck failure(SchemaCheck::Outcome outcome, const QString& reason, int line = 0, const QString& source = {})
{
    SchemaCheck check;
    check.outcome = outcome;
    check.reason = reason;
    check.line = line;
    check.sourceText = source;
    return check;
}

SchemaCheck validateAgainst(xmlSchemaPtr schema, xmlDocPtr doc, const SourceLine& sourceLine)
{
    ResourceErrorCapture errors;
    std::unique_ptr<xmlSchemaValidCtxt, ValidCtxtFree> context(xmlSchemaNewValidCtxt(schema));
    const int rc = context ? xmlSchemaValidateDoc(context.get(), doc) : -1;
    if (rc == 0)
        return SchemaCheck{};
    const auto& first = errors.firstError();
    if (!first)
        return failure(SchemaCheck::Outcome::ValidationFailure,
                       QStringLiteral("The document could not be checked against its schema."));
    return failure(SchemaCheck::Outcome::ValidationFailure, first->message, first->line, sourceLine(first->line));
}

// Only the SPL schema of the agency's set counts: a document that names a schema of its own
// would otherwise be found valid against whatever that schema allows.
bool isTheSplSchema(const QString& location)
{
    const std::optional<MappedAddress> mapped = mapAddress(location);
    return mapped && mapped->kind == ResourceKind::Schema
        && mapped->name.compare(QLatin1String("spl.xsd"), Qt::CaseInsensitive) == 0;
}

SchemaCheck validateParsed(xmlDocPtr doc, const SourceLine& sourceLine)
{
    QString problem;
    const QString location = schemaLocationOf(doc, &problem);
    if (location.isEmpty())
        return failure(SchemaCheck::Outcome::SchemaUnavailable, problem);
    if (!isTheSplSchema(location)) {
        SchemaCheck check = failure(SchemaCheck::Outcome::SchemaUnavailable,
                                    QStringLiteral("The document names the schema %1; SPL is validated only against "
                                                   "the SPL schema %2.")
                                        .arg(location, agencyFolder(ResourceKind::Schema).toString()
                                                           + QStringLiteral("spl.xsd")));
        check.schemaLocation = location;
        return check;
    }

    const ObtainedResource schemaFile = obtainResource(location);
    CompiledSchema compiled;
    if (schemaFile.available())
        compiled = compiledSchema(schemaFile.localPath);
    SchemaCheck check = schemaFile.available() && compiled.schema
                            ? validateAgainst(compiled.schema, doc, sourceLine)
                            : failure(SchemaCheck::Outcome::SchemaUnavailable,
                                      schemaFile.available() ? compiled.problem : schemaFile.problem);
    check.schemaLocation = location;
    return check;
}

// Whether the tree's validity is its saved text's: nothing in it that the parser refuses
// (nesting beyond its limit, too many attributes, a document type declaration, entity
// references), and no processing instruction or comment below the document element, beside
// which the indented text would hold blanks that the tree has not.
bool validatesAsItsText(xmlDocPtr doc)
{
    constexpr int maxDepth = 250;
    xmlNodePtr root = xmlDocGetRootElement(doc);
    if (!root || doc->intSubset || doc->extSubset)
        return false;
    // Each node is judged on its own, so the walk may take them in any order.
    return forEachNodeInterleaved(root, [](xmlNodePtr node, int depth) {
        if (node->type != XML_ELEMENT_NODE)
            return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE;
        if (depth >= maxDepth)
            return false;
        int attributes = 0;
        for (xmlAttrPtr attr = node->properties; attr; attr = attr->next)
            if (++attributes > kMaxAttributesPerElement)
                return false;
        return true;
    });
}

} // namespace

SchemaCheck SchemaValidator::validateFile(const QString& path) const
{
    const FileContent file = readRegularFile(path, kMaxInputBytes);
    if (!file.ok())
        return failure(SchemaCheck::Outcome::ParseFailure, file.problem);
    return validateBytes(file.bytes, path, nullptr);
}

SchemaCheck SchemaValidator::validateSaved(const Document& tree, const QByteArray& content, const QString& path) const
{
    installResourceLoader();
    if (content.size() <= std::numeric_limits<int>::max() && validatesAsItsText(tree.raw())) {
        SchemaCheck check = validateParsed(tree.raw(), [](int) { return QString(); });
        if (check.isValid())
            return check;
    }
    return validateBytes(content, path, nullptr);
}

SchemaCheck SchemaValidator::validateXml(const QString& xml, const QString& baseFile) const
{
    return validateBytes(xml.toUtf8(), baseFile, "UTF-8");
}

SchemaCheck SchemaValidator::validateDocument(xmlDocPtr doc) const
{
    installResourceLoader();
    if (!doc)
        return failure(SchemaCheck::Outcome::ParseFailure, QStringLiteral("There is no document to validate."));
    return validateParsed(doc, [](int) { return QString(); });
}

SchemaCheck SchemaValidator::validateDocument(const Document& doc) const
{
    return validateDocument(doc.raw());
}

SchemaCheck SchemaValidator::validateBytes(const QByteArray& content, const QString& baseFile,
                                           const char* encoding) const
{
    installResourceLoader();
    if (content.size() > std::numeric_limits<int>::max())
        return failure(SchemaCheck::Outcome::ParseFailure, QStringLiteral("The document is too large to parse."));
    if (const auto refusal = refuseBeforeParsing(content))
        return failure(SchemaCheck::Outcome::ParseFailure, refusal->reason, refusal->line, lineOf(content, refusal->line));
    const QByteArray url = baseFile.toUtf8();
    std::unique_ptr<xmlDoc, DocFree> doc;
    std::optional<CapturedError> parseError;
    {
        ResourceErrorCapture errors;
        doc.reset(detail::readAsStream(content, url.isEmpty() ? nullptr : url.constData(), encoding,
                                          documentParseOptions));
        parseError = errors.firstError();
    }
    if (!doc || parseError) {
        const CapturedError error = parseError.value_or(CapturedError{QStringLiteral("The document could not be parsed."), 0});
        return failure(SchemaCheck::Outcome::ParseFailure, error.message, error.line, lineOf(content, error.line));
    }
    return validateParsed(doc.get(), [&content](int line) { return lineOf(content, line); });
}

} // namespace veldra::xml
