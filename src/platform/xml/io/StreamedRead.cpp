#include "platform/xml/io/StreamedRead.h"

#include <libxml/parser.h>

#include <algorithm>
#include <cstring>

namespace veldra::xml::detail {

namespace {

struct ByteStream {
    const QByteArray& bytes;
    qsizetype offset = 0;
};

int readNext(void* context, char* buffer, int length)
{
    auto& stream = *static_cast<ByteStream*>(context);
    const qsizetype count = std::min<qsizetype>(length, stream.bytes.size() - stream.offset);
    std::memcpy(buffer, stream.bytes.constData() + stream.offset, size_t(count));
    stream.offset += count;
    return int(count);
}

} // namespace

xmlDocPtr readAsStream(const QByteArray& content, const char* url, const char* encoding, int options)
{
    ByteStream stream{content};
    return xmlReadIO(readNext, nullptr, &stream, url, encoding, options);
}

} // namespace veldra::xml::detail
