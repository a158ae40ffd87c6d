#pragma once

#include "platform/xml/tree/ElementWalk.h"

#include <libxml/tree.h>

#include <QString>

namespace veldra {

using xml::forEachElement;

// The names from the document element down to `element`, joined by "/", as elementPath
// gives them.
inline QString rawElementPath(xmlNodePtr element)
{
    QString path;
    for (xmlNodePtr node = element; node && node->type == XML_ELEMENT_NODE; node = node->parent) {
        QString name = QString::fromUtf8(reinterpret_cast<const char*>(node->name));
        if (node->ns && node->ns->prefix)
            name = QString::fromUtf8(reinterpret_cast<const char*>(node->ns->prefix)) + QLatin1Char(':') + name;
        path = path.isEmpty() ? name : name + QLatin1Char('/') + path;
    }
    return path;
}

// All text below the node, as Node::text gives it.
inline QString rawText(xmlNodePtr node)
{
    xmlChar* content = xmlNodeGetContent(node);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(content));
    xmlFree(content);
    return text;
}

} // namespace veldra
