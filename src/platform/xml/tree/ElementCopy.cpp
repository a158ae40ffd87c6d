#include "platform/xml/tree/ElementCopy.h"

#include "platform/xml/io/XmlErrors.h"
#include "platform/xml/tree/TreeEdit.h"

#include <libxml/valid.h>

#include <memory>
#include <unordered_map>

namespace veldra::xml::detail {

namespace {

struct FreeNode {
    void operator()(xmlNodePtr node) const { xmlFreeNode(node); }
};

[[noreturn]] void copyFailed()
{
    throwNodeError(QStringLiteral("The node could not be copied."));
}

class Copier {
public:
    explicit Copier(xmlDocPtr target) : target_(target) {}

    // Copies in document order, the copy's parent following the source's; a failure frees
    // what was copied.
    xmlNodePtr copy(xmlNodePtr source, bool deep)
    {
        std::unique_ptr<xmlNode, FreeNode> root(copyOne(source));
        xmlNodePtr parent = root.get();
        xmlNodePtr cur = deep ? source->children : nullptr;
        while (cur) {
            xmlNodePtr made = copyOne(cur);
            linkChild(parent, made, nullptr);
            if (cur->type == XML_ELEMENT_NODE && cur->children) {
                parent = made;
                cur = cur->children;
                continue;
            }
            while (!cur->next && cur->parent != source) {
                cur = cur->parent;
                parent = parent->parent;
            }
            cur = cur->next;
        }
        return root.release();
    }

private:
    xmlNodePtr copyOne(xmlNodePtr source)
    {
        if (source->type != XML_ELEMENT_NODE)
            return copyLeaf(source);
        xmlNodePtr copy = xmlNewDocNode(target_, nullptr, source->name, nullptr);
        if (!copy)
            copyFailed();
        std::unique_ptr<xmlNode, FreeNode> owned(copy);
        copyDeclarations(source, copy);
        if (source->ns)
            copy->ns = mapped(source->ns, copy);
        copyAttributes(source, copy);
        return owned.release();
    }

    // Each declaration of the source is paired with its copy, so that the nodes below find it
    // in the map instead of searching their ancestors.
    void copyDeclarations(xmlNodePtr source, xmlNodePtr copy)
    {
        if (!source->nsDef)
            return;
        copy->nsDef = xmlCopyNamespaceList(source->nsDef);
        if (!copy->nsDef)
            copyFailed();
        for (xmlNsPtr from = source->nsDef, to = copy->nsDef; from && to; from = from->next, to = to->next)
            namespaces_[from] = to;
    }

    xmlNsPtr mapped(xmlNsPtr ns, xmlNodePtr copy)
    {
        const auto known = namespaces_.find(ns);
        if (known != namespaces_.end())
            return known->second;
        xmlNsPtr outside = documentLevelNamespace(copy, ns);
        namespaces_[ns] = outside;
        return outside;
    }

    void copyAttributes(xmlNodePtr source, xmlNodePtr copy)
    {
        xmlAttrPtr last = nullptr;
        for (xmlAttrPtr attr = source->properties; attr; attr = attr->next) {
            xmlAttrPtr made = xmlNewDocProp(target_, attr->name, nullptr);
            if (!made)
                copyFailed();
            made->parent = copy;
            made->prev = last;
            if (last)
                last->next = made;
            else
                copy->properties = made;
            last = made;
            if (attr->ns)
                made->ns = mapped(attr->ns, copy);
            for (xmlNodePtr text = attr->children; text; text = text->next)
                linkChild(reinterpret_cast<xmlNodePtr>(made), copyLeaf(text), nullptr);
            if (attr->atype == XML_ATTRIBUTE_ID)
                registerId(made);
        }
    }

    void registerId(xmlAttrPtr attr)
    {
        xmlChar* value = xmlNodeListGetString(target_, attr->children, 1);
        if (value)
            xmlAddID(nullptr, target_, value, attr);
        xmlFree(value);
    }

    xmlNodePtr copyLeaf(xmlNodePtr source)
    {
        xmlNodePtr copy = xmlDocCopyNode(source, target_, 1);
        if (!copy)
            copyFailed();
        intern(copy);
        return copy;
    }

    // A copy of many nodes that the build takes out again allocates and frees far fewer blocks
    // when its texts are dictionary entries.
    void intern(xmlNodePtr text) const
    {
        if (text->type != XML_TEXT_NODE || !text->content || !target_->dict || xmlDictOwns(target_->dict, text->content))
            return;
        if (const xmlChar* interned = xmlDictLookup(target_->dict, text->content, -1)) {
            xmlFree(text->content);
            text->content = const_cast<xmlChar*>(interned);
        }
    }

    xmlDocPtr target_;
    std::unordered_map<xmlNsPtr, xmlNsPtr> namespaces_;
};

} // namespace

xmlNodePtr copyElement(xmlNodePtr source, xmlDocPtr target, bool deep)
{
    return Copier(target).copy(source, deep);
}

} // namespace veldra::xml::detail
