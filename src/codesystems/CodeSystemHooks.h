#pragma once

namespace veldra {

// Fills the hook table's code-system members: the three searches of the main
// window's search panel and the LOINC picker's launcher. Called once at start-up.
void installCodeSystemHooks();

} // namespace veldra
