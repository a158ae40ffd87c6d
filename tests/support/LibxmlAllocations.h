#pragma once

#include <libxml/xmlmemory.h>

#include <cstddef>

namespace veldra::test {

// While alive, libxml2 cannot allocate more than `bytes` in one block, as when memory runs
// out: what asks for more gets nothing. Blocks made before stay valid, and every block is
// freed as it always is.
class LibxmlAllocationsUpTo {
public:
    explicit LibxmlAllocationsUpTo(std::size_t bytes)
    {
        xmlMemGet(&free_, &malloc_, &realloc_, &strdup_);
        limit_ = bytes;
        xmlMemSetup(free_, limitedMalloc, limitedRealloc, strdup_);
    }
    ~LibxmlAllocationsUpTo() { xmlMemSetup(free_, malloc_, realloc_, strdup_); }
    LibxmlAllocationsUpTo(const LibxmlAllocationsUpTo&) = delete;
    LibxmlAllocationsUpTo& operator=(const LibxmlAllocationsUpTo&) = delete;

private:
    static void* limitedMalloc(std::size_t size) { return size > limit_ ? nullptr : malloc_(size); }
    static void* limitedRealloc(void* block, std::size_t size) { return size > limit_ ? nullptr : realloc_(block, size); }

    static inline std::size_t limit_ = 0;
    static inline xmlFreeFunc free_ = nullptr;
    static inline xmlMallocFunc malloc_ = nullptr;
    static inline xmlReallocFunc realloc_ = nullptr;
    static inline xmlStrdupFunc strdup_ = nullptr;
};

} // namespace veldra::test
