#include "editor/excel/WorksheetPlace.h"

#include "platform/xml/tree/Document.h"

#include <QDateTime>

namespace veldra {

namespace {

const QString ExcelFile = QStringLiteral("ExcelFile");
const QString WorkSheet = QStringLiteral("WorkSheet");
const QString ImportDateTime = QStringLiteral("ImportDateTime");

xml::Node nextElement(const xml::Node& node)
{
    xml::Node next = node.nextSibling();
    while (next && next.nodeType() != xml::NodeType::Element)
        next = next.nextSibling();
    return next;
}

// The three elements of one import's header, starting at its ExcelFile.
struct Header {
    xml::Node file;
    xml::Node sheet;
    xml::Node time;

    static Header at(const xml::Node& file)
    {
        const xml::Node sheet = nextElement(file);
        if (!sheet || sheet.nodeName() != WorkSheet)
            return {};
        const xml::Node time = nextElement(sheet);
        if (!time || time.nodeName() != ImportDateTime)
            return {};
        return {file, sheet, time};
    }
    bool isNull() const { return !file; }
    bool isEmpty() const { return file.text().trimmed().isEmpty() && sheet.text().trimmed().isEmpty(); }
    bool names(const QString& path, const QString& sheetName) const
    {
        return file.text() == path && sheet.text() == sheetName;
    }
    // The first node after this import's records: the next import's ExcelFile, or null.
    xml::Node end() const
    {
        xml::Node next = nextElement(time);
        while (next && next.nodeName() != ExcelFile)
            next = nextElement(next);
        return next;
    }
    void removeRecords(const xml::Node& target, const QString& recordName) const
    {
        const xml::Node stop = end();
        for (xml::Node node = nextElement(time); node && node != stop;) {
            const xml::Node next = nextElement(node);
            if (node.nodeName() == recordName)
                target.removeChild(node);
            node = next;
        }
    }
};

// The header of an earlier import of that worksheet, else the first empty one; null if neither.
Header headerToUse(const xml::Node& target, const QString& file, const QString& sheetName)
{
    Header empty;
    for (const xml::Node& element : target.selectNodes(ExcelFile)) {
        const Header header = Header::at(element);
        if (header.isNull())
            continue;
        if (header.names(file, sheetName))
            return header;
        if (empty.isNull() && header.isEmpty())
            empty = header;
    }
    return empty;
}

Header appendHeader(const xml::Node& target)
{
    const xml::Document document = target.ownerDocument();
    const xml::Node file = target.appendChild(document.createElement(ExcelFile));
    return {file, target.appendChild(document.createElement(WorkSheet)),
            target.appendChild(document.createElement(ImportDateTime))};
}

// The element names below a record and its text: what tells a filled record from an empty one.
QString contentOf(const xml::Node& record)
{
    QString content;
    for (const xml::Node& element : record.selectNodes(QStringLiteral(".//*")))
        content += element.nodeName() + QLatin1Char('/');
    return content + QLatin1Char('|') + record.text();
}

} // namespace

WorksheetPlace WorksheetPlace::prepare(const xml::Node& target, const QString& file, const QString& sheetName,
                                       const xml::Node& recordTemplate)
{
    WorksheetPlace place;
    place.target_ = target;
    place.recordName_ = recordTemplate ? recordTemplate.nodeName() : QString();
    Header header = headerToUse(target, file, sheetName);
    if (header.isNull())
        header = appendHeader(target);
    else if (header.names(file, sheetName) && recordTemplate)
        header.removeRecords(target, place.recordName_);
    header.file.setText(file);
    header.file.setAttribute(QStringLiteral("ConstraintDataType"), QStringLiteral("File"));
    header.sheet.setText(sheetName);
    header.time.setText(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd HH:mm:ss")));
    place.before_ = header.end();
    if (!recordTemplate)
        return place;
    const QString untouched = contentOf(recordTemplate);
    const xml::NodeList records = target.selectNodes(place.recordName_);
    place.recordsBefore_ = records.length();
    for (const xml::Node& record : records)
        if (contentOf(record) == untouched)
            place.emptyRecords_.push_back(record);
    return place;
}

void WorksheetPlace::placeRecords() const
{
    if (recordName_.isEmpty())
        return;
    const xml::NodeList records = target_.selectNodes(recordName_);
    if (records.length() == recordsBefore_)
        return;
    if (before_)
        for (int i = recordsBefore_; i < records.length(); ++i)
            target_.insertBefore(records.item(i), before_);
    for (const xml::Node& record : emptyRecords_)
        target_.removeChild(record);
}

} // namespace veldra
