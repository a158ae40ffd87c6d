#pragma once

#include "platform/xml/tree/Cursor.h"

#include <QString>

namespace veldra {

using xml::forEachElement;

// The names from the document element down to `element`, joined by "/", as elementPath
// gives them.
inline QString cursorElementPath(const xml::Cursor& element)
{
    QString path;
    for (xml::Cursor node = element; node.isElement(); node = node.parent()) {
        const QString name = node.qualifiedName();
        path = path.isEmpty() ? name : name + QLatin1Char('/') + path;
    }
    return path;
}

} // namespace veldra
