#include "platform/xml/tree/NamespaceFit.h"

#include "platform/xml/tree/DocState.h"

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace veldra::xml::detail {

namespace {

std::string prefixKey(const xmlChar* prefix)
{
    return prefix ? std::string(":") + reinterpret_cast<const char*>(prefix) : std::string();
}

class Fit {
public:
    explicit Fit(xmlNodePtr root) : root_(root) {}

    // False when the subtree needs the library's node-by-node reconciliation.
    bool run()
    {
        if (!survey() || !resolveOutside())
            return false;
        apply();
        return true;
    }

private:
    // Walks the subtree keeping the declarations in scope by prefix; every reference is either
    // the innermost declaration of its prefix within the subtree or one from outside that
    // nothing within shadows.
    bool survey()
    {
        xmlNodePtr cur = root_;
        while (cur) {
            if (!enter(cur))
                return false;
            if (cur->type == XML_ELEMENT_NODE && cur->children) {
                cur = cur->children;
                continue;
            }
            while (cur) {
                leave(cur);
                if (cur == root_)
                    return true;
                if (cur->next) {
                    cur = cur->next;
                    break;
                }
                cur = cur->parent;
            }
        }
        return true;
    }

    bool enter(xmlNodePtr node)
    {
        if (node->type != XML_ELEMENT_NODE)
            return true;
        for (xmlNsPtr ns = node->nsDef; ns; ns = ns->next)
            inScope_[prefixKey(ns->prefix)].push_back(ns);
        if (node->ns && !referenceFits(node->ns, false))
            return false;
        for (xmlAttrPtr attr = node->properties; attr; attr = attr->next)
            if (attr->ns && !referenceFits(attr->ns, true))
                return false;
        return true;
    }

    void leave(xmlNodePtr node)
    {
        if (node->type != XML_ELEMENT_NODE)
            return;
        for (xmlNsPtr ns = node->nsDef; ns; ns = ns->next)
            inScope_[prefixKey(ns->prefix)].pop_back();
    }

    bool referenceFits(xmlNsPtr ns, bool attribute)
    {
        if (attribute && !ns->prefix)
            return false;
        const auto scope = inScope_.find(prefixKey(ns->prefix));
        const bool shadowed = scope != inScope_.end() && !scope->second.empty();
        if (shadowed) {
            if (scope->second.back() != ns || outside_.count(ns))
                return false;
            within_.insert(ns);
            return true;
        }
        if (within_.count(ns))
            return false;
        outside_.emplace(ns, nullptr);
        return true;
    }

    // Each namespace from outside takes the declaration of its prefix in scope at the new
    // place, which must name the same namespace. One that needs a declaration of its own goes to
    // the library, which places it as it always has.
    bool resolveOutside()
    {
        for (auto& [ns, fitted] : outside_) {
            // Nothing within the subtree declares this prefix, so a search from the root sees
            // what its new parent sees.
            fitted = xmlSearchNs(root_->doc, root_, ns->prefix);
            if (!fitted || !xmlStrEqual(fitted->href, ns->href))
                return false;
        }
        return true;
    }

    void apply() const
    {
        if (outside_.empty())
            return;
        forEachInSubtree(root_, [this](xmlNodePtr node) {
            const bool named = node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE;
            if (!named || !node->ns)
                return;
            const auto fitted = outside_.find(node->ns);
            if (fitted != outside_.end())
                node->ns = fitted->second;
        });
    }

    xmlNodePtr root_;
    std::unordered_map<std::string, std::vector<xmlNsPtr>> inScope_;
    std::unordered_set<xmlNsPtr> within_;
    std::unordered_map<xmlNsPtr, xmlNsPtr> outside_;
};

} // namespace

void fitNamespaces(xmlNodePtr root)
{
    Fit fit(root);
    if (!fit.run())
        xmlDOMWrapReconcileNamespaces(nullptr, root, 0);
}

} // namespace veldra::xml::detail
