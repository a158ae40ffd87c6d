#pragma once

#include "platform/core/Skip.h"

#include <utility>

namespace veldra {

// Calls a hook of the hook table when its subsystem has filled it; a command that
// reaches a subsystem that is not there does nothing. A failing call is skipped.
template <class Hook, class... Args>
void callHook(const Hook& hook, Args&&... args)
{
    if (hook)
        skip([&] { hook(std::forward<Args>(args)...); });
}

} // namespace veldra
