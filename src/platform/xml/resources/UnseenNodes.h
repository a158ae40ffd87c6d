#pragma once

#include <libxml/tree.h>

namespace veldra::xml {

// Removes every comment and processing instruction of the document (the xml-stylesheet
// instruction too), in one pass that needs no stack however deep the tree.
void removeCommentsAndInstructions(xmlDocPtr doc);

} // namespace veldra::xml
