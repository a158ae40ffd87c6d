#include "support/ChildProcesses.h"

#include <QDir>
#include <QFile>

#include <condition_variable>
#include <csignal>
#include <mutex>
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

bool isRunning(pid_t pid)
{
    return !hasEnded(statOf(pid));
}

ChildWatch::ChildWatch(QByteArray name, std::chrono::milliseconds bound)
    : name_(std::move(name))
    , thread_([this, bound](const std::stop_token& stop) {
        std::mutex mutex;
        std::unique_lock lock(mutex);
        std::condition_variable_any stopped;
        stopped.wait_for(lock, stop, bound, [] { return false; });
        if (stop.stop_requested())
            return;
        for (const pid_t pid : runningChildren(getpid(), name_)) {
            ::kill(pid, SIGKILL);
            killed_ = true;
        }
    })
{
}

bool ChildWatch::outlived() const
{
    return killed_ || !runningChildren(getpid(), name_).isEmpty();
}

} // namespace veldra::test
