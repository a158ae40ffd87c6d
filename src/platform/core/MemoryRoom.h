#pragma once

#include <cstddef>

namespace veldra {

// Throws std::bad_alloc unless `bytes` more memory can be had at this moment. That much address
// space (and, where the system keeps an account of what it promised, that much of the account)
// is asked for in one piece and given back at once, so a cap on the address space or a strict
// overcommit policy answers now, not halfway through the work that follows. For work that
// cannot fail cleanly when an allocation fails (code of a library built without exceptions):
// it starts only when what it will take is there.
void requireMemory(std::size_t bytes);

} // namespace veldra
