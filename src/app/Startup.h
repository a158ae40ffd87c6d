#pragma once

namespace veldra {

// Creates the application, shows the main window and runs the message loop.
int runVeldra(int argc, char** argv);

} // namespace veldra
