#pragma once

#include "platform/excel/WorkbookError.h"

#include <QByteArray>
#include <QString>
#include <libxml/xmlreader.h>

namespace veldra::excel {

// Walks the XML of one package part node by node (libxml2's streaming reader), so a large
// worksheet is never held as a tree. The part is untrusted: nothing is fetched from the
// network, and a part with a document type declaration (where entities would live) or with
// an element of thousands of attributes (the parser's duplicate check is quadratic) is
// refused.
//
//     PartReader reader(bytes, "xl/workbook.xml");
//     while (reader.next())
//         if (reader.isStart() && reader.name() == "sheet") ...
//     if (!reader.error().ok()) ...
class PartReader {
public:
    PartReader(const QByteArray& bytes, const QString& part);
    ~PartReader();
    PartReader(const PartReader&) = delete;
    PartReader& operator=(const PartReader&) = delete;

    // Moves to the next node; false at the end or on an error (see error()).
    bool next();
    const WorkbookError& error() const { return error_; }

    bool isStart() const { return type_ == XML_READER_TYPE_ELEMENT; }
    // An end tag, or a start tag that closes itself.
    bool isEnd() const;
    bool isText() const;
    int depth() const;
    // The local name of the element; namespaces are not told apart, since parts written
    // by different programs use the transitional and the strict namespaces alike.
    const char* name() const;
    bool nameIs(const char* localName) const;
    // The value of the attribute with this local name; null when absent. Valid until the
    // next call.
    const char* attribute(const char* localName);
    // The text of a text node.
    const char* value() const;

private:
    void fail(const QString& reason);

    xmlTextReaderPtr reader_ = nullptr;
    int type_ = 0;
    bool emptyElement_ = false;
    WorkbookError error_;
    QString parserMessage_;
    QByteArray attributeBuffer_;
};

QString fromXml(const char* text);

} // namespace veldra::excel
