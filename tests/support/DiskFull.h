#pragma once

#include <sys/resource.h>

namespace veldra::test {

// While alive, files of this process cannot grow past `bytes`: a write beyond fails with
// EFBIG as a full disk fails one with ENOSPC, without filling a disk. The signal such a write
// raises is left as the process has it, so a process that does not ignore it ends: the
// program ignores it from its start, and the test program ignores it as the program does.
class DiskFullAfter {
public:
    explicit DiskFullAfter(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        struct rlimit small = saved_;
        small.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~DiskFullAfter()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
    }
    DiskFullAfter(const DiskFullAfter&) = delete;
    DiskFullAfter& operator=(const DiskFullAfter&) = delete;

private:
    struct rlimit saved_{};
};

} // namespace veldra::test
