#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
}

// Names in the log, one warning each, what the product of the SPL file whose NDC product code
// is `productCode` holds beyond what its settings have a place for, so that an import leaves it
// out and a rebuild lacks it:
// - a package level outside a package's two outer packages (the level and all inside it);
// - a second approval or marketing act of the product or of a kit part, a second marketing
//   act of a package level, a second characteristic of one kind of the product or of a
//   package level;
// - any characteristic of a kit part, and any marketing act or characteristic of a kit
//   part's package levels.
// Each warning names the product, the kit part and the package it concerns. Only what an
// import of the settings element at `importedPath` reads is named: the product section or
// a product names everything, a package its own levels, a kit part the part and its
// packages. Nothing is named without a product code.
void LogProductDataNotHeld(const xml::Document& spl, const QString& productCode, const QString& importedPath);

} // namespace veldra
