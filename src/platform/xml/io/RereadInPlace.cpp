#include "platform/xml/io/RereadInPlace.h"

#include "platform/xml/tree/DocState.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/io/InputLimits.h"
#include "platform/xml/tree/TreeEdit.h"
#include "platform/xml/io/WhitespaceRules.h"

#include <libxml/parserInternals.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace veldra::xml {

namespace {

// Below libxml2's limit of 256 levels, with room for the text written around the tree.
constexpr int kMaxDepth = 200;
const char* const kEmptyDefault = "xmlns=\"\"";

bool equals(const xmlChar* a, const char* b)
{
    return a && std::strcmp(reinterpret_cast<const char*>(a), b) == 0;
}

bool contains(const xmlChar* text, const char* part)
{
    return text && std::strstr(reinterpret_cast<const char*>(text), part);
}

bool endsWith(const xmlChar* text, const char* suffix)
{
    const size_t length = std::strlen(reinterpret_cast<const char*>(text));
    const size_t suffixLength = std::strlen(suffix);
    return length >= suffixLength && std::strcmp(reinterpret_cast<const char*>(text) + length - suffixLength, suffix) == 0;
}

bool isEmpty(const xmlChar* text)
{
    return !text || !*text;
}

bool isEmptyDefault(xmlNsPtr ns)
{
    return !ns->prefix && isEmpty(ns->href);
}

bool isReservedAddress(const xmlChar* href)
{
    return equals(href, "http://www.w3.org/XML/1998/namespace") || equals(href, "http://www.w3.org/2000/xmlns/");
}

// What the walk found to change, applied only when the whole tree passed.
struct Changes {
    std::vector<std::pair<xmlNodePtr, xmlNsPtr>> namespaces;  // element or attribute -> its namespace
    std::vector<std::pair<xmlNodePtr, xmlNsPtr>> emptyDefaults;  // element -> declaration to drop
    std::vector<xmlNodePtr> emptyTexts;
    std::vector<std::vector<xmlNodePtr>> textRuns;  // adjacent text nodes, two or more
};

class Walk {
public:
    explicit Walk(xmlDocPtr doc) : doc_(doc) {}

    bool document()
    {
        if (doc_->intSubset || doc_->extSubset)
            return false;
        for (xmlNodePtr top = doc_->children; top; top = top->next) {
            if (top->type == XML_ELEMENT_NODE) {
                if (!element(top, 1))
                    return false;
            } else if (top->type != XML_PI_NODE || !processingInstruction(top)) {
                return false;
            }
        }
        return true;
    }

    Changes& changes() { return changes_; }

private:
    // The declaration in force for a prefix (nullptr: the default), or nullptr.
    xmlNsPtr inScope(const xmlChar* prefix) const
    {
        for (auto it = scope_.rbegin(); it != scope_.rend(); ++it)
            if (prefix ? equals((*it)->prefix, reinterpret_cast<const char*>(prefix)) : !(*it)->prefix)
                return *it;
        return nullptr;
    }

    // The namespace the parser gives a name with this prefix; false when it refuses the prefix.
    bool resolve(xmlNodePtr element, const xmlChar* prefix, xmlNsPtr& ns) const
    {
        if (!prefix) {
            ns = inScope(nullptr);
            return true;
        }
        if (equals(prefix, "xmlns"))
            return false;
        ns = equals(prefix, "xml") ? xmlSearchNs(doc_, element, prefix) : inScope(prefix);
        return ns != nullptr;
    }

    void note(xmlNodePtr node, xmlNsPtr now, xmlNsPtr wanted)
    {
        if (now != wanted)
            changes_.namespaces.emplace_back(node, wanted);
    }

    bool declarations(xmlNodePtr element, size_t& declared)
    {
        for (xmlNsPtr ns = element->nsDef; ns; ns = ns->next) {
            if (!ns->href)
                continue;  // not written
            if (equals(ns->prefix, "xml") || equals(ns->prefix, "xmlns"))
                return false;
            if (isEmptyDefault(ns)) {
                changes_.emptyDefaults.emplace_back(element, ns);
                continue;
            }
            if (isEmpty(ns->href) || isReservedAddress(ns->href)
                || std::strpbrk(reinterpret_cast<const char*>(ns->href), "\"'<&"))
                return false;
            for (size_t i = scope_.size() - declared; i < scope_.size(); ++i)
                if (ns->prefix ? equals(scope_[i]->prefix, reinterpret_cast<const char*>(ns->prefix)) : !scope_[i]->prefix)
                    return false;
            scope_.push_back(ns);
            ++declared;
        }
        return true;
    }

