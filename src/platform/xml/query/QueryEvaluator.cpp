#include "platform/xml/query/QueryEvaluator.h"

#include "platform/xml/query/CompiledQueryCache.h"
#include "platform/xml/tree/DocState.h"
#include "platform/xml/tree/NodeAccess.h"
#include "platform/xml/query/QueryTranslator.h"
#include "platform/xml/tree/TreeEdit.h"
#include "platform/xml/io/XmlErrors.h"
#include "platform/xml/tree/XmlStrings.h"

#include <libxml/xpathInternals.h>

#include <QStringList>

#include <cstddef>
#include <iterator>
#include <memory>

namespace veldra::xml::detail {

namespace {

void ignoreXPathError(void*, xmlErrorPtr) {}

xmlXPathContextPtr contextFor(DocState* state)
{
    if (state->xpath)
        return state->xpath;
    xmlXPathContextPtr ctx = xmlXPathNewContext(state->doc);
    if (!ctx)
        throwQueryError(QStringLiteral("The query engine could not be started."));
    ctx->error = ignoreXPathError;  // failures are reported through lastError instead of stderr
    for (auto it = state->selectionNamespaces.cbegin(); it != state->selectionNamespaces.cend(); ++it)
        xmlXPathRegisterNs(ctx, bytes(toXml(it.key())), bytes(toXml(it.value())));
    state->xpath = ctx;
    return ctx;
}

// libxslt stamps each element with its document position (in the element's content field)
// to sort faster; once the tree changes, the stamps would order query results wrongly.
void forgetPositionStamps(DocState* state)
{
    xmlNodePtr root = xmlDocGetRootElement(state->doc);
    if (!root || reinterpret_cast<std::ptrdiff_t>(root->content) >= 0)
        return;
    auto clear = [](xmlNodePtr node) {
        if (node->type == XML_ELEMENT_NODE)
            node->content = nullptr;
    };
    forEachInSubtree(root, clear);
    for (xmlNodePtr detached : state->detached)
        if (detached->doc == state->doc)
            forEachInSubtree(detached, clear);
}

struct CompFree {
    void operator()(xmlXPathCompExprPtr comp) const { xmlXPathFreeCompExpr(comp); }
};
struct ObjectFree {
    void operator()(xmlXPathObjectPtr object) const { xmlXPathFreeObject(object); }
};

// The query engine hands its own refusals to the context's handler as a code without a
// message; the reason is named here, in the order of libxml2's xmlXPathError.
QString reasonOfCode(int code)
{
    static const char* const reasons[] = {
        "no error",
        "a number is badly written",
        "text in quotes is not closed",
        "text in quotes was expected",
        "a variable name was expected",
        "a variable is not defined",
        "a condition is not valid",
        "the expression is not valid",
        "a brace is not closed",
        "a function is not known",
        "an operand is not valid",
        "a value has the wrong type",
        "a function has the wrong number of arguments",
        "the context size is not valid",
        "the context position is not valid",
        "there is not enough memory for it",
        "the syntax is not valid",
        "a resource is missing",
        "a part of a resource is missing",
        "a prefix is not bound to a namespace",
        "its text is not valid UTF-8",
        "it holds a character that XML does not allow",
        "its context is not valid",
        "it is too large for the query engine's stack",
        "variables are not allowed",
        "it takes more steps than the query engine allows",
        "it nests deeper than the query engine allows",
    };
    const int index = code - XML_XPATH_EXPRESSION_OK;
    // The engine stops without a code when a result outgrows its ten million nodes or memory
    // runs out: it reports those outside the context.
    if (index == 0)
        return QStringLiteral("its result is larger than the query engine holds (10,000,000 nodes), or memory ran "
                              "out; compare or query a smaller document");
    if (index > 0 && index < int(std::size(reasons)))
        return QString::fromLatin1(reasons[index]);
    return QStringLiteral("the query engine refused it (libxml2 error %1)").arg(code);
}

QString lastErrorOf(xmlXPathContextPtr ctx)
{
    return ctx->lastError.message ? fromXml(reinterpret_cast<const xmlChar*>(ctx->lastError.message)).trimmed()
                                  : reasonOfCode(ctx->lastError.code);
}

QString cacheKey(const QString& query, const QSet<QString>& prefixes, bool firstOnly)
{
    QStringList sortedPrefixes(prefixes.cbegin(), prefixes.cend());
    sortedPrefixes.sort();
    return sortedPrefixes.join(QLatin1Char(' ')) + (firstOnly ? QLatin1String("\n1\n") : QLatin1String("\n*\n")) + query;
}

CompiledQuery compile(xmlXPathContextPtr ctx, const QString& query, const QSet<QString>& prefixes, bool firstOnly)
{
    TranslatedQuery translated = QueryTranslator::translate(query, prefixes);
    if (firstOnly)
        translated.xpath = QLatin1Char('(') + translated.xpath + QLatin1String(")[1]");
    const QByteArray utf8 = toXml(translated.xpath);
    CompiledQuery compiled{std::shared_ptr<xmlXPathCompExpr>(xmlXPathCtxtCompile(ctx, bytes(utf8)), CompFree()),
                           translated.texts};
    if (!compiled)
        throwQueryError(QStringLiteral("The query '%1' cannot be evaluated: %2").arg(query, lastErrorOf(ctx)));
    return compiled;
}

// Binds a query's texts to its variables in the document's context for one evaluation, and
// unbinds them when it ends, however it ends: no text is left for the next query to read.
class BoundTexts {
public:
    BoundTexts(xmlXPathContextPtr ctx, const QStringList& texts) : ctx_(ctx)
    {
        for (qsizetype i = 0; i < texts.size(); ++i) {
            const QByteArray name = toXml(QueryTranslator::variableName(i));
            if (xmlXPathRegisterVariable(ctx, bytes(name), xmlXPathNewString(bytes(toXml(texts[i])))) != 0) {
                xmlXPathRegisteredVariablesCleanup(ctx_);
                throwQueryError(QStringLiteral("The query engine could not hold a text of the query."));
            }
        }
    }
    ~BoundTexts() { xmlXPathRegisteredVariablesCleanup(ctx_); }
    BoundTexts(const BoundTexts&) = delete;
    BoundTexts& operator=(const BoundTexts&) = delete;

private:
    xmlXPathContextPtr ctx_;
};

std::vector<Node> evaluate(xmlNodePtr context, const QString& query, bool firstOnly)
{
    DocState* state = stateOf(documentOf(context));
    const QSet<QString> prefixes(state->selectionNamespaces.keyBegin(), state->selectionNamespaces.keyEnd());
    forgetPositionStamps(state);
    xmlXPathContextPtr ctx = contextFor(state);
    xmlResetError(&ctx->lastError);
    ctx->node = context;
    CompiledQueryCache& cache = CompiledQueryCache::ofThisThread();
    const QString key = cacheKey(query, prefixes, firstOnly);
    const CompiledQuery known = cache.find(key);
    const CompiledQuery comp = known ? known : compile(ctx, query, prefixes, firstOnly);
    const BoundTexts bound(ctx, comp.texts);
    std::unique_ptr<xmlXPathObject, ObjectFree> result(xmlXPathCompiledEval(comp.expression.get(), ctx));
    if (!result)
        throwQueryError(QStringLiteral("The query '%1' cannot be evaluated: %2").arg(query, lastErrorOf(ctx)));
    if (result->type != XPATH_NODESET)
        throwQueryError(QStringLiteral("The query '%1' does not select nodes.").arg(query));
    // Only a query that ran is kept: one that fails fails again, and holds memory for nothing.
    if (!known)
        cache.keep(key, comp);
    std::vector<Node> nodes;
    if (xmlNodeSetPtr set = result->nodesetval) {
        nodes.reserve(static_cast<size_t>(set->nodeNr));
        for (int i = 0; i < set->nodeNr; ++i)
            if (set->nodeTab[i]->type != XML_NAMESPACE_DECL)
                nodes.push_back(NodeAccess::wrap(set->nodeTab[i]));
    }
    return nodes;
}

} // namespace

NodeList selectNodes(xmlNodePtr context, const QString& query)
{
    return NodeList(evaluate(context, query, false));
}

Node selectSingleNode(xmlNodePtr context, const QString& query)
{
    std::vector<Node> nodes = evaluate(context, query, true);
    return nodes.empty() ? Node() : nodes.front();
}

} // namespace veldra::xml::detail
