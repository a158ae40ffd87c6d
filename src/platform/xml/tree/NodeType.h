#pragma once

namespace veldra::xml {

// Node kinds, numbered as the DOM numbers them.
enum class NodeType {
    Element = 1,
    Attribute = 2,
    Text = 3,
    CData = 4,
    ProcessingInstruction = 7,
    Comment = 8,
    Document = 9,
    DocumentType = 10,
};

} // namespace veldra::xml
