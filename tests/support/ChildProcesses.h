#pragma once

#include <QByteArray>
#include <QList>

#include <atomic>
#include <chrono>
#include <thread>

#include <sys/types.h>

namespace veldra::test {

// The children of `parent` named `name` (as the kernel keeps it: the program's file name, cut
// to 15 characters) that have not ended.
QList<pid_t> runningChildren(pid_t parent, const QByteArray& name);

// Whether the process is neither gone nor a zombie.
bool isRunning(pid_t pid);

// Watches this process's children named `name` from now on: one still running after `bound`
// is killed, so that a wait that never ends fails its test instead of hanging the suite.
class ChildWatch {
public:
    ChildWatch(QByteArray name, std::chrono::milliseconds bound);

    // Whether such a child ran past the bound or runs still.
    bool outlived() const;

private:
    const QByteArray name_;
    std::atomic_bool killed_ = false;
    std::jthread thread_;  // last, so that it is stopped and joined before the members it reads go
};

} // namespace veldra::test
