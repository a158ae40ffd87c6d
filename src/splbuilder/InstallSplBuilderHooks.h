#pragma once

namespace veldra {

// Fills the hook table's members that the SPL section builder serves. Called once at
// start-up.
void installSplBuilderHooks();

} // namespace veldra
