#pragma once

#include <QtGlobal>

namespace veldra {

namespace word {
class Table;
}

// The cells a table may become in SPL. Its widest row pads every other row, so one wide row
// in a few kilobytes would otherwise make millions of empty cells (gigabytes of markup); real
// labels' largest tables hold a few thousand.
inline constexpr qint64 kMaxTableCells = 50'000;

// The cells the table becomes: its own, those a row leaves free before its first cell, and
// those that fill a row out to the widest. Counted from the rows' extents, before any is built.
qint64 cellsOf(const word::Table& table);

} // namespace veldra
