#pragma once

namespace veldra {

// Fills the hooks through which the main window reaches the wizards (LoadWizardMenu,
// RunWizard) and the editor opens its field dialog. Called once at start-up, before the main
// window is set up.
void installDialogHooks();

} // namespace veldra
