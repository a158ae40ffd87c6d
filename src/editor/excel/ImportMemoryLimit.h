#pragma once

#include <QtGlobal>

#include <optional>

namespace veldra {

// The most one Excel import may add to a document, as editorMemoryOf counts it: a listing of
// 1,000 products fits, while a cell of a few hundred kilobytes split into a lot per number,
// which the editor's limit still admits, would take gigabytes.
qint64 importMemoryLimit();

// A smaller limit than importMemoryLimit's, for tests; nullopt restores it.
void setImportMemoryLimitForTesting(std::optional<qint64> limit);

} // namespace veldra
