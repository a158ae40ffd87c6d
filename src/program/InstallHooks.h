#pragma once

namespace veldra {

// Fills the hook tables of the application core and the editor with every subsystem
// that is part of the program. The program calls it once, before it starts.
void installAllHooks();

} // namespace veldra