    bool attributes(xmlNodePtr element)
    {
        std::vector<std::pair<const xmlChar*, xmlNsPtr>>& seen = seen_;
        seen.clear();
        int count = 0;
        for (xmlAttrPtr attr = element->properties; attr; attr = attr->next) {
            if (++count > kMaxAttributesPerElement || std::strchr(reinterpret_cast<const char*>(attr->name), ':')
                || endsWith(attr->name, "xmlns"))
                return false;
            for (xmlNodePtr value = attr->children; value; value = value->next)
                if (value->type != XML_TEXT_NODE)
                    return false;
            xmlNsPtr ns = nullptr;
            if (attr->ns && attr->ns->prefix && !resolve(element, attr->ns->prefix, ns))
                return false;
            for (const auto& [name, other] : seen)
                if (xmlStrEqual(name, attr->name)
                    && (ns == other || (ns && other && xmlStrEqual(ns->href, other->href))))
                    return false;
            seen.emplace_back(attr->name, ns);
            note(reinterpret_cast<xmlNodePtr>(attr), attr->ns, ns);
        }
        return true;
    }

    bool element(xmlNodePtr node, int depth)
    {
        if (depth > kMaxDepth || std::strchr(reinterpret_cast<const char*>(node->name), ':'))
            return false;
        size_t declared = 0;
        const bool ok = declarations(node, declared) && named(node) && attributes(node) && children(node, depth);
        scope_.resize(scope_.size() - declared);
        return ok;
    }

    bool named(xmlNodePtr element)
    {
        const xmlChar* prefix = element->ns ? element->ns->prefix : nullptr;
        xmlNsPtr ns = nullptr;
        if (equals(prefix, "xml") || !resolve(element, prefix, ns))
            return false;
        note(element, element->ns, ns);
        return true;
    }

    bool children(xmlNodePtr parent, int depth)
    {
        std::vector<xmlNodePtr> run;
        for (xmlNodePtr child = parent->children; child; child = child->next) {
            if (child->type == XML_TEXT_NODE) {
                if (child->name == xmlStringTextNoenc)
                    return false;
                if (isEmpty(child->content))
                    changes_.emptyTexts.push_back(child);
                else
                    run.push_back(child);
                continue;
            }
            if (!endRun(run))
                return false;
            bool ok = false;
            switch (child->type) {
            case XML_ELEMENT_NODE:
                ok = element(child, depth + 1);
                break;
            case XML_CDATA_SECTION_NODE:
                ok = !isEmpty(child->content) && !contains(child->content, "]]>") && !contains(child->content, kEmptyDefault);
                break;
            case XML_PI_NODE:
                ok = processingInstruction(child);
                break;
            default:
                break;
            }
            if (!ok)
                return false;
        }
        return endRun(run);
    }

    // Text nodes that the parser reads as one: checked as the text they make together.
    bool endRun(std::vector<xmlNodePtr>& run)
    {
        if (run.empty())
            return true;
        bool ok = true;
        if (run.size() == 1) {
            ok = !contains(run.front()->content, kEmptyDefault);
        } else {
            std::string joined;
            for (xmlNodePtr text : run)
                joined += reinterpret_cast<const char*>(text->content);
            ok = joined.find(kEmptyDefault) == std::string::npos;
            changes_.textRuns.push_back(run);
        }
        run.clear();
        return ok;
    }

    static bool processingInstruction(xmlNodePtr node)
    {
        return !contains(node->content, "?>") && !contains(node->content, kEmptyDefault);
    }

    xmlDocPtr doc_;
    std::vector<xmlNsPtr> scope_;
    std::vector<std::pair<const xmlChar*, xmlNsPtr>> seen_;  // one element's attributes at a time
    Changes changes_;
};

void joinRun(const std::vector<xmlNodePtr>& run)
{
    std::string joined;
    for (xmlNodePtr text : run)
        joined += reinterpret_cast<const char*>(text->content);
    xmlNodeSetContent(run.front(), reinterpret_cast<const xmlChar*>(joined.c_str()));
    for (size_t i = 1; i < run.size(); ++i)
        detail::retire(run[i]);
}

void dropDeclaration(xmlNodePtr element, xmlNsPtr ns)
{
    xmlNsPtr* link = &element->nsDef;
    while (*link != ns)
        link = &(*link)->next;
    *link = ns->next;
    ns->next = nullptr;
    // A handle on the declaration may still read it; it is freed with the document.
    detail::stateOf(element->doc)->retiredNamespaces.push_back(ns);
}

} // namespace

bool rereadInPlace(const Document& document)
{
    xmlDocPtr doc = document.raw();
    Walk walk(doc);
    if (!walk.document())
        return false;
    Changes& changes = walk.changes();
    for (const auto& [node, ns] : changes.namespaces)
        node->ns = ns;
    for (const auto& [element, ns] : changes.emptyDefaults)
        dropDeclaration(element, ns);
    for (xmlNodePtr text : changes.emptyTexts)
        detail::retire(text);
    for (const std::vector<xmlNodePtr>& run : changes.textRuns)
        joinRun(run);
    for (xmlNodePtr text : detail::layoutWhitespace(doc))
        detail::retire(text);
    xmlFree(const_cast<xmlChar*>(doc->URL));
    doc->URL = nullptr;
    return true;
}

} // namespace veldra::xml
