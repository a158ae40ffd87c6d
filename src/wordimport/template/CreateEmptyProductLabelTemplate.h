#pragma once

#include "wordimport/template/LabelTemplateDocument.h"

namespace veldra {

// The main window's "Create Word Label Template..." command: builds the empty product label
// from the SPL label skeleton's sections and the program folder's sample sentences, asks
// where to save it (default "ProductLabelTemplate.docx"), writes it, says so and opens it
// with the desktop's word processor. A skeleton that cannot be read or a failed write is
// shown as an error and leaves no file; cancelling the question writes nothing.
void CreateEmptyProductLabelTemplate(const label_template::SamplePick& pick = label_template::randomSample);

} // namespace veldra
