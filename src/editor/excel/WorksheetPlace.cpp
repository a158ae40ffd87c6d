#include "editor/excel/WorksheetPlace.h"

#include "editor/document/SettingsDocument.h"
#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Document.h"

#include <QDateTime>
#include <QHash>

namespace veldra {

namespace {

const QString ExcelFile = QStringLiteral("ExcelFile");
const QString WorkSheet = QStringLiteral("WorkSheet");
const QString ImportDateTime = QStringLiteral("ImportDateTime");
const QString ImportedRecords = QStringLiteral("ImportedRecords");
const QString ConstraintDataType = QStringLiteral("ConstraintDataType");
const QString Word2SPLID = QStringLiteral("Word2SPLID");

xml::Node nextElement(const xml::Node& node)
{
    xml::Node next = node.nextSibling();
    while (next && next.nodeType() != xml::NodeType::Element)
        next = next.nextSibling();
    return next;
}

std::optional<QString> attributeOf(const xml::Node& element, const QString& name)
{
    return element.hasAttribute(name) ? std::optional<QString>(element.getAttribute(name)) : std::nullopt;
}

void setAttributeOf(const xml::Node& element, const QString& name, const std::optional<QString>& value)
{
    if (value)
        element.setAttribute(name, *value);
    else
        element.removeAttribute(name);
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
};

// The header of an earlier import of that worksheet, else the first empty one; null if neither.
// `imported` tells whether the target holds the header of any earlier import.
Header headerToUse(const xml::Node& target, const QString& file, const QString& sheetName, bool& imported)
{
    Header empty;
    imported = false;
    for (const xml::Cursor& element : xml::Cursor(target).children("ExcelFile")) {
        const Header header = Header::at(element.node());
        if (header.isNull())
            continue;
        imported = imported || !header.isEmpty();
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
    Header header;
    header.file = target.appendChild(document.createElement(ExcelFile));
    header.sheet = target.appendChild(document.createElement(WorkSheet));
    header.time = target.appendChild(document.createElement(ImportDateTime));
    for (const xml::Node& element : {header.file, header.sheet, header.time})
        AssignWord2SPLIDs(element);
    return header;
}

// The element names below a record and its text: what tells a filled record from an empty one.
QString contentOf(const xml::Node& record)
{
    QString content;
    for (const xml::Node& element : record.selectNodes(QStringLiteral(".//*")))
        content += element.nodeName() + QLatin1Char('/');
    return content + QLatin1Char('|') + record.text();
}

// The `name` children of `target` whose ids are among `ids`, in document order.
std::vector<xml::Node> recordsWithIds(const xml::Node& target, const QString& name, const QSet<QString>& ids)
{
    std::vector<xml::Node> records;
    for (xml::Node child = target.firstChild(); child; child = child.nextSibling())
        if (child.nodeName() == name && ids.contains(child.getAttribute(Word2SPLID)))
            records.push_back(child);
    return records;
}

QSet<QString> notedIds(const xml::Node& sheet)
{
    const QStringList ids = sheet.getAttribute(ImportedRecords).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return QSet<QString>(ids.cbegin(), ids.cend());
}

// The `name` elements from after `time` up to `end` (null: the last child).
std::vector<xml::Node> recordsBetween(const xml::Node& time, const xml::Node& end, const QString& name)
{
    std::vector<xml::Node> records;
    for (xml::Node node = nextElement(time); node && node != end; node = nextElement(node))
        if (node.nodeName() == name)
            records.push_back(node);
    return records;
}

} // namespace

WorksheetPlace WorksheetPlace::prepare(const xml::Node& target, const QString& file, const QString& sheetName,
                                       const xml::Node& recordTemplate)
{
    WorksheetPlace place;
    place.target_ = target;
    place.recordName_ = recordTemplate ? recordTemplate.nodeName() : QString();
    bool imported = false;
    Header header = headerToUse(target, file, sheetName, imported);
    const bool earlier = !header.isNull() && header.names(file, sheetName);
    if (header.isNull())
        header = appendHeader(target);
    else
        place.before_ = HeaderState{header.file.text(), attributeOf(header.file, ConstraintDataType), header.sheet.text(),
                                    header.time.text(), attributeOf(header.sheet, ImportedRecords)};
    place.file_ = header.file;
    place.sheet_ = header.sheet;
    place.time_ = header.time;
    place.end_ = header.end();
    // A header that notes the records its worksheet brought gives exactly those up; one of an
    // older document, which notes none, gives up only records the new import brings again.
    if (earlier && recordTemplate) {
        if (header.sheet.hasAttribute(ImportedRecords))
            place.noted_ = recordsWithIds(target, place.recordName_, notedIds(header.sheet));
        else
            place.unnoted_ = recordsBetween(header.time, place.end_, place.recordName_);
    }
    header.file.setText(file);
    header.file.setAttribute(ConstraintDataType, QStringLiteral("File"));
    header.sheet.setText(sheetName);
    header.time.setText(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd HH:mm:ss")));
    place.lastBefore_ = target.lastChild();
    // The empty records a new document holds make room for the first import only: later on,
    // an empty record is one the user added.
    if (!recordTemplate || imported)
        return place;
    const QString untouchedText = recordTemplate.text();
    const QString untouched = contentOf(recordTemplate);
    for (xml::Node child = target.firstChild(); child; child = child.nextSibling())
        if (child.nodeName() == place.recordName_ && child.text() == untouchedText && contentOf(child) == untouched)
            place.emptyRecords_.push_back(child);
    return place;
}

std::vector<xml::Node> WorksheetPlace::earlierRecords(const std::vector<xml::Node>& added) const
{
    if (unnoted_.empty())
        return noted_;
    // Each new record replaces one earlier record of the same content, so a clone or an edited
    // record is never taken for one the worksheet brought.
    QHash<QString, int> wanted;
    for (const xml::Node& record : added)
        ++wanted[contentOf(record)];
    std::vector<xml::Node> matched;
    for (const xml::Node& record : unnoted_) {
        int& count = wanted[contentOf(record)];
        if (count > 0) {
            --count;
            matched.push_back(record);
        }
    }
    return matched;
}

std::vector<xml::Node> WorksheetPlace::placeRecords() const
{
    std::vector<xml::Node> added;
    if (recordName_.isEmpty())
        return added;
    for (xml::Node node = lastBefore_ ? lastBefore_.nextSibling() : target_.firstChild(); node; node = node.nextSibling())
        if (node.nodeName() == recordName_)
            added.push_back(node);
    const std::vector<xml::Node> earlier = earlierRecords(added);
    const xml::Node before = earlier.empty() ? end_ : earlier.front();
    if (before)
        for (const xml::Node& record : added)
            target_.insertBefore(record, before);
    for (const xml::Node& record : earlier)
        target_.removeChild(record);
    if (!added.empty())
        for (const xml::Node& record : emptyRecords_)
            if (record.parentNode() == target_)
                target_.removeChild(record);
    return added;
}

void WorksheetPlace::noteRecords(const QSet<QString>& ids) const
{
    QStringList noted(ids.cbegin(), ids.cend());
    noted.sort();
    sheet_.setAttribute(ImportedRecords, noted.join(QLatin1Char(' ')));
}

void WorksheetPlace::restoreHeader() const
{
    if (!before_)
        return;
    file_.setText(before_->file);
    setAttributeOf(file_, ConstraintDataType, before_->fileType);
    sheet_.setText(before_->sheet);
    setAttributeOf(sheet_, ImportedRecords, before_->records);
    time_.setText(before_->time);
}

} // namespace veldra
