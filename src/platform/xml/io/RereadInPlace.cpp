#include "platform/xml/io/RereadInPlace.h"

#include "platform/xml/tree/BulkRemoval.h"
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

// Below the parser's limit of kMaxElementDepth levels, with room for the text written around the tree.
constexpr int kMaxDepth = 200;
const char* const kEmptyDefault = "xmlns=\"\"";
const char* const kXmlNamespace = "http://www.w3.org/XML/1998/namespace";

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
    return equals(href, kXmlNamespace) || equals(href, "http://www.w3.org/2000/xmlns/");
}

// What the walk found to change, applied only when the whole tree passed.
struct Changes {
    std::vector<std::pair<xmlNodePtr, xmlNsPtr>> namespaces;  // element or attribute -> its namespace
    std::vector<std::pair<xmlNodePtr, xmlNsPtr>> emptyDefaults;  // element -> declaration to drop
    std::vector<xmlNodePtr> emptyTexts;
    std::vector<std::vector<xmlNodePtr>> textRuns;  // adjacent text nodes, two or more
    std::vector<xmlNodePtr> layoutTexts;  // the first node of each run that is layout once joined
};

// Whitespace-only text as the settled tree will hold it: the first node of a run, and the
// children that will stand before and after it (null at either end).
struct BlankRun {
    xmlNodePtr text;
    xmlNodePtr before;
    xmlNodePtr after;
};

// One walk over the tree that checks it and notes what reading its text back would change,
// layout whitespace included, deciding each text as the whitespace rules would decide it in
// the settled tree. With `removed`, it first takes out, as it meets them, every comment and
// every attribute of one of those names (as removeAttributesAndComments does), so the checks
// see what a walk after that removal would see.
class Walk {
public:
    Walk(xmlDocPtr doc, const QList<QByteArray>* removed) : doc_(doc), removed_(removed) {}

    bool document()
    {
        if (doc_->intSubset || doc_->extSubset)
            return false;
        bool rootSeen = false;
        for (xmlNodePtr top = doc_->children, next; top; top = next) {
            next = top->next;
            if (takenOut(top))
                continue;
            if (top->type == XML_ELEMENT_NODE) {
                // A second document element would not read back; the DOM never makes one.
                if (rootSeen || !element(top, 1, false))
                    return false;
                rootSeen = true;
            } else if (top->type != XML_PI_NODE || !processingInstruction(top)) {
                return false;
            }
        }
        return true;
    }

    Changes& changes() { return changes_; }

private:
    bool takenOut(xmlNodePtr node) const
    {
        if (!removed_ || node->type != XML_COMMENT_NODE)
            return false;
        detail::retire(node);
        return true;
    }

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

    // `preserves` comes in as xml:space="preserve" in force above the element and leaves as in
    // force for it: its own xml:space decides when it says "preserve" or "default".
    bool attributes(xmlNodePtr element, bool& preserves)
    {
        std::vector<std::pair<const xmlChar*, xmlNsPtr>>& seen = seen_;
        seen.clear();
        int count = 0;
        for (xmlAttrPtr attr = element->properties, next; attr; attr = next) {
            next = attr->next;
            __builtin_prefetch(next);
            __builtin_prefetch(attr->children);
            if (removed_ && detail::isRemovedAttribute(attr, *removed_)) {
                detail::retire(reinterpret_cast<xmlNodePtr>(attr));
                continue;
            }
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
            if (ns && equals(attr->name, "space") && equals(ns->href, kXmlNamespace))
                preserves = detail::spaceSetting(attr).value_or(preserves);
        }
        return true;
    }

