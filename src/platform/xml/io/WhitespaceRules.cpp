#include "platform/xml/io/WhitespaceRules.h"

#include "platform/xml/tree/ElementWalk.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace veldra::xml::detail {

namespace {

bool nameIn(const xmlChar* name, std::initializer_list<const char*> names)
{
    for (const char* candidate : names)
        if (std::strcmp(reinterpret_cast<const char*>(name), candidate) == 0)
            return true;
    return false;
}

bool isNarrativeContainer(xmlNodePtr node)
{
    return node && node->type == XML_ELEMENT_NODE
        && nameIn(node->name, {"text", "paragraph", "content", "caption", "title", "item", "td", "th",
                               "linkHtml", "sub", "sup", "footnote"});
}

bool isInlineElement(xmlNodePtr node)
{
    return node && node->type == XML_ELEMENT_NODE
        && nameIn(node->name, {"content", "linkHtml", "sub", "sup", "br", "footnote", "footnoteRef",
                               "renderMultiMedia"});
}

// Inline elements that hold text: everything inside one runs on with the words around it.
bool isInlineTextElement(xmlNodePtr node)
{
    return node && node->type == XML_ELEMENT_NODE && nameIn(node->name, {"content", "linkHtml", "sub", "sup"});
}

bool isTextual(xmlNodePtr node)
{
    return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE;
}

bool holdsNonWhitespaceText(xmlNodePtr element)
{
    for (xmlNodePtr child = element->children; child; child = child->next)
        if (isTextual(child) && !isWhitespaceOnly(child->content))
            return true;
    return false;
}

bool preservesSpace(xmlNodePtr element)
{
    return xmlNodeGetSpacePreserve(element) == 1;
}

// Whether whitespace-only text between `prev` and `next` inside `parent` is content, once the
// parent's mixed-content test (`parentKeepsAll`) is known.
bool isContent(xmlNodePtr parent, bool parentKeepsAll, xmlNodePtr prev, xmlNodePtr next)
{
    return parentKeepsAll || isInlineTextElement(parent)
        || (isNarrativeContainer(parent) && isInlineElement(prev) && isInlineElement(next));
}

bool canIndentInside(xmlNodePtr element)
{
    return holdsIndentableContent(element) && !preservesSpace(element);
}

int depthOf(xmlNodePtr element)
{
    int depth = 0;
    for (xmlNodePtr p = element->parent; p && p->type == XML_ELEMENT_NODE; p = p->parent)
        ++depth;
    return depth;
}

xmlNodePtr newLayoutText(xmlDocPtr doc, int depth)
{
    std::string text(static_cast<size_t>(depth) * 2 + 1, ' ');
    text[0] = '\n';
    return xmlNewDocText(doc, reinterpret_cast<const xmlChar*>(text.c_str()));
}

} // namespace

std::vector<xmlNodePtr> layoutWhitespace(xmlDocPtr doc)
{
    std::vector<xmlNodePtr> layout;
    xmlNodePtr root = xmlDocGetRootElement(doc);
    if (!root)
        return layout;
    forEachElement(root, [&layout](xmlNodePtr element) {
        // Asked only of elements that hold whitespace-only text: xml:space is looked up the
        // ancestors, and most elements hold none.
        int keepsAll = -1;
        for (xmlNodePtr child = element->children; child; child = child->next) {
            if (child->type != XML_TEXT_NODE || !isWhitespaceOnly(child->content))
                continue;
            if (keepsAll < 0)
                keepsAll = preservesSpace(element) || holdsNonWhitespaceText(element);
            if (!isContent(element, keepsAll == 1, child->prev, child->next))
                layout.push_back(child);
        }
    });
    return layout;
}

bool isWhitespaceOnly(const xmlChar* text)
{
    if (!text)
        return true;
    for (; *text; ++text)
        if (*text != ' ' && *text != '\t' && *text != '\n' && *text != '\r')
            return false;
    return true;
}

bool isLayoutBetween(xmlNodePtr parent, bool parentKeepsAll, xmlNodePtr prev, xmlNodePtr next)
{
    return !isContent(parent, parentKeepsAll, prev, next);
}

void stripInsignificantWhitespace(xmlDocPtr doc)
{
    for (xmlNodePtr node : layoutWhitespace(doc)) {
        xmlUnlinkNode(node);
        xmlFreeNode(node);
    }
}

bool holdsIndentableContent(xmlNodePtr element)
{
    if (!element->children)
        return false;
    for (xmlNodePtr child = element->children; child; child = child->next)
        if (isTextual(child) || child->type == XML_ENTITY_REF_NODE || isInlineElement(child))
            return false;
    return true;
}

std::optional<bool> spaceSetting(xmlAttrPtr space)
{
    std::string value;
    for (xmlNodePtr text = space->children; text; text = text->next)
        if (text->content)
            value += reinterpret_cast<const char*>(text->content);
    if (value == "preserve")
        return true;
    if (value == "default")
        return false;
    return std::nullopt;
}

bool preservesSpaceWithin(xmlNodePtr element, bool parentPreserves)
{
    // xmlNodeGetSpacePreserve reads the first attribute named space in the XML namespace, in
    // whatever prefix; "preserve" and "default" decide, any other value leaves the parent's.
    for (xmlAttrPtr attr = element->properties; attr; attr = attr->next)
        if (attr->ns && xmlStrEqual(attr->name, BAD_CAST "space") && xmlStrEqual(attr->ns->href, XML_XML_NAMESPACE))
            return spaceSetting(attr).value_or(parentPreserves);
    return parentPreserves;
}

std::vector<xmlNodePtr> indentedElements(xmlDocPtr doc)
{
    std::vector<xmlNodePtr> targets;
    xmlNodePtr root = xmlDocGetRootElement(doc);
    if (!root)
        return targets;
    forEachElement(root, [&targets](xmlNodePtr element) {
        if (canIndentInside(element))
            targets.push_back(element);
    });
    return targets;
}

void indentLayout(xmlDocPtr doc)
{
    for (xmlNodePtr element : indentedElements(doc)) {
        const int depth = depthOf(element);
        for (xmlNodePtr child = element->children; child; child = child->next)
            xmlAddPrevSibling(child, newLayoutText(doc, depth + 1));
        xmlAddChild(element, newLayoutText(doc, depth));
    }
}

} // namespace veldra::xml::detail
