#include "platform/xml/query/QueryEvaluator.h"

#include "platform/xml/tree/DocState.h"
#include "platform/xml/tree/NodeAccess.h"
#include "platform/xml/query/QueryTranslator.h"
#include "platform/xml/tree/TreeEdit.h"
#include "platform/xml/io/XmlErrors.h"
#include "platform/xml/tree/XmlStrings.h"

#include <libxml/xpathInternals.h>

#include <QStringList>

#include <cstddef>
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

QString lastErrorOf(xmlXPathContextPtr ctx)
{
    return ctx->lastError.message ? fromXml(reinterpret_cast<const xmlChar*>(ctx->lastError.message)).trimmed()
                                  : QStringLiteral("unknown error");
}

using CompiledQuery = std::shared_ptr<xmlXPathCompExpr>;

// Programs ask the same few queries over and over (a build asks thousands of times for
// "Source" and "Target"), so translated and compiled queries are kept. A compiled query does
// not depend on the document: prefixes are resolved when it is evaluated.
class CompiledQueries {
public:
    CompiledQuery find(const QString& key) const { return queries_.value(key); }
    void keep(const QString& key, const CompiledQuery& query)
    {
        if (queries_.size() >= maximum)
            queries_.clear();
        queries_.insert(key, query);
    }

private:
    static constexpr qsizetype maximum = 2048;
    QHash<QString, CompiledQuery> queries_;
};

CompiledQueries& compiledQueries()
{
    thread_local CompiledQueries queries;
    return queries;
}

CompiledQuery compile(xmlXPathContextPtr ctx, const QString& query, const QSet<QString>& prefixes, bool firstOnly)
{
    QStringList sortedPrefixes(prefixes.cbegin(), prefixes.cend());
    sortedPrefixes.sort();
    const QString key = sortedPrefixes.join(QLatin1Char(' ')) + (firstOnly ? QLatin1String("\n1\n") : QLatin1String("\n*\n")) + query;
    if (CompiledQuery known = compiledQueries().find(key))
        return known;
    QString xpath = QueryTranslator::toXPath(query, prefixes);
    if (firstOnly)
        xpath = QLatin1Char('(') + xpath + QLatin1String(")[1]");
    const QByteArray utf8 = toXml(xpath);
    CompiledQuery compiled(xmlXPathCtxtCompile(ctx, bytes(utf8)), CompFree());
    if (!compiled.get())
        throwQueryError(QStringLiteral("The query '%1' cannot be evaluated: %2").arg(query, lastErrorOf(ctx)));
    compiledQueries().keep(key, compiled);
    return compiled;
}

std::vector<Node> evaluate(xmlNodePtr context, const QString& query, bool firstOnly)
{
    DocState* state = stateOf(documentOf(context));
    const QSet<QString> prefixes(state->selectionNamespaces.keyBegin(), state->selectionNamespaces.keyEnd());
    forgetPositionStamps(state);
    xmlXPathContextPtr ctx = contextFor(state);
    xmlResetError(&ctx->lastError);
    ctx->node = context;
    const CompiledQuery comp = compile(ctx, query, prefixes, firstOnly);
    std::unique_ptr<xmlXPathObject, ObjectFree> result(xmlXPathCompiledEval(comp.get(), ctx));
    if (!result)
        throwQueryError(QStringLiteral("The query '%1' cannot be evaluated: %2").arg(query, lastErrorOf(ctx)));
    if (result->type != XPATH_NODESET)
        throwQueryError(QStringLiteral("The query '%1' does not select nodes.").arg(query));
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
