#pragma once

#include <QByteArray>
#include <QList>

namespace veldra::word::detail {

// The fixed parts of a package the writer produces.
QByteArray contentTypesPart();
QByteArray packageRelationshipsPart();
QByteArray documentRelationshipsPart();
QByteArray stylesPart();
QByteArray settingsPart();
QByteArray appPropertiesPart();
QByteArray corePropertiesPart();
// One abstract numbering per list kind (0 decimal "1.", 1 bullet) and one list per entry,
// each restarting at 1.
QByteArray numberingPart(const QList<bool>& listIsBulleted);

} // namespace veldra::word::detail
