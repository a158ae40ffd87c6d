#pragma once

#include <QLoggingCategory>

#include <exception>
#include <utility>

// Failures that skip() swallowed. Off in normal use (the program carries on, as it is meant
// to); the tests switch it on and fail on a skipped error they did not expect.
Q_DECLARE_LOGGING_CATEGORY(lcSkippedError)

namespace veldra {

// Where a statement was skipped: the caller's place, as the compiler fills default arguments
// with it (std::source_location is not yet available to every compiler the project builds with).
struct SkipSite {
    const char* file;
    int line;
    const char* function;
};

// Logs a swallowed failure of the statement at `where` through lcSkippedError.
void reportSkippedError(const std::exception_ptr& failure, const SkipSite& where) noexcept;

// Runs one statement and swallows its failure, so that the statements after it
// still run. Event handlers that "skip a failing statement" wrap each one.
template <class F>
bool skip(F&& statement, const char* file = __builtin_FILE(), int line = __builtin_LINE(),
          const char* function = __builtin_FUNCTION()) noexcept
{
    try {
        std::forward<F>(statement)();
        return true;
    } catch (...) {
        reportSkippedError(std::current_exception(), SkipSite{file, line, function});
        return false;
    }
}

} // namespace veldra
