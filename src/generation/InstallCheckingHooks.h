#pragma once

namespace veldra {

// Fills the hooks that the SPL checking commands serve: the main window's preview, document
// report, online validation and cross-check window, and the editor's quick preview and import
// from an existing SPL file. Called once at start-up.
void installCheckingHooks();

} // namespace veldra
