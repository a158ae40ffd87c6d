#include "metafileconverter/ResourceLimits.h"

#include <sys/resource.h>

#if defined(__SANITIZE_ADDRESS__)
#define VELDRA_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELDRA_ADDRESS_SANITIZER 1
#endif
#endif

namespace veldra::metafile {

namespace {

constexpr rlim_t ProcessorSeconds = 60;

bool setLimit(int resource, rlim_t value)
{
    const rlimit limit{value, value};
    return setrlimit(resource, &limit) == 0;
}

} // namespace

bool limitResources()
{
    bool ok = setLimit(RLIMIT_CPU, ProcessorSeconds) && setLimit(RLIMIT_CORE, 0);
#ifndef VELDRA_ADDRESS_SANITIZER
    // A drawing of the largest size the renderer asks for (25 million pixels of four bytes),
    // its PNG, the player's own 64 MB, the SVG reader's nodes of an EMF drawing (bounded by
    // their count) and the libraries themselves fit well within this.
    // AddressSanitizer reserves terabytes of address space for its shadow memory at start, so
    // a sanitizer build keeps the player's own memory budget and the time limits only.
    constexpr rlim_t AddressSpaceBytes = rlim_t(1) << 30;
    ok = ok && setLimit(RLIMIT_AS, AddressSpaceBytes);
#endif
    return ok;
}

} // namespace veldra::metafile
