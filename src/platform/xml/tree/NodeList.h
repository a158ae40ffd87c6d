#pragma once

#include "platform/xml/tree/Node.h"

#include <vector>

namespace veldra::xml {

// A snapshot of nodes: later changes to the document do not change the list, and every node
// in it stays usable while the list lives.
class NodeList {
public:
    NodeList() = default;
    explicit NodeList(std::vector<Node> nodes) : nodes_(std::move(nodes)) {}

    int length() const { return static_cast<int>(nodes_.size()); }
    // Null for an index outside 0 .. length() - 1.
    Node item(int index) const;

    std::vector<Node>::const_iterator begin() const { return nodes_.begin(); }
    std::vector<Node>::const_iterator end() const { return nodes_.end(); }

private:
    std::vector<Node> nodes_;
};

} // namespace veldra::xml
