#include "platform/core/MemoryRoom.h"

#include <new>
#include <sys/mman.h>

namespace veldra {

void requireMemory(std::size_t bytes)
{
    if (bytes == 0)
        return;
    // A private writable mapping counts against RLIMIT_AS and the commit charge alike; no page
    // of it is touched, so it costs no physical memory.
    void* probe = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (probe == MAP_FAILED)
        throw std::bad_alloc();
    ::munmap(probe, bytes);
}

} // namespace veldra
