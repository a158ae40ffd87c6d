#pragma once

namespace veldra {

// Fills the application core's hooks of the build form: the form itself and the settings
// snapshot's load and save.
void installBuildFormHooks();

} // namespace veldra
