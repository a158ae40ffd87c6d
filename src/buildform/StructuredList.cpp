#include "buildform/StructuredList.h"

#include <algorithm>

namespace veldra::buildform {

int moveDestination(int rowCount, int position, int direction)
{
    const long long wanted = static_cast<long long>(position) + direction;
    return static_cast<int>(std::max(1LL, std::min<long long>(wanted, rowCount)));
}

} // namespace veldra::buildform
