#pragma once

#include <libxml/xmlmemory.h>

#include <cstddef>
#include <limits>

namespace veldra::test {

// While alive, libxml2 cannot allocate more than `bytes` in one block, nor more than `blocks`
// blocks, as when memory runs out: what asks for more gets nothing. Blocks made before stay
// valid, and every block is freed as it always is.
class LibxmlAllocationsUpTo {
public:
    explicit LibxmlAllocationsUpTo(std::size_t bytes, std::size_t blocks = std::numeric_limits<std::size_t>::max())
    {
        xmlMemGet(&free_, &malloc_, &realloc_, &strdup_);
        limit_ = bytes;
        blocksLeft_ = blocks;
        xmlMemSetup(free_, limitedMalloc, limitedRealloc, strdup_);
    }
    ~LibxmlAllocationsUpTo() { xmlMemSetup(free_, malloc_, realloc_, strdup_); }
    LibxmlAllocationsUpTo(const LibxmlAllocationsUpTo&) = delete;
    LibxmlAllocationsUpTo& operator=(const LibxmlAllocationsUpTo&) = delete;

private:
    static bool grants(std::size_t size)
    {
        if (size > limit_ || blocksLeft_ == 0)
            return false;
        --blocksLeft_;
        return true;
    }
    static void* limitedMalloc(std::size_t size) { return grants(size) ? malloc_(size) : nullptr; }
    static void* limitedRealloc(void* block, std::size_t size) { return grants(size) ? realloc_(block, size) : nullptr; }

    static inline std::size_t limit_ = 0;
    static inline std::size_t blocksLeft_ = 0;
    static inline xmlFreeFunc free_ = nullptr;
    static inline xmlMallocFunc malloc_ = nullptr;
    static inline xmlReallocFunc realloc_ = nullptr;
    static inline xmlStrdupFunc strdup_ = nullptr;
};

} // namespace veldra::test
