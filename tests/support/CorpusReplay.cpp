#include "support/CorpusReplay.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <thread>

namespace veldra::test {

namespace {

// Watches one input at a time from a thread of its own; an input still running at its
// deadline cannot be stopped from outside, so the program ends, naming it.
class InputWatchdog {
public:
    explicit InputWatchdog(std::chrono::seconds limit) : limit_(limit), thread_([this] { watch(); }) {}

    ~InputWatchdog()
    {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_one();
        thread_.join();
    }

    void start(const std::string& input)
    {
        {
            const std::lock_guard lock(mutex_);
            input_ = input;
            deadline_ = std::chrono::steady_clock::now() + limit_;
        }
        changed_.notify_one();
    }

    void finish()
    {
        {
            const std::lock_guard lock(mutex_);
            deadline_.reset();
        }
        changed_.notify_one();
    }

private:
    void watch()
    {
        std::unique_lock lock(mutex_);
        while (!stopping_) {
            if (!deadline_) {
                changed_.wait(lock);
                continue;
            }
            if (changed_.wait_until(lock, *deadline_) == std::cv_status::timeout && deadline_
                && std::chrono::steady_clock::now() >= *deadline_) {
                std::fprintf(stderr, "Corpus input %s ran longer than %lld seconds\n", input_.c_str(),
                             static_cast<long long>(limit_.count()));
                std::_Exit(EXIT_FAILURE);
            }
        }
    }

    const std::chrono::seconds limit_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string input_;
    std::optional<std::chrono::steady_clock::time_point> deadline_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace

void replayCorpus(const QString& target, const std::function<void(const QByteArray&)>& run, std::chrono::seconds perInput)
{
    const QDir corpus(QStringLiteral(VELDRA_SOURCE_DIR "/fuzz/corpus/") + target);
    const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty()) << "no corpus in " << corpus.path().toStdString();
    std::optional<InputWatchdog> watchdog;
    if (perInput > std::chrono::seconds::zero())
        watchdog.emplace(perInput);
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QFile file(corpus.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray input = file.readAll();
        if (watchdog)
            watchdog->start((target + QLatin1Char('/') + name).toStdString());
        run(input);
        if (watchdog)
            watchdog->finish();
    }
}

} // namespace veldra::test
