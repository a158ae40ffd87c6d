#pragma once

#include <QByteArray>
#include <QList>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <sys/types.h>

namespace veldra::test {

// The children of `parent` named `name` (as the kernel keeps it: the program's file name, cut
// to 15 characters) that have not ended.
QList<pid_t> runningChildren(pid_t parent, const QByteArray& name);

// Waits up to `bound` for a child of `parent` named `name` to start; its id, or 0.
pid_t childOnceStarted(pid_t parent, const QByteArray& name, std::chrono::milliseconds bound);

// Waits up to `bound` for the process to end; true when it is gone or a zombie.
bool endsWithin(pid_t pid, std::chrono::milliseconds bound);

// Watches this process's children named `name` from now on: one still running after `bound`
// is killed, so that a wait that never ends fails its test instead of hanging the suite.
class ChildWatch {
public:
    ChildWatch(QByteArray name, std::chrono::milliseconds bound);
    ~ChildWatch();
    ChildWatch(const ChildWatch&) = delete;
    ChildWatch& operator=(const ChildWatch&) = delete;

    // Whether such a child ran past the bound or runs still.
    bool outlived() const;

private:
    const QByteArray name_;
    mutable std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    bool killed_ = false;
    std::thread thread_;
};

} // namespace veldra::test
