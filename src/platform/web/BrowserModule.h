#pragma once

#include "platform/web/BrowserControl.h"

namespace veldra::web {

// The browser engine, with the libraries it brings, is loaded only when the first browser
// control is made: the program starts without it. Its module, veldra-browser.so, lies in the
// folder of the running program (the program folder, or beside a test program).

// A new browser control as a child of `parent`. Throws VbError when the module cannot be
// loaded (missing, unreadable or not the program's own), saying which file and why.
BrowserControl* createBrowserControl(QWidget* parent, const BrowserSettings& settings);

// Test seam: the module file to load; an empty path restores the one beside the program.
void setBrowserModuleForTesting(const QString& path);

} // namespace veldra::web