    // The walk waits on memory, the nodes of a large built tree lying far apart: what is read
    // next (attributes, first child, next sibling, an attribute's value) is fetched ahead.
    bool element(xmlNodePtr node, int depth, bool preserves)
    {
        __builtin_prefetch(node->properties);
        __builtin_prefetch(node->children);
        if (depth > kMaxDepth || std::strchr(reinterpret_cast<const char*>(node->name), ':'))
            return false;
        size_t declared = 0;
        const bool ok = declarations(node, declared) && named(node) && attributes(node, preserves)
            && children(node, depth, preserves);
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

    // Text nodes in a row, empty ones aside, are one text once read back; comments taken out
    // leave the text around them in one row, as they would after the removal.
    bool children(xmlNodePtr parent, int depth, bool preserves)
    {
        const size_t firstBlank = blankRuns_.size();
        bool holdsText = false;  // text that is not whitespace: then all its whitespace is content
        xmlNodePtr before = nullptr;  // the last child that stays and is not text
        for (xmlNodePtr child = parent->children, next; child; child = next) {
            next = child->next;
            __builtin_prefetch(next);
            if (takenOut(child))
                continue;
            if (child->type == XML_TEXT_NODE) {
                if (child->name == xmlStringTextNoenc)
                    return false;
                if (isEmpty(child->content)) {
                    changes_.emptyTexts.push_back(child);
                } else {
                    run_.push_back(child);
                    runIsBlank_ = runIsBlank_ && detail::isWhitespaceOnly(child->content);
                }
                continue;
            }
            holdsText = holdsText || !runIsBlank_;
            if (!endRun(before, child))
                return false;
            bool ok = false;
            switch (child->type) {
            case XML_ELEMENT_NODE:
                ok = element(child, depth + 1, preserves);
                break;
            case XML_CDATA_SECTION_NODE:
                ok = !isEmpty(child->content) && !contains(child->content, "]]>") && !contains(child->content, kEmptyDefault);
                holdsText = holdsText || !detail::isWhitespaceOnly(child->content);
                break;
            case XML_PI_NODE:
                ok = processingInstruction(child);
                break;
            default:
                break;
            }
            if (!ok)
                return false;
            before = child;
        }
        holdsText = holdsText || !runIsBlank_;
        if (!endRun(before, nullptr))
            return false;
        noteLayout(parent, firstBlank, preserves || holdsText);
        return true;
    }

    // Ends the run of text between `before` and `after`, checked as the text it makes.
    bool endRun(xmlNodePtr before, xmlNodePtr after)
    {
        if (run_.empty())
            return true;
        bool ok = true;
        if (run_.size() == 1) {
            ok = !contains(run_.front()->content, kEmptyDefault);
        } else {
            std::string joined;
            for (xmlNodePtr text : run_)
                joined += reinterpret_cast<const char*>(text->content);
            ok = joined.find(kEmptyDefault) == std::string::npos;
            changes_.textRuns.push_back(run_);
        }
        if (runIsBlank_)
            blankRuns_.push_back({run_.front(), before, after});
        run_.clear();
        runIsBlank_ = true;
        return ok;
    }

    // The parent's whitespace-only runs from `first` on, once its children are all seen.
    void noteLayout(xmlNodePtr parent, size_t first, bool keepsAll)
    {
        if (!keepsAll)
            for (size_t i = first; i < blankRuns_.size(); ++i)
                if (detail::isLayoutBetween(parent, false, blankRuns_[i].before, blankRuns_[i].after))
                    changes_.layoutTexts.push_back(blankRuns_[i].text);
        blankRuns_.resize(first);
    }

    static bool processingInstruction(xmlNodePtr node)
    {
        return !contains(node->content, "?>") && !contains(node->content, kEmptyDefault);
    }

    xmlDocPtr doc_;
    const QList<QByteArray>* removed_;
    std::vector<xmlNsPtr> scope_;
    std::vector<std::pair<const xmlChar*, xmlNsPtr>> seen_;  // one element's attributes at a time
    // The run of text being read: one at a time, as every other child ends the run before
    // the walk goes below it.
    std::vector<xmlNodePtr> run_;
    bool runIsBlank_ = true;
    std::vector<BlankRun> blankRuns_;  // of the elements being walked, innermost last
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

// Applies what the walk found, only once the whole tree passed.
void settle(xmlDocPtr doc, Changes& changes)
{
    for (const auto& [node, ns] : changes.namespaces)
        node->ns = ns;
    for (const auto& [element, ns] : changes.emptyDefaults)
        dropDeclaration(element, ns);
    for (xmlNodePtr text : changes.emptyTexts)
        detail::retire(text);
    for (const std::vector<xmlNodePtr>& run : changes.textRuns)
        joinRun(run);
    for (xmlNodePtr text : changes.layoutTexts)
        detail::retire(text);
    xmlFree(const_cast<xmlChar*>(doc->URL));
    doc->URL = nullptr;
}

} // namespace

bool rereadInPlace(const Document& document)
{
    Walk walk(document.raw(), nullptr);
    if (!walk.document())
        return false;
    settle(document.raw(), walk.changes());
    return true;
}

bool rereadInPlaceWithout(const Document& document, const QList<QByteArray>& attributeNames)
{
    Walk walk(document.raw(), &attributeNames);
    if (walk.document()) {
        settle(document.raw(), walk.changes());
        return true;
    }
    // The walk stopped where the tree would read back otherwise: the rest is taken out too.
    removeAttributesAndComments(document, attributeNames);
    return false;
}

} // namespace veldra::xml
