#include "platform/core/HelperLifetime.h"

#include <QProcess>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace veldra {

void endWithThisProcess(QProcess& helper)
{
    const pid_t starter = getpid();
    // Runs in the child between fork and exec, so it makes async-signal-safe calls only. The
    // signal comes when the thread that started the child ends, not the process: every helper
    // is started from the window's thread, which lives as long as the process. A starter that
    // died before the signal was set has left the child to another parent already, so the
    // child ends there.
    helper.setChildProcessModifier([starter] {
        if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != starter)
            _exit(127);
    });
}

} // namespace veldra
