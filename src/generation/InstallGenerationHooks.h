#pragma once

namespace veldra {

// Fills the hooks that the SPL generation subsystem serves: the editor's build command.
// Called once at start-up.
void installGenerationHooks();

} // namespace veldra
