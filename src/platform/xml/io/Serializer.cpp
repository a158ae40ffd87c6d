#include "platform/xml/io/Serializer.h"

#include "platform/xml/io/EncodingFit.h"
#include "platform/xml/io/IndentOverlay.h"
#include "platform/xml/io/XmlErrors.h"
#include "platform/xml/io/WhitespaceRules.h"
#include "platform/xml/tree/XmlStrings.h"

#include <libxml/encoding.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlsave.h>

#include <memory>
#include <new>

namespace veldra::xml::detail {

namespace {

const QString& kSource = errorSource();

struct DocFree {
    void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
};
using DocCopy = std::unique_ptr<xmlDoc, DocFree>;

bool isUtf8(const xmlChar* encoding)
{
    if (!encoding)
        return true;
    const QString name = fromXml(encoding).toUpper();
    return name == QLatin1String("UTF-8") || name == QLatin1String("UTF8");
}

void requireEncoding(const char* encoding)
{
    // A converter found through iconv is made for the caller, who closes it.
    xmlCharEncodingHandlerPtr handler = xmlFindCharEncodingHandler(encoding);
    if (!handler)
        throw VbError(err::FileAccess, kSource,
                      QStringLiteral("The encoding '%1' is not supported.").arg(QString::fromUtf8(encoding)));
    xmlCharEncCloseFunc(handler);
}

// No exception may pass through libxml2's frames: a result that cannot grow fails the write,
// which libxml2 then reports.
int appendTo(void* bytes, const char* buffer, int length)
{
    try {
        static_cast<QByteArray*>(bytes)->append(buffer, length);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return length;
}

// What libxml2 raised last on this thread, as a reason: "" when nothing.
QString lastFailure()
{
    const xmlError* error = xmlGetLastError();
    if (!error || error->level < XML_ERR_ERROR)
        return {};
    return error->message ? QString::fromUtf8(error->message).trimmed() : QStringLiteral("libxml2 error %1").arg(error->code);
}

[[noreturn]] void throwWriteFailure()
{
    const QString reason = lastFailure();
    throw VbError(err::FileAccess, kSource,
                  reason.isEmpty() ? QStringLiteral("The document could not be written as XML text.")
                                   : QStringLiteral("The document could not be written as XML text: %1").arg(reason));
}

// libxml2 does not hand every failure back to its caller: a buffer of its own that cannot grow
// when memory runs out drops what was to go into it, and the save goes on and reports success
// over text with a piece missing (a copy for the layout loses the node the same way). Each such
// failure is raised as the thread's last error, so the whole of a write is checked against it.
template <class Write>
auto withoutSilentFailure(Write&& write)
{
    xmlResetLastError();
    auto written = write();
    if (!lastFailure().isEmpty())
        throwWriteFailure();
    return written;
}

// Runs one libxml2 save into memory, appending to `result`. `save` writes through the save
// context. Written straight into the result, which grows geometrically.
template <class Save>
QByteArray saveToMemory(const char* encoding, int options, Save&& save, QByteArray result = {})
{
    requireEncoding(encoding);
    // The encoding is known to be supported: a context that cannot be made ran out of memory.
    xmlSaveCtxtPtr ctxt = xmlSaveToIO(appendTo, nullptr, &result, encoding, options);
    if (!ctxt)
        throwWriteFailure();
    const long written = save(ctxt);
    const int closed = xmlSaveClose(ctxt);
    if (written < 0 || closed < 0)
        throwWriteFailure();
    return result;
}

// The document's bytes after `prefix`.
QByteArray bodyBytes(xmlDocPtr doc, const char* encoding, int options, QByteArray prefix = {})
{
    return saveToMemory(encoding, options, [doc](xmlSaveCtxtPtr ctxt) { return xmlSaveDoc(ctxt, doc); }, prefix);
}

// The document to write: the document itself (the indentation laid over its tree where that
// writes what a copy would), or an indented copy of it.
xmlDocPtr laidOut(xmlDocPtr doc, Layout layout, DocCopy& copy, IndentOverlay& overlay)
{
    if (layout == Layout::AsIs || overlay.layOver(doc))
        return doc;
    copy.reset(xmlCopyDoc(doc, 1));
    if (!copy)
        throw VbError(err::General, kSource, QStringLiteral("Out of memory while laying out the document."));
    indentLayout(copy.get());
    return copy.get();
}

QByteArray utf8DocumentBytes(xmlDocPtr doc, bool hasDeclaration, Layout layout, const QString& declaration)
{
    DocCopy copy;
    IndentOverlay overlay;
    QByteArray declarationLine;
    if (hasDeclaration)
        declarationLine = toXml(declaration) + '\n';
    return bodyBytes(laidOut(doc, layout, copy, overlay), "UTF-8", XML_SAVE_NO_DECL, declarationLine);
}

QString attributeDeclarationPart(const char* name, const QString& value)
{
    return QStringLiteral(" %1=\"%2\"").arg(QLatin1String(name), value);
}

QString declarationData(xmlDocPtr doc, const xmlChar* encoding)
{
    QString data = QStringLiteral("version=\"%1\"").arg(doc->version ? fromXml(doc->version) : QStringLiteral("1.0"));
    if (encoding)
        data += attributeDeclarationPart("encoding", fromXml(encoding));
    if (doc->standalone == 1 || doc->standalone == 0)
        data += attributeDeclarationPart("standalone", doc->standalone == 1 ? QStringLiteral("yes") : QStringLiteral("no"));
    return data;
}

QString declarationText(xmlDocPtr doc, const xmlChar* encoding)
{
    return QStringLiteral("<?xml ") + declarationData(doc, encoding) + QStringLiteral("?>");
}

QByteArray encodedDocumentBytes(xmlDocPtr doc, bool hasDeclaration, Layout layout)
{
    if (!hasDeclaration || isUtf8(doc->encoding))
        return utf8DocumentBytes(doc, hasDeclaration, layout, declarationText(doc, doc->encoding));
    const auto encoding = reinterpret_cast<const char*>(doc->encoding);
    requireEncoding(encoding);
    // A name or comment the encoding lacks would be written as a character reference, which
    // no reader takes back; UTF-8 holds every character, and the declaration says so.
    if (!markupFitsEncoding(doc, encoding))
        return utf8DocumentBytes(doc, hasDeclaration, layout,
                                 declarationText(doc, reinterpret_cast<const xmlChar*>("UTF-8")));
    // libxml2 writes the declaration itself here, naming the encoding it encodes in.
    DocCopy copy;
    IndentOverlay overlay;
    return bodyBytes(laidOut(doc, layout, copy, overlay), encoding, 0);
}

QString writtenNode(xmlNodePtr node)
{
    xmlNodePtr toWrite = node;
    DocCopy scratch;
    if (node->type == XML_ELEMENT_NODE) {
        // A copy into a document of its own, reconciled, declares the namespaces the element
        // inherits from above (or, for a node out of the tree, holds through its document).
        scratch.reset(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")));
        toWrite = nullptr;
        if (xmlDOMWrapCloneNode(nullptr, node->doc, node, &toWrite, scratch.get(), nullptr, 1, 0) != 0 || !toWrite)
            throw VbError(err::General, kSource, QStringLiteral("The element could not be written as XML text."));
        xmlDocSetRootElement(scratch.get(), toWrite);
        xmlDOMWrapReconcileNamespaces(nullptr, toWrite, 0);
    }
    QString text = QString::fromUtf8(
        saveToMemory("UTF-8", 0, [toWrite](xmlSaveCtxtPtr ctxt) { return xmlSaveTree(ctxt, toWrite); }));
    if (node->type == XML_ATTRIBUTE_NODE && text.startsWith(QLatin1Char(' ')))
        text.remove(0, 1);
    return text;
}

} // namespace

QString declarationData(xmlDocPtr doc)
{
    return declarationData(doc, doc->encoding);
}

QString declarationText(xmlDocPtr doc)
{
    return declarationText(doc, doc->encoding);
}

QString documentText(xmlDocPtr doc, bool hasDeclaration, Layout layout)
{
    return QString::fromUtf8(withoutSilentFailure(
        [&] { return utf8DocumentBytes(doc, hasDeclaration, layout, declarationText(doc)); }));
}

QByteArray documentBytes(xmlDocPtr doc, bool hasDeclaration, Layout layout)
{
    return withoutSilentFailure([&] { return encodedDocumentBytes(doc, hasDeclaration, layout); });
}

QString nodeText(xmlNodePtr node)
{
    return withoutSilentFailure([node] { return writtenNode(node); });
}

} // namespace veldra::xml::detail
