#pragma once

class QProcess;

namespace veldra {

// Ties a helper program that `helper` is about to start to this process: however this
// process ends (a crash or SIGKILL included), the helper is killed at once instead of running
// on to its own limits. Call before start(). Programs the user keeps (a browser the desktop
// opened) are not helpers and must not be tied.
void endWithThisProcess(QProcess& helper);

} // namespace veldra
