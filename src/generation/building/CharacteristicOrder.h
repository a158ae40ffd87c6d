#pragma once

namespace veldra {

namespace xml {
class Document;
}

// Puts the characteristics of each product built into `target` in the order that the
// product's settings list them: Characteristics/CharacteristicOrder holds characteristic codes
// (SPLCOLOR, SPLSIZE, ...) separated by blanks, as an import from an SPL file finds them, so
// the label comes back in its own order. The characteristics keep the places they hold among
// the product's other subjectOf elements; those the list does not name follow those it names,
// in their order. A product without a list keeps the template's order. Runs while the products
// still carry their fill markers.
void OrderCharacteristicsAsListed(const xml::Document& settings, const xml::Document& target);

} // namespace veldra
