#pragma once

namespace veldra {

// Fills the application core's hooks into the settings document editor. Called once at
// start-up, before the main window takes commands.
void installEditorHooks();

} // namespace veldra
