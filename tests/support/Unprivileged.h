#pragma once

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace veldra::test {

// Runs `attempt` where file permissions bind: directly for an ordinary user; as root, in a
// child process that has given up its privileges (permissions do not bind the superuser,
// and tests run as root in CI). True when the attempt answered true.
inline bool asUnprivilegedUser(const std::function<bool()>& attempt)
{
    if (::geteuid() != 0)
        return attempt();
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(::setuid(65534) == 0 && attempt() ? 0 : 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace veldra::test
