#pragma once

#include <QtGlobal>

namespace veldra::xml {

class Node;

// The nodes a copy of `node` with its subtree builds: the node, and every element, attribute,
// text, CDATA section, comment and processing instruction below it. Zero for a null handle.
qint64 nodesWithin(const Node& node);

// The length in UTF-8 bytes of the node's value (Node::text), summed over its texts without
// building it: a section's value holds every section nested in it, so a file of megabytes can
// hold values of gigabytes. Zero for a null handle.
qint64 valueBytesWithin(const Node& node);

} // namespace veldra::xml
