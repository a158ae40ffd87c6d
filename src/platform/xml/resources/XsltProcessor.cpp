#include "platform/xml/resources/XsltProcessor.h"

#include "platform/core/InputScan.h"
#include "platform/core/RegularFile.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/io/InputLimits.h"
#include "platform/xml/io/StreamedRead.h"
#include "platform/xml/resources/ResourceErrorCapture.h"
#include "platform/xml/resources/ResourceLoader.h"
#include "platform/xml/resources/ResourceResolver.h"
#include "platform/xml/resources/XsltStylesheetCache.h"

#include <QStringDecoder>
#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxslt/imports.h>
#include <libxslt/security.h>
#include <libxslt/variables.h>
#include <libxslt/transform.h>
#include <libxslt/xsltutils.h>
#include <limits>
#include <memory>

namespace veldra::xml {

namespace {

constexpr int documentParseOptions = XML_PARSE_NONET | XML_PARSE_BIG_LINES | XML_PARSE_NOCDATA;

struct DocFree {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocFree>;

struct TransformContextFree {
    void operator()(xsltTransformContext* c) const { xsltFreeTransformContext(c); }
};

XsltResult failed(XsltResult::Outcome outcome, const QString& problem, const QString& messages = {})
{
    XsltResult result;
    result.outcome = outcome;
    result.problem = problem;
    result.messages = messages;
    return result;
}

// Why the result could not be written as text; empty when it was, whole. libxslt reports
// success over a text with its tail missing when memory runs out while it writes: what
// libxml2 raised on the way counts as the failure it is.
QString outputFailure(int saved, const xmlChar* buffer, int length)
{
    const xmlError* error = xmlGetLastError();
    if (error && error->level >= XML_ERR_ERROR)
        return error->message ? QString::fromUtf8(error->message).trimmed()
                              : QStringLiteral("libxml2 error %1").arg(error->code);
    if (saved < 0 || (length > 0 && !buffer))
        return QStringLiteral("out of memory");
    return {};
}

QString decoded(const QByteArray& bytes, xsltStylesheetPtr stylesheet)
{
    const xmlChar* encoding = nullptr;
    XSLT_GET_IMPORT_PTR(encoding, stylesheet, encoding);
    QStringDecoder decoder(encoding ? reinterpret_cast<const char*>(encoding) : "UTF-8");
    if (!decoder.isValid())
        return QString::fromUtf8(bytes);
    return decoder.decode(bytes);
}

// The result of a transformation as text, or a failure when it could not be written whole.
XsltResult outputOf(xmlDocPtr output, xsltStylesheetPtr stylesheet, const QString& messages)
{
    xmlChar* buffer = nullptr;
    int length = 0;
    xmlResetLastError();
    const int saved = xsltSaveResultToString(&buffer, &length, output, stylesheet);
    const std::unique_ptr<xmlChar, decltype(xmlFree)> owned(buffer, xmlFree);
    if (const QString failure = outputFailure(saved, buffer, length); !failure.isEmpty())
        return failed(XsltResult::Outcome::TransformFailure,
                      QStringLiteral("The result of the transformation could not be written: %1").arg(failure), messages);
    XsltResult result;
    result.text = decoded(QByteArray(reinterpret_cast<const char*>(buffer), length), stylesheet);
    result.messages = messages;
    return result;
}

XsltResult run(xsltStylesheetPtr stylesheet, xmlDocPtr doc, const XsltParameters& parameters, unsigned long stepLimit)
{
    ResourceErrorCapture errors;
    std::unique_ptr<xsltTransformContext, TransformContextFree> context(xsltNewTransformContext(stylesheet, doc));
    if (!context)
        return failed(XsltResult::Outcome::TransformFailure, QStringLiteral("The transformation could not start."));
    xsltSetCtxtSecurityPrefs(xsltGetDefaultSecurityPrefs(), context.get());
    for (const auto& [name, value] : parameters) {
        const QByteArray n = name.toUtf8();
        const QByteArray v = value.toUtf8();
        xsltQuoteOneUserParam(context.get(), reinterpret_cast<const xmlChar*>(n.constData()),
                              reinterpret_cast<const xmlChar*>(v.constData()));
    }
    context->xpathCtxt->opLimit = stepLimit;
    context->xpathCtxt->opCount = 0;
    DocPtr output(xsltApplyStylesheetUser(stylesheet, doc, nullptr, nullptr, nullptr, context.get()));
    const bool stopped = context->state == XSLT_STATE_ERROR || context->state == XSLT_STATE_STOPPED;
    if (stepLimit > 0 && context->xpathCtxt->opCount >= stepLimit)
        return failed(XsltResult::Outcome::StepLimit,
                      QStringLiteral("The transformation was stopped after %1 steps, the most it may take.").arg(stepLimit));
    if (!output || stopped)
        return failed(XsltResult::Outcome::TransformFailure,
                      QStringLiteral("The transformation failed%1")
                          .arg(errors.allMessages().isEmpty() ? QStringLiteral(".")
                                                              : QStringLiteral(":\n") + errors.allMessages()),
                      errors.allMessages());
    return outputOf(output.get(), stylesheet, errors.allMessages());
}

XsltResult transformParsed(const QString& stylesheet, xmlDocPtr doc, const XsltParameters& parameters,
                           unsigned long stepLimit)
{
    const ObtainedResource file = obtainResource(stylesheet);
    if (!file.available())
        return failed(XsltResult::Outcome::StylesheetUnavailable, file.problem);
    const CompiledStylesheet compiled = compiledStylesheet(file.localPath);
    if (!compiled.stylesheet)
        return failed(XsltResult::Outcome::StylesheetFailure, compiled.problem, compiled.messages);
    return run(compiled.stylesheet.get(), doc, parameters, stepLimit);
}

// Bytes to parse for a transformation, and what the stylesheet is to see of them.
struct ByteInput {
    const QByteArray& content;
    QString baseFile;
    const char* encoding = nullptr;
    bool withoutCommentsOrInstructions = false;
};

XsltResult transformBytes(const QString& stylesheet, const ByteInput& input, const XsltParameters& parameters,
                          unsigned long stepLimit)
{
    installResourceLoader();
    if (input.content.size() > std::numeric_limits<int>::max())
        return failed(XsltResult::Outcome::DocumentFailure, QStringLiteral("The document is too large to parse."));
    if (const auto refusal = refuseBeforeParsing(input.content))
        return failed(XsltResult::Outcome::DocumentFailure, refusal->reason);
    const QByteArray url = input.baseFile.toUtf8();
    DocPtr doc;
    QString parseProblem;
    {
        ResourceErrorCapture errors;
        doc.reset(detail::readAsStream(input.content, url.isEmpty() ? nullptr : url.constData(), input.encoding,
                                       documentParseOptions, !input.withoutCommentsOrInstructions));
        if (errors.firstError())
            parseProblem = errors.firstError()->message;
    }
    if (!doc || !parseProblem.isEmpty())
        return failed(XsltResult::Outcome::DocumentFailure,
                      parseProblem.isEmpty() ? QStringLiteral("The document could not be parsed.") : parseProblem);
    return transformParsed(stylesheet, doc.get(), parameters, stepLimit);
}

} // namespace

XsltResult XsltProcessor::transformDocument(const QString& stylesheet, xmlDocPtr doc,
                                            const XsltParameters& parameters) const
{
    installResourceLoader();
    if (!doc)
        return failed(XsltResult::Outcome::DocumentFailure, QStringLiteral("There is no document to transform."));
    const DocPtr copy(xmlCopyDoc(doc, 1));
    if (!copy)
        return failed(XsltResult::Outcome::DocumentFailure, QStringLiteral("The document could not be copied."));
    return transformParsed(stylesheet, copy.get(), parameters, stepLimit_);
}

XsltResult XsltProcessor::transformDocument(const QString& stylesheet, const Document& doc,
                                            const XsltParameters& parameters) const
{
    return transformDocument(stylesheet, doc.raw(), parameters);
}

XsltResult XsltProcessor::transformFile(const QString& stylesheet, const QString& documentPath,
                                        const XsltParameters& parameters) const
{
    const FileContent file = readRegularFile(documentPath, kMaxInputBytes);
    if (!file.ok())
        return failed(XsltResult::Outcome::DocumentFailure, file.problem);
    return transformBytes(stylesheet, {file.bytes, documentPath}, parameters, stepLimit_);
}

XsltResult XsltProcessor::transformXml(const QString& stylesheet, const QString& xml,
                                       const XsltParameters& parameters) const
{
    return transformBytes(stylesheet, {xml.toUtf8(), QString(), "UTF-8"}, parameters, stepLimit_);
}

XsltResult XsltProcessor::transformWithoutCommentsOrInstructions(const QString& stylesheet, const QByteArray& content,
                                                                 const XsltParameters& parameters) const
{
    return transformBytes(stylesheet, {content, QString(), nullptr, true}, parameters, stepLimit_);
}

} // namespace veldra::xml
