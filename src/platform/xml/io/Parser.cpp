#include "platform/xml/io/Parser.h"

#include "platform/core/InputScan.h"
#include "platform/core/RegularFile.h"
#include "platform/core/VbError.h"
#include "platform/xml/io/WhitespaceRules.h"
#include "platform/xml/tree/XmlStrings.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <functional>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/SAX2.h>
#include <libxml/valid.h>

namespace veldra::xml::detail {

namespace {

// XML_PARSE_HUGE lifts libxml2's fixed limits, which this layer's own replace: the input
// is in memory and at most kMaxInputBytes, and the depth is checked below. Without it,
// libxml2 2.9 refuses valid documents above ten megabytes: once the parser has read to the
// end of the memory buffer, it takes it for a stream and stops with "Huge input lookup"
// when it looks ahead more than ten megabytes past the last point it let go of, which a
// long attribute value near the end makes it do; and a single value of ten megabytes or
// more is refused outright.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NODICT | XML_PARSE_BIG_LINES | XML_PARSE_HUGE;
// A line longer than this is cut around the failing column for srcText: messages quote it,
// and a document written as one line would otherwise fill them with the whole document.
constexpr int kMaxSourceTextChars = 100;

struct Capture {
    ParseError first;
    int depth = 0;  // of the element being parsed
};

Capture& captureOf(void* userData)
{
    return *static_cast<Capture*>(static_cast<xmlParserCtxtPtr>(userData)->_private);
}

void record(xmlParserCtxtPtr ctxt, int code, const QString& reason, int line, int column)
{
    Capture& capture = *static_cast<Capture*>(ctxt->_private);
    if (!capture.first.ok())
        return;
    capture.first.errorCode = code;
    capture.first.reason = reason.trimmed();
    capture.first.line = line;
    capture.first.linePos = column;
}

void refuse(void* userData, const QString& reason)
{
    auto ctxt = static_cast<xmlParserCtxtPtr>(userData);
    const int line = ctxt->input ? ctxt->input->line : 0;
    const int column = ctxt->input ? ctxt->input->col : 0;
    record(ctxt, err::XmlParse, reason, line, column);
    xmlStopParser(ctxt);
    ctxt->wellFormed = 0;
}

void onError(void* userData, xmlErrorPtr error)
{
    if (!error || !captureOf(userData).first.ok())
        return;
    const bool undeclaredEntity = error->code == XML_WAR_UNDECLARED_ENTITY;
    if (error->level < XML_ERR_ERROR && !undeclaredEntity)
        return;
    if (undeclaredEntity) {
        refuse(userData, fromXml(reinterpret_cast<const xmlChar*>(error->message)));
        return;
    }
    record(static_cast<xmlParserCtxtPtr>(userData), error->code,
           fromXml(reinterpret_cast<const xmlChar*>(error->message)), error->line, error->int2);
}

void onEntityDecl(void* userData, const xmlChar* name, int, const xmlChar*, const xmlChar*, xmlChar*)
{
    refuse(userData, QStringLiteral("The document declares the entity '%1'; entity declarations are not allowed.")
                         .arg(fromXml(name)));
}

void onUnparsedEntityDecl(void* userData, const xmlChar* name, const xmlChar*, const xmlChar*, const xmlChar*)
{
    onEntityDecl(userData, name, 0, nullptr, nullptr, nullptr);
}

// The scan before parsing refuses every declaration of a document type in the encodings it
// reads; these refuse them in any other (EBCDIC, UTF-7) before an element takes a default.
void refuseDeclaration(void* userData, const char* keyword, const xmlChar* name)
{
    refuse(userData, QStringLiteral("The document type declares '<!%1 %2'; a document type may declare nothing.")
                         .arg(QLatin1String(keyword), fromXml(name)));
}

void onAttributeDecl(void* userData, const xmlChar* element, const xmlChar*, int, int, const xmlChar*,
                     xmlEnumerationPtr values)
{
    xmlFreeEnumeration(values);  // the handler's to free
    refuseDeclaration(userData, "ATTLIST", element);
}

void onElementDecl(void* userData, const xmlChar* name, int, xmlElementContentPtr)
{
    refuseDeclaration(userData, "ELEMENT", name);
}

void onNotationDecl(void* userData, const xmlChar* name, const xmlChar*, const xmlChar*)
{
    refuseDeclaration(userData, "NOTATION", name);
}

void onReference(void* userData, const xmlChar* name)
{
    refuse(userData, QStringLiteral("The entity '%1' is not defined.").arg(fromXml(name)));
}

void onStartElement(void* userData, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri,
                    int namespaceCount, const xmlChar** namespaces, int attributeCount, int defaultedCount,
                    const xmlChar** attributes)
{
    if (++captureOf(userData).depth > kMaxElementDepth) {
        refuse(userData, QStringLiteral("Elements are nested deeper than %1 levels.").arg(kMaxElementDepth));
        return;
    }
    xmlSAX2StartElementNs(userData, localName, prefix, uri, namespaceCount, namespaces, attributeCount,
                          defaultedCount, attributes);
}

void onEndElement(void* userData, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri)
{
    --captureOf(userData).depth;
    xmlSAX2EndElementNs(userData, localName, prefix, uri);
}

bool startsWithUtf16Bom(const QByteArray& input)
{
    return input.startsWith("\xFF\xFE") || input.startsWith("\xFE\xFF");
}

QStringList linesOf(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    return text.split(lineBreak);
}

QString decodeLine(const QByteArray& line)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(line);
    return utf8.hasError() ? QString::fromLatin1(line) : text;
}

QString cutAroundColumn(const QString& line, int column)
{
    if (line.size() <= kMaxSourceTextChars)
        return line;
    const qsizetype start = qBound(qsizetype(0), qsizetype(column - kMaxSourceTextChars / 2), line.size() - kMaxSourceTextChars);
    const QString ellipsis(QChar(0x2026));
    return (start > 0 ? ellipsis : QString()) + line.mid(start, kMaxSourceTextChars)
        + (start + kMaxSourceTextChars < line.size() ? ellipsis : QString());
}

bool isUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The characters of the bytes from `from` to `to`, read as UTF-8 (the parser's columns count
// characters).
int charactersBetween(const QByteArray& input, qsizetype from, qsizetype to)
{
    int characters = 0;
    for (qsizetype at = from; at < to; ++at)
        characters += !isUtf8Continuation(input[at]);
    return characters;
}

qsizetype byteOfColumn(const QByteArray& input, qsizetype start, qsizetype end, int column)
{
    int characters = 0;
    for (qsizetype at = start; at < end; ++at)
        if (!isUtf8Continuation(input[at]) && characters++ == column)
            return at;
    return end;
}

// The bytes of a line from `start` to `end` around `column`, decoded: a line longer than
// kMaxDecodedLineBytes is decoded only around the column (which then counts from the start of
// the part), so that a file of one line of 200 MB is not decoded whole for a message of 100
// characters.
constexpr qsizetype kMaxDecodedLineBytes = 4 * kMaxSourceTextChars;

QString decodedAround(const QByteArray& input, qsizetype start, qsizetype end, int& column)
{
    if (end - start <= kMaxDecodedLineBytes)
        return decodeLine(input.mid(start, end - start));
    const qsizetype at = byteOfColumn(input, start, end, column);
    qsizetype from = qBound(start, at - kMaxDecodedLineBytes / 2, end - kMaxDecodedLineBytes);
    while (from > start && isUtf8Continuation(input[from]))
        --from;
    qsizetype to = qMin(end, from + kMaxDecodedLineBytes);
    while (to < end && isUtf8Continuation(input[to]))
        ++to;
    column = charactersBetween(input, from, at);
    return decodeLine(input.mid(from, to - from));
}

// The input's line number `line` (from 1) around `column`, found in the raw bytes so that a
// file in any ASCII-compatible encoding gives its line without decoding the whole file.
QString lineOfBytes(const QByteArray& input, int line, int column)
{
    if (startsWithUtf16Bom(input)) {
        QStringDecoder utf16(QStringDecoder::Utf16);
        const QStringList lines = linesOf(utf16(input));
        return line >= 1 && line <= lines.size() ? cutAroundColumn(lines[line - 1], column) : QString();
    }
    int current = 1;
    qsizetype start = 0;
    for (qsizetype i = 0; i < input.size() && current < line; ++i) {
        const char c = input[i];
        if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < input.size() && input[i + 1] == '\n')
                ++i;
            ++current;
            start = i + 1;
        }
    }
    if (current != line)
        return QString();
    qsizetype end = start;
    while (end < input.size() && input[end] != '\n' && input[end] != '\r')
        ++end;
    const QString part = decodedAround(input, start, end, column);
    return cutAroundColumn(part, column);
}

