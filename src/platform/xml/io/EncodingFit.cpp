#include "platform/xml/io/EncodingFit.h"

#include <QByteArray>

#include <memory>
#include <optional>

#include <libxml/encoding.h>

namespace veldra::xml::detail {

namespace {

struct HandlerClose {
    void operator()(xmlCharEncodingHandlerPtr handler) const { xmlCharEncCloseFunc(handler); }
};
using Handler = std::unique_ptr<xmlCharEncodingHandler, HandlerClose>;

bool isAscii(const xmlChar* text)
{
    for (; text && *text; ++text)
        if (*text >= 0x80)
            return false;
    return true;
}

class Fit {
public:
    explicit Fit(const char* encoding) : handler_(xmlFindCharEncodingHandler(encoding)) {}

    bool holds(const xmlChar* text) const
    {
        return isAscii(text) || convert(text).has_value();
    }

    // Markup is found by its ASCII bytes, so an encoding that writes ASCII differently (UTF-7
    // writes '<' as "+ADw-") cannot be read back, except the wide forms a reader detects.
    bool writesAsciiAsIs(const char* encoding) const
    {
        switch (xmlParseCharEncoding(encoding)) {
        case XML_CHAR_ENCODING_UTF16LE:
        case XML_CHAR_ENCODING_UTF16BE:
        case XML_CHAR_ENCODING_UCS4LE:
        case XML_CHAR_ENCODING_UCS4BE:
            return true;
        default:
            break;
        }
        QByteArray ascii("\t\n\r");
        for (char c = 0x20; c < 0x7F; ++c)
            ascii += c;
        const auto converted = convert(reinterpret_cast<const xmlChar*>(ascii.constData()));
        return converted && *converted == ascii;
    }

    bool holdsName(const xmlChar* name, const xmlNs* ns) const
    {
        return holds(name) && (!ns || holds(ns->prefix));
    }

    bool holdsNode(xmlNodePtr node) const
    {
        switch (node->type) {
        case XML_ELEMENT_NODE:
            for (const xmlNs* ns = node->nsDef; ns; ns = ns->next)
                if (!holds(ns->prefix))
                    return false;
            for (xmlAttrPtr attr = node->properties; attr; attr = attr->next)
                if (!holdsName(attr->name, attr->ns))
                    return false;
            return holdsName(node->name, node->ns);
        case XML_COMMENT_NODE:
        case XML_CDATA_SECTION_NODE:
            return holds(node->content);
        case XML_PI_NODE:
            return holds(node->name) && holds(node->content);
        default:
            return true;
        }
    }

private:
    // The converters themselves, since libxml2's own conversion call turns what does not fit
    // into character references instead of failing.
    std::optional<QByteArray> convert(const xmlChar* text) const
    {
        if (!handler_)
            return std::nullopt;
        const int length = xmlStrlen(text);
        QByteArray out(qsizetype(length) * 8 + 16, Qt::Uninitialized);
        if (handler_->output) {
            int read = length;
            int written = int(out.size());
            if (handler_->output(reinterpret_cast<unsigned char*>(out.data()), &written, text, &read) < 0 || read != length)
                return std::nullopt;
            out.truncate(written);
            return out;
        }
#ifdef LIBXML_ICONV_ENABLED
        if (handler_->iconv_out) {
            auto in = const_cast<char*>(reinterpret_cast<const char*>(text));
            char* to = out.data();
            size_t inLeft = size_t(length);
            size_t outLeft = size_t(out.size());
            const bool converted = iconv(handler_->iconv_out, &in, &inLeft, &to, &outLeft) != size_t(-1) && inLeft == 0
                                   && iconv(handler_->iconv_out, nullptr, nullptr, &to, &outLeft) != size_t(-1);
            iconv(handler_->iconv_out, nullptr, nullptr, nullptr, nullptr);
            if (!converted)
                return std::nullopt;
            out.truncate(to - out.data());
            return out;
        }
#endif
        return std::nullopt;
    }

    Handler handler_;
};

// The next node in document order, without recursion: documents built in memory have no depth limit.
xmlNodePtr following(xmlNodePtr node, xmlNodePtr root)
{
    if (node->type == XML_ELEMENT_NODE && node->children)
        return node->children;
    while (node && node != root) {
        if (node->next)
            return node->next;
        node = node->parent;
    }
    return nullptr;
}

} // namespace

bool markupFitsEncoding(xmlDocPtr doc, const char* encoding)
{
    const Fit fit(encoding);
    if (!fit.writesAsciiAsIs(encoding))
        return false;
    const auto root = reinterpret_cast<xmlNodePtr>(doc);
    for (xmlNodePtr node = doc->children; node; node = following(node, root))
        if (!fit.holdsNode(node))
            return false;
    return true;
}

} // namespace veldra::xml::detail
