#pragma once

#include <QString>

namespace veldra {

// A count as the program's messages write it, digits grouped by commas (1,234,567) whatever
// the user's locale, so that the large numbers of a refusal read at a glance.
QString countText(qint64 count);

} // namespace veldra
