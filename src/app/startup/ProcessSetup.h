#pragma once

namespace veldra {

// What the program sets for its whole process before anything else runs: the browser
// engine's sandbox (BrowserSandbox.h), and the signal of a file-size limit (`ulimit -f`, as
// shared servers set one). That signal ends a process by default, and with it every open
// document's unsaved work; ignored, a write past the limit fails with the system's reason
// ("File too large") and the save reports it as it reports a full disk.
void prepareProcess();

} // namespace veldra
