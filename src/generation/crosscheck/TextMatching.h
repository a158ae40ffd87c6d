#pragma once

#include "platform/xml/tree/NodeList.h"

#include <QHash>
#include <QString>

namespace veldra {

// How the texts of a comparison's process are matched (its DataType): "Name" after whitespace
// normalisation; "DisplayName", the readable side of a code, which labels write in differing
// letter case, also whatever its case; every other text (codes among them) exactly.
enum class TextMatch { Exact, Name, DisplayName };

TextMatch textMatchOf(const QString& dataType);

// The text as it is matched.
QString matchKey(const QString& text, TextMatch match);

// The first node for each text the nodes hold, as matched: one pass, so that files of
// thousands of such nodes are not compared pair by pair.
QHash<QString, xml::Node> firstOfEachText(const xml::NodeList& nodes, TextMatch match);

} // namespace veldra
