#pragma once

#include "platform/xml/io/InputLimits.h"
#include "platform/xml/io/LoadOptions.h"
#include "platform/xml/io/ParseError.h"

#include <QByteArray>
#include <QString>

#include <libxml/tree.h>

namespace veldra::xml::detail {

struct ParseOutcome {
    xmlDocPtr doc = nullptr;  // owned by the caller; null when error is set
    bool hasDeclaration = false;
    ParseError error;
};

// Safe parsing: no network, no DTD loading, no declarations in a document type (which refuses
// billion-laughs and external-entity documents before anything is expanded or read, and default
// attributes before any element takes one), no undeclared entity references, and the depth and size limits above; nothing else limits a document,
// so text and attribute values of any length load. Insignificant whitespace is stripped from
// the result (see WhitespaceRules.h).
ParseOutcome parseFile(const QString& path, const LoadOptions& options = {});
// Text that is already decoded: its declaration's encoding is kept for saving but not used to decode.
ParseOutcome parseText(const QString& text);

} // namespace veldra::xml::detail
