#include "app/startup/ProcessSetup.h"

#include "app/startup/BrowserSandbox.h"

#include <csignal>

#include <unistd.h>

namespace veldra {

void prepareProcess()
{
    // The browser engine reads its sandbox switch once, when it starts.
    chooseBrowserSandbox(geteuid());
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace veldra
