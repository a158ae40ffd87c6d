#include "app/Hooks.h"

namespace veldra {

Hooks& hooks()
{
    static Hooks table;
    return table;
}

} // namespace veldra
