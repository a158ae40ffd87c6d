#pragma once

namespace veldra {

// Fills the main window's hooks of the Word tools that stand beside the label import: the
// empty label template and the formatting analysis.
void installWordToolHooks();

} // namespace veldra
