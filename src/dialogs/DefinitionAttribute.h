#pragma once

#include "platform/xml/tree/Node.h"

#include <QString>

namespace veldra {

// The text of a definition attribute of an element (ConstraintValues, ConstraintDataType, ...);
// an absent attribute counts as empty text.
inline QString definitionAttribute(const xml::Node& element, const char* name)
{
    return element.getAttribute(QLatin1String(name));
}

} // namespace veldra
