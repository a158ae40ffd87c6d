#pragma once

#include <sys/types.h>

namespace veldra {

// The browser engine of the preview and validation windows runs its pages in a sandbox. The
// engine refuses to start that sandbox for the superuser and ends the whole program instead, so
// the choice is made here, before the application starts, whatever launcher started it.

// True when the sandbox can run for a program whose effective user is `effectiveUser`.
bool browserSandboxPossible(uid_t effectiveUser);

// Switches the sandbox off for the superuser. For every other user the sandbox stays on,
// unless whoever started the program switched it off already.
void chooseBrowserSandbox(uid_t effectiveUser);

} // namespace veldra
