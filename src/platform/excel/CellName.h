#pragma once

#include <QString>
#include <optional>

namespace veldra::excel {

// A cell's place: row and column counted from 1.
struct CellPlace {
    int row = 0;
    int column = 0;
    bool operator==(const CellPlace&) const = default;
};

inline constexpr int MaxRows = 1048576;
inline constexpr int MaxColumns = 16384;  // column XFD

// "B7" -> row 7, column 2. Letters in either case; "$" before the column or the row is
// allowed ("$B$7"). Nothing for anything else or a place outside the sheet.
std::optional<CellPlace> parseCellName(const QString& name);
// The same for the bytes of a worksheet's r attribute.
std::optional<CellPlace> parseCellName(const char* name);

} // namespace veldra::excel
