#pragma once

#include "platform/core/VbError.h"

#include <QString>

namespace veldra::xml::detail {

// Failures of the XML layer: misuse of a node (err::XmlNode) and queries outside the
// supported dialect (err::XmlQuery). The source names the layer.
inline const QString& errorSource()
{
    static const QString source = QStringLiteral("XML");
    return source;
}

[[noreturn]] inline void throwNodeError(const QString& description)
{
    throw VbError(err::XmlNode, errorSource(), description);
}

[[noreturn]] inline void throwQueryError(const QString& description)
{
    throw VbError(err::XmlQuery, errorSource(), description);
}

} // namespace veldra::xml::detail
