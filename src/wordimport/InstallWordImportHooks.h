#pragma once

namespace veldra {

// Fills the main window's Word import hooks and the build form's converter.
void installWordImportHooks();

} // namespace veldra
