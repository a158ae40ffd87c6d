#pragma once

#include <QLoggingCategory>

#include <exception>
#include <source_location>
#include <utility>

// Failures that skip() swallowed. Off in normal use (the program carries on, as it is meant
// to); the tests switch it on and fail on a skipped error they did not expect.
Q_DECLARE_LOGGING_CATEGORY(lcSkippedError)

namespace veldra {

// Logs a swallowed failure of the statement at `where` through lcSkippedError.
void reportSkippedError(const std::exception_ptr& failure, const std::source_location& where) noexcept;

// Runs one statement and swallows its failure, so that the statements after it
// still run. Event handlers that "skip a failing statement" wrap each one.
template <class F>
bool skip(F&& statement, const std::source_location& where = std::source_location::current()) noexcept
{
    try {
        std::forward<F>(statement)();
        return true;
    } catch (...) {
        reportSkippedError(std::current_exception(), where);
        return false;
    }
}

} // namespace veldra
