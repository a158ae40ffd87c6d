#pragma once

#include <cstdint>

namespace veldra {

// Bounds what a helper process may take, before any outside input reaches a library: its
// processor time (at `processorSeconds` the process gets SIGXCPU, a few seconds later it is
// killed), its address space (`addressSpaceBytes`), and core dumps of a crash. False when the
// system refused a limit.
//
// AddressSanitizer reserves terabytes of address space for its shadow memory at start, so a
// sanitizer build keeps the time limit only.
bool limitProcessResources(std::uint64_t processorSeconds, std::uint64_t addressSpaceBytes);

} // namespace veldra
