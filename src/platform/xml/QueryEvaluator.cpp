#include "platform/xml/QueryEvaluator.h"

#include "platform/xml/DocState.h"
#include "platform/xml/NodeAccess.h"
#include "platform/xml/QueryTranslator.h"
#include "platform/xml/TreeEdit.h"
#include "platform/xml/XmlErrors.h"
#include "platform/xml/XmlStrings.h"

#include <libxml/xpathInternals.h>

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

std::vector<Node> evaluate(xmlNodePtr context, const QString& query, bool firstOnly)
{
    DocState* state = stateOf(documentOf(context));
    QString xpath = QueryTranslator::toXPath(query, QSet<QString>(state->selectionNamespaces.keyBegin(),
                                                                  state->selectionNamespaces.keyEnd()));
    if (firstOnly)
        xpath = QLatin1Char('(') + xpath + QLatin1String(")[1]");
    forgetPositionStamps(state);
    xmlXPathContextPtr ctx = contextFor(state);
    xmlResetError(&ctx->lastError);
    ctx->node = context;
    const QByteArray utf8 = toXml(xpath);
    std::unique_ptr<xmlXPathCompExpr, CompFree> comp(xmlXPathCtxtCompile(ctx, bytes(utf8)));
    if (!comp)
        throwQueryError(QStringLiteral("The query '%1' cannot be evaluated: %2").arg(query, lastErrorOf(ctx)));
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
