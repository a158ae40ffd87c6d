#include "editor/excel/ImportMemoryLimit.h"

namespace veldra {

namespace {

constexpr qint64 MaxImportMemory = qint64(1) << 30;

std::optional<qint64>& limitForTesting()
{
    static std::optional<qint64> limit;
    return limit;
}

} // namespace

qint64 importMemoryLimit()
{
    return limitForTesting().value_or(MaxImportMemory);
}

void setImportMemoryLimitForTesting(std::optional<qint64> limit)
{
    limitForTesting() = limit;
}

} // namespace veldra
