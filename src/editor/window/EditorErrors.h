#pragma once

#include "platform/core/VbError.h"

#include <QString>
#include <exception>

namespace veldra {

// A failure found by the editor's own procedures: numbered as a node failure, with the
// program's name as its source (procedures that pass it on append their own names).
VbError editorError(const QString& description);

// `e` as the error a procedure passes on: " - procedure" appended to its source.
VbError passedOn(const std::exception& e, const QString& procedure);

} // namespace veldra
