// The libFuzzer entry of one target; the build names the target's function.
#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace veldra::fuzz {
void VELDRA_FUZZ_FUNCTION(const QByteArray& input);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    veldra::fuzz::VELDRA_FUZZ_FUNCTION(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}

#ifdef VELDRA_FUZZ_ASAN_OPTIONS
// The target's own AddressSanitizer settings (ASAN_OPTIONS still overrides them).
extern "C" const char* __asan_default_options()
{
    return VELDRA_FUZZ_ASAN_OPTIONS;
}
#endif
