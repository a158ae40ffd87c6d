#pragma once

#include "platform/xml/tree/Document.h"

#include <QString>

namespace veldra::test {

// Writes a settings document the way a user fills one in the editor, from a real SPL file:
// a copy of the program folder's definition document with one group per labeler,
// establishment, product, ingredient, package and label section of the SPL, and the label
// sections in the shape the Word import leaves them (the section's text under LabelText, its
// highlights under Excerpt, its subsections and images as component elements).
// Every element gets a Word2SPLID.
xml::Document settingsFromSPL(const QString& splFile);

// A new document as the editor makes it from the definition document, with every element
// given a Word2SPLID and every GUID element a new id.
xml::Document newSettingsDocument();

} // namespace veldra::test
