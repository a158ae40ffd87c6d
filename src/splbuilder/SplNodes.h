#pragma once

#include "platform/core/VbError.h"
#include "platform/xml/Document.h"

#include <QString>

namespace veldra::spl {

// The source of the builder's own errors.
inline const QString errorSource = QStringLiteral("clsSPL");

// The first node at `path` from `from`; a VbError naming the path when there is none, so a
// skeleton or fragment that lacks a required element fails with a clear description.
xml::Node requiredNode(const xml::Node& from, const QString& path);
xml::Node requiredNode(const xml::Document& document, const QString& path);

// Replaces the value of an attribute the element already carries; a VbError naming the
// element and the attribute when it has none (the builders never create attributes).
void setExistingAttribute(const xml::Node& element, const QString& name, const QString& value);

// "source number description", as the builders' failure lines show an error.
QString spacedErrorText(const VbError& error);

// The first child element named `name` (local name), or a null node.
xml::Node childElement(const xml::Node& parent, const QString& name);

} // namespace veldra::spl
