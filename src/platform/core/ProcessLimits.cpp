#include "platform/core/ProcessLimits.h"

#include <sys/resource.h>

#if defined(__SANITIZE_ADDRESS__)
#define VELDRA_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELDRA_ADDRESS_SANITIZER 1
#endif
#endif

namespace veldra {

namespace {

// SIGXCPU comes at the soft limit, which a process may catch to say why it ends; the hard
// limit kills it a little later whatever it does.
constexpr rlim_t GraceSeconds = 5;

bool setLimit(int resource, rlim_t soft, rlim_t hard)
{
    const rlimit limit{soft, hard};
    return setrlimit(resource, &limit) == 0;
}

} // namespace

bool limitProcessResources(std::uint64_t processorSeconds, std::uint64_t addressSpaceBytes)
{
    bool ok = setLimit(RLIMIT_CPU, processorSeconds, processorSeconds + GraceSeconds) && setLimit(RLIMIT_CORE, 0, 0);
#ifndef VELDRA_ADDRESS_SANITIZER
    ok = ok && setLimit(RLIMIT_AS, addressSpaceBytes, addressSpaceBytes);
#else
    (void)addressSpaceBytes;
#endif
    return ok;
}

} // namespace veldra
