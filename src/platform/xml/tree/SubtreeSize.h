#pragma once

#include <QtGlobal>

namespace veldra::xml {

class Node;

// The nodes a copy of `node` with its subtree builds: the node, and every element, attribute,
// text, CDATA section, comment and processing instruction below it. Zero for a null handle.
qint64 nodesWithin(const Node& node);

} // namespace veldra::xml
