#pragma once

#include <QString>

namespace veldra::test {

// A kit label made by hand after the SPL structure of kits, since no fixture label is one: a
// carton holding a syringe of local anaesthetic and two swabs, each part with its quantity,
// dosage form, ingredients (UNII codes, strengths), packages nested as real kits nest them
// (the syringe in a carton; each swab in a pouch, two pouches to a package, the package on a
// tray; the NDC code on the outermost, units and counts at every level), marketing and route;
// the kit's carton comes ten to a case, with the case's own marketing and combination type;
// the labeler and the registrant name their contacts.
QString kitLabel();

} // namespace veldra::test
