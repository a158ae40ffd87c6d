#pragma once

#include <QByteArray>

#include <libxml/tree.h>

namespace veldra::xml::detail {

// xmlReadMemory for documents of any size: the bytes reach libxml2 as a stream, the way it
// reads a file, so the parser lets go of what it has parsed as it goes. Given the memory
// buffer itself, libxml2 2.9 takes it for a stream once it has read to its end and then
// refuses documents above ten megabytes with "Huge input lookup" when a long value stands
// near their end. Options, encoding and errors are those of xmlReadMemory. Without
// `keepCommentsAndInstructions` the parser builds no comment or processing instruction.
xmlDocPtr readAsStream(const QByteArray& content, const char* url, const char* encoding, int options,
                       bool keepCommentsAndInstructions = true);

} // namespace veldra::xml::detail
