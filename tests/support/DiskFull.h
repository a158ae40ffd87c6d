#pragma once

#include <csignal>
#include <sys/resource.h>

namespace veldra::test {

// While alive, files of this process cannot grow past `bytes`: a write beyond fails with
// EFBIG as a full disk fails one with ENOSPC, without filling a disk.
class DiskFullAfter {
public:
    explicit DiskFullAfter(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = saved_;
        small.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~DiskFullAfter()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    DiskFullAfter(const DiskFullAfter&) = delete;
    DiskFullAfter& operator=(const DiskFullAfter&) = delete;

private:
    struct rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

} // namespace veldra::test
