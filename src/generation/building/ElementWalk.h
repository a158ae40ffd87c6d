#pragma once

#include "platform/xml/tree/Cursor.h"

#include <QString>
#include <QVarLengthArray>

namespace veldra {

using xml::forEachElement;

// The names from the document element down to `element`, joined by "/", as elementPath
// gives them; with `above`, an ancestor of `element`, only the names below it.
inline QString cursorElementPath(const xml::Cursor& element, const xml::Cursor& above = {})
{
    // The names are gathered from the element up and written out once, from the top down.
    QVarLengthArray<xml::Cursor, 16> chain;
    for (xml::Cursor node = element; node.isElement() && node != above; node = node.parent())
        chain.append(node);
    QString path;
    for (auto node = chain.crbegin(); node != chain.crend(); ++node) {
        if (node != chain.crbegin())
            path += QLatin1Char('/');
        path += node->qualifiedName();
    }
    return path;
}

} // namespace veldra
