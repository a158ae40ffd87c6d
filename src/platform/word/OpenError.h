#pragma once

#include <QString>

namespace veldra::word {

// Why a document could not be opened: the package part at fault ("" for the file as a
// whole, e.g. "word/document.xml") and a sentence for the user. A default value means
// success.
struct OpenError {
    QString part;
    QString reason;

    bool ok() const { return reason.isEmpty(); }
    // "reason" or "part: reason", for a log line or a message box.
    QString text() const { return part.isEmpty() ? reason : part + QStringLiteral(": ") + reason; }
};

} // namespace veldra::word
