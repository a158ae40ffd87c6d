#include "platform/excel/PartReader.h"

#include "platform/core/InputScan.h"

#include <cstring>

namespace veldra::excel {

namespace {

void collectError(void* sink, xmlErrorPtr error)
{
    auto* reason = static_cast<QString*>(sink);
    if (reason->isEmpty() && error && error->level >= XML_ERR_ERROR) {
        *reason = QString::fromUtf8(error->message).trimmed();
        if (error->line > 0)
            *reason += QStringLiteral(" (line %1)").arg(error->line);
    }
}

} // namespace

QString fromXml(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

PartReader::PartReader(const QByteArray& bytes, const QString& part)
{
    error_.part = part;
    if (const auto refusal = refuseBeforeParsing(bytes)) {
        fail(QStringLiteral("%1 (line %2)").arg(refusal->reason).arg(refusal->line));
        return;
    }
    reader_ = xmlReaderForMemory(bytes.constData(), static_cast<int>(bytes.size()), nullptr, nullptr,
                                 XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!reader_)
        fail(QStringLiteral("the part cannot be read as XML"));
    else
        xmlTextReaderSetStructuredErrorHandler(reader_, collectError, &parserMessage_);
}

PartReader::~PartReader()
{
    if (reader_)
        xmlFreeTextReader(reader_);
}

void PartReader::fail(const QString& reason)
{
    if (error_.reason.isEmpty())
        error_.reason = reason;
}

bool PartReader::next()
{
    if (!reader_ || !error_.ok())
        return false;
    parserMessage_.clear();
    const int result = xmlTextReaderRead(reader_);
    if (result != 1) {
        if (result < 0)
            fail(QStringLiteral("the part is not well-formed XML")
                 + (parserMessage_.isEmpty() ? QString() : QStringLiteral(": ") + parserMessage_));
        type_ = 0;
        return false;
    }
    type_ = xmlTextReaderNodeType(reader_);
    if (type_ == XML_READER_TYPE_DOCUMENT_TYPE || type_ == XML_READER_TYPE_ENTITY_REFERENCE) {
        fail(QStringLiteral("the part declares a document type or entities, which a workbook never does"));
        return false;
    }
    emptyElement_ = type_ == XML_READER_TYPE_ELEMENT && xmlTextReaderIsEmptyElement(reader_) == 1;
    return true;
}

bool PartReader::isEnd() const
{
    return type_ == XML_READER_TYPE_END_ELEMENT || emptyElement_;
}

bool PartReader::isText() const
{
    return type_ == XML_READER_TYPE_TEXT || type_ == XML_READER_TYPE_CDATA
        || type_ == XML_READER_TYPE_SIGNIFICANT_WHITESPACE || type_ == XML_READER_TYPE_WHITESPACE;
}

int PartReader::depth() const
{
    return xmlTextReaderDepth(reader_);
}

const char* PartReader::name() const
{
    const xmlChar* local = xmlTextReaderConstLocalName(reader_);
    return local ? reinterpret_cast<const char*>(local) : "";
}

bool PartReader::nameIs(const char* localName) const
{
    return std::strcmp(name(), localName) == 0;
}

const char* PartReader::attribute(const char* localName)
{
    const xmlNodePtr node = xmlTextReaderCurrentNode(reader_);
    if (!node || node->type != XML_ELEMENT_NODE)
        return nullptr;
    for (xmlAttrPtr attr = node->properties; attr; attr = attr->next) {
        if (std::strcmp(reinterpret_cast<const char*>(attr->name), localName) != 0)
            continue;
        const xmlNodePtr text = attr->children;
        if (text && text->type == XML_TEXT_NODE && !text->next)
            return reinterpret_cast<const char*>(text->content);
        xmlChar* joined = xmlNodeListGetString(node->doc, attr->children, 1);
        attributeBuffer_ = joined ? QByteArray(reinterpret_cast<const char*>(joined)) : QByteArray("");
        xmlFree(joined);
        return attributeBuffer_.constData();
    }
    return nullptr;
}

const char* PartReader::value() const
{
    const xmlChar* text = xmlTextReaderConstValue(reader_);
    return text ? reinterpret_cast<const char*>(text) : "";
}

} // namespace veldra::excel
