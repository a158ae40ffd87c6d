#pragma once

#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Node.h"

#include <QString>

namespace veldra::xml {

// Lookups over parts that may be missing. A missing part is an ordinary outcome for the
// text lookups, which give the fallback; only requiredAt treats it as an error.

// The node's text; `fallback` for a null node.
QString textOf(const Node& node, const QString& fallback = {});

// The text of the first node the query `path` selects from `from`; `fallback` when it
// selects none.
QString textAt(const Node& from, const QString& path, const QString& fallback = {});
QString textAt(const Document& document, const QString& path, const QString& fallback = {});

// The first node the query `path` selects from `from`. When it selects none, throws
// VbError(err::XmlNode, source, description) with the path in place of the description's %1.
inline const QString elementNotFound = QStringLiteral("element not found: %1");
Node requiredAt(const Node& from, const QString& path, const QString& source,
                const QString& description = elementNotFound);
Node requiredAt(const Document& document, const QString& path, const QString& source,
                const QString& description = elementNotFound);

} // namespace veldra::xml
