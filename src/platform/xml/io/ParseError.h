#pragma once

#include <QString>

namespace veldra::xml {

// Why a document could not be loaded. errorCode is 0 after a successful load; otherwise it
// is libxml2's error number for a malformed document, or one of veldra::err's numbers
// (err::FileNotFound, err::FileAccess, err::XmlParse) for failures found by this layer
// itself: a missing or unreadable file, an input that is too large, a document type that
// declares anything. reason is a readable sentence (its wording is the parser's and may
// change);
// srcText is the input's failing line, cut from the input text (a line of more than 100
// characters to the 100 around the failing column, "…" marking each cut); line and linePos count from 1
// (0 when the failure has no position, such as a missing file).
struct ParseError {
    int errorCode = 0;
    QString reason;
    QString srcText;
    int line = 0;
    int linePos = 0;

    bool ok() const { return errorCode == 0; }
};

} // namespace veldra::xml
