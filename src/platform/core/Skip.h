#pragma once

#include <exception>
#include <utility>

namespace veldra {

// Runs one statement and swallows its failure, so that the statements after it
// still run. Event handlers that "skip a failing statement" wrap each one.
template <class F>
bool skip(F&& statement) noexcept
{
    try {
        std::forward<F>(statement)();
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace veldra
