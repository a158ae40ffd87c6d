#pragma once

namespace veldra {

namespace xml {
class Document;
}

// Applies the TargetModification entries to the built SPL: when an entry's TargetCondition
// selects something and its Action is DELETE (any case), the first node at its Target is
// removed, with a "Processing" line holding its Description. Other actions do nothing.
// Throws VbError when a required item is missing or the Target selects nothing.
void ApplyTargetModifications(const xml::Document& transformation, const xml::Document& target);

} // namespace veldra