// The encoding named by a declaration at the start of the text, or an empty string.
QString declaredEncoding(const QString& text)
{
    static const QRegularExpression declaration(
        QStringLiteral(R"(^\x{FEFF}?<\?xml\s[^>]*?\bencoding\s*=\s*(["'])([^"']*)\1)"));
    const QRegularExpressionMatch match = declaration.match(text.left(512));
    return match.hasMatch() ? match.captured(2) : QString();
}

ParseOutcome failure(int code, const QString& reason)
{
    ParseOutcome outcome;
    outcome.error.errorCode = code;
    outcome.error.reason = reason;
    return outcome;
}

ParseOutcome parseBytes(const QByteArray& input, const QString& url, bool decodedText,
                        const std::function<QString(int, int)>& sourceLine, const LoadOptions& options)
{
    if (input.size() > kMaxInputBytes)
        return failure(err::XmlParse, QStringLiteral("The document is too large to load (%1 bytes; the limit is %2 bytes).")
                                          .arg(input.size())
                                          .arg(kMaxInputBytes));
    if (const auto refusal = refuseBeforeParsing(input, {options.maxNodes, options.maxTextCharacters})) {
        ParseOutcome outcome = failure(err::XmlParse, refusal->reason);
        outcome.error.line = refusal->line;
        outcome.error.srcText = sourceLine(refusal->line, 0);
        return outcome;
    }
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (!ctxt)
        return failure(err::XmlParse, QStringLiteral("The XML parser could not be started."));
    Capture capture;
    ctxt->_private = &capture;
    ctxt->sax->serror = onError;
    ctxt->sax->entityDecl = onEntityDecl;
    ctxt->sax->unparsedEntityDecl = onUnparsedEntityDecl;
    ctxt->sax->attributeDecl = onAttributeDecl;
    ctxt->sax->elementDecl = onElementDecl;
    ctxt->sax->notationDecl = onNotationDecl;
    ctxt->sax->reference = onReference;
    ctxt->sax->startElementNs = onStartElement;
    ctxt->sax->endElementNs = onEndElement;
    if (!options.keepCommentsAndInstructions) {
        ctxt->sax->comment = nullptr;
        ctxt->sax->processingInstruction = nullptr;
    }

    const QByteArray urlBytes = QFile::encodeName(url);
    const int parseOptions = kParseOptions | (decodedText ? XML_PARSE_IGNORE_ENC : 0);
    xmlDocPtr doc = xmlCtxtReadMemory(ctxt, input.constData(), static_cast<int>(input.size()),
                                      urlBytes.isEmpty() ? nullptr : urlBytes.constData(),
                                      decodedText ? "UTF-8" : nullptr, parseOptions);
    const bool wellFormed = ctxt->wellFormed != 0;
    xmlFreeParserCtxt(ctxt);

    ParseOutcome outcome;
    if (!doc || !wellFormed || !capture.first.ok()) {
        if (doc)
            xmlFreeDoc(doc);
        outcome.error = capture.first;
        if (outcome.error.ok()) {
            outcome.error.errorCode = err::XmlParse;
            outcome.error.reason = QStringLiteral("The document could not be parsed.");
        }
        if (outcome.error.line > 0)
            outcome.error.srcText = sourceLine(outcome.error.line, outcome.error.linePos);
        return outcome;
    }
    outcome.doc = doc;
    // libxml2 marks "no XML declaration" with standalone -1 (-2: a declaration without standalone).
    outcome.hasDeclaration = doc->standalone != -1;
    stripInsignificantWhitespace(doc);
    return outcome;
}

} // namespace

ParseOutcome parseFile(const QString& path, const LoadOptions& options)
{
    const FileContent file = readRegularFile(path, kMaxInputBytes);
    if (!file.ok())
        return failure(file.errorCode, file.problem);
    const QByteArray& input = file.bytes;
    return parseBytes(input, QFileInfo(path).absoluteFilePath(), false,
                      [&input](int line, int column) { return lineOfBytes(input, line, column); }, options);
}

ParseOutcome parseText(const QString& text)
{
    QString body = text;
    if (body.startsWith(QChar(0xFEFF)))
        body.remove(0, 1);
    ParseOutcome outcome = parseBytes(toXml(body), QString(), true, [&body](int line, int column) {
        const QStringList lines = linesOf(body);
        return line >= 1 && line <= lines.size() ? cutAroundColumn(lines[line - 1], column) : QString();
    }, LoadOptions());
    if (outcome.doc) {
        // The text was decoded already; keep what its declaration says for saving.
        xmlFree(const_cast<xmlChar*>(outcome.doc->encoding));
        const QString encoding = declaredEncoding(body);
        outcome.doc->encoding = encoding.isEmpty() ? nullptr : xmlStrdup(bytes(toXml(encoding)));
    }
    return outcome;
}

} // namespace veldra::xml::detail
