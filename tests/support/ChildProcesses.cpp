#include "support/ChildProcesses.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <functional>
#include <unistd.h>

namespace veldra::test {

namespace {

struct ProcessStat {
    QByteArray name;
    char state = 0;
    pid_t parent = 0;
};

// The process's line in /proc: "pid (name) state ppid …", where the name may hold spaces and
// parentheses; an empty name when the process is gone.
ProcessStat statOf(pid_t pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = file.readAll();
    const qsizetype open = line.indexOf('('), close = line.lastIndexOf(')');
    if (open < 0 || close < open)
        return {};
    const QList<QByteArray> rest = line.mid(close + 2).split(' ');
    if (rest.size() < 2 || rest[0].isEmpty())
        return {};
    return {line.mid(open + 1, close - open - 1), rest[0][0], pid_t(rest[1].toLongLong())};
}

bool hasEnded(const ProcessStat& stat)
{
    return stat.name.isEmpty() || stat.state == 'Z' || stat.state == 'X';
}

// Asks `done` every 20 ms for up to `bound`; its last answer.
bool polledWithin(std::chrono::milliseconds bound, const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + bound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

} // namespace

QList<pid_t> runningChildren(pid_t parent, const QByteArray& name)
{
    QList<pid_t> children;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const pid_t pid = pid_t(entry.toLongLong(&number));
        if (!number)
            continue;
        const ProcessStat stat = statOf(pid);
        if (stat.parent == parent && stat.name == name && !hasEnded(stat))
            children << pid;
    }
    return children;
}

pid_t childOnceStarted(pid_t parent, const QByteArray& name, std::chrono::milliseconds bound)
{
    pid_t found = 0;
    polledWithin(bound, [&] {
        const QList<pid_t> children = runningChildren(parent, name);
        found = children.isEmpty() ? 0 : children.front();
        return found != 0;
    });
    return found;
}

bool endsWithin(pid_t pid, std::chrono::milliseconds bound)
{
    return polledWithin(bound, [pid] { return hasEnded(statOf(pid)); });
}

ChildWatch::ChildWatch(QByteArray name, std::chrono::milliseconds bound)
    : name_(std::move(name))
    , thread_([this, bound] {
        std::unique_lock lock(mutex_);
        if (ended_.wait_for(lock, bound, [this] { return done_; }))
            return;
        for (const pid_t pid : runningChildren(getpid(), name_)) {
            ::kill(pid, SIGKILL);
            killed_ = true;
        }
    })
{
}

ChildWatch::~ChildWatch()
{
    {
        const std::lock_guard lock(mutex_);
        done_ = true;
    }
    ended_.notify_all();
    thread_.join();
}

bool ChildWatch::outlived() const
{
    const std::lock_guard lock(mutex_);
    return killed_ || !runningChildren(getpid(), name_).isEmpty();
}

} // namespace veldra::test
