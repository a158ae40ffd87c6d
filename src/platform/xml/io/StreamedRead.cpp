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

xmlDocPtr readAsStream(const QByteArray& content, const char* url, const char* encoding, int options,
                       bool keepCommentsAndInstructions)
{
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (!context)
        return nullptr;
    if (!keepCommentsAndInstructions) {
        context->sax->comment = nullptr;
        context->sax->processingInstruction = nullptr;
    }
    ByteStream stream{content};
    xmlDocPtr doc = xmlCtxtReadIO(context, readNext, nullptr, &stream, url, encoding, options);
    xmlFreeParserCtxt(context);
    return doc;
}

} // namespace veldra::xml::detail
