#pragma once

namespace veldra {

// The program's start: creates the application and the main window, shows it
// (ShowMainForm), restores the build form from "LastSettings.xml" in the program
// folder, and runs the message loop until the program ends.
int runVeldra(int argc, char** argv);

// The start sequence, once the main window exists: ShowMainForm, then the build
// form restored from "LastSettings.xml" in the program folder (a missing file leaves
// it empty, without a message).
void Main();

// Prepares and shows the main window: the wizard menu, the logo, the code-system
// box, the status-bar panels; then shows it maximised and in front.
void ShowMainForm();

} // namespace veldra
