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
