#include "editor/excel/ImportField.h"

#include "app/shared/SharedProcedures.h"
#include "platform/core/Skip.h"
#include "platform/core/VbFormat.h"
#include "platform/core/VbText.h"
#include "platform/excel/Worksheet.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Lookup.h"

#include <QRegularExpression>
#include <algorithm>

namespace veldra {

namespace {

const QString Operators = QStringLiteral("+-*/");

// The first element in document order that a path of plain element names ("Package/
// NDCPackageCode") names below `start`, as the query would find it, without running a
// query for every field of every row.
xml::Node firstAtNamePath(const xml::Node& start, const QStringList& steps, qsizetype step)
{
    if (step == steps.size())
        return start;
    for (xml::Node child = start.firstChild(); !child.isNull(); child = child.nextSibling()) {
        if (child.nodeType() != xml::NodeType::Element || child.baseName() != steps.at(step))
            continue;
        if (const xml::Node found = firstAtNamePath(child, steps, step + 1); !found.isNull())
            return found;
    }
    return {};
}

// The record's first node at a field's Target.
xml::Node nodeAt(const xml::Node& record, const QString& target)
{
    static const QRegularExpression namePath(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.-]*(/[A-Za-z_][A-Za-z0-9_.-]*)*$"));
    if (namePath.match(target).hasMatch())
        return firstAtNamePath(record, target.split(QLatin1Char('/')), 0);
    return record.selectSingleNode(target);
}

// Copies the matches of the field's XPath into the record; false when there are none.
bool copyMatches(const ImportField& field, const xml::Node& record, const xml::Node& importStart)
{
    xml::NodeList matches;
    skip([&] { matches = importStart.selectNodes(field.xpath); });
    if (matches.length() == 0)
        return false;
    const QString& target = field.target;
    const xml::Document document = record.ownerDocument();
    int k = 0;
    for (const xml::Node& match : matches) {
        ++k;
        skip([&] {
            const xml::Node first = nodeAt(record, target);
            const xml::Node copy = document.importNode(match, true);
            if (record.selectNodes(target).length() < k)
                first.parentNode().appendChild(copy);
            else
                first.parentNode().replaceChild(copy, first);
        });
    }
    return true;
}

// Text to 1-based start and length, as "start;length"; unchanged when either is missing,
// not a whole number, or the start is below 1.
QString cutSubString(const QString& text, const QString& spec)
{
    const QStringList parts = spec.split(QLatin1Char(';'));
    if (parts.size() < 2)
        return text;
    bool startOk = false;
    bool lengthOk = false;
    const int start = parts.at(0).trimmed().toInt(&startOk);
    const int length = parts.at(1).trimmed().toInt(&lengthOk);
    if (!startOk || !lengthOk || start < 1 || length < 0)
        return text;
    return text.mid(start - 1, length);
}

} // namespace

ImportField ImportField::read(const xml::Node& field)
{
    ImportField spec;
    spec.source = xml::textAt(field, QStringLiteral("Source")).trimmed();
    spec.target = xml::textAt(field, QStringLiteral("Target"));
    spec.defaultText = field.getAttribute(QStringLiteral("Default"));
    spec.hasXPath = field.hasAttribute(QStringLiteral("XPath"));
    spec.xpath = field.getAttribute(QStringLiteral("XPath"));
    spec.format = field.getAttribute(QStringLiteral("Format"));
    spec.prefix = field.getAttribute(QStringLiteral("Prefix"));
    spec.remove = field.getAttribute(QStringLiteral("Remove"));
    spec.subString = field.getAttribute(QStringLiteral("SubString"));
    return spec;
}

bool ImportField::singleCellSource() const
{
    return !source.isEmpty() && std::none_of(Operators.begin(), Operators.end(), [&](QChar op) { return source.contains(op); });
}

vb::Variant sourceValue(const excel::Worksheet& sheet, const QString& source, int row)
{
    const QString column = source.trimmed();
    const QString rowNumber = QString::number(row);
    for (const QChar op : Operators) {
        if (!column.contains(op))
            continue;
        const QStringList parts = column.split(op);
        try {
            const std::optional<vb::Variant> combined =
                vb::combine(sheet.cell(parts.at(0).trimmed() + rowNumber), op, sheet.cell(parts.at(1).trimmed() + rowNumber));
            return combined.value_or(vb::Variant{});
        } catch (const std::exception&) {
            // A part that still holds an operator names no cell: the value stays empty.
            return {};
        }
    }
    try {
        return sheet.cell(column + rowNumber);
    } catch (const std::exception&) {
        return {};
    }
}

QString finishValue(const vb::Variant& value, const ImportField& field)
{
    QString text = field.format.isEmpty() ? vb::toText(value) : vb::format(value, field.format);
    if (!field.remove.isEmpty())
        text.remove(field.remove, Qt::CaseSensitive);
    if (!field.subString.isEmpty())
        text = cutSubString(text, field.subString);
    return text;
}

QString runField(const ImportField& field, const excel::Worksheet& sheet, int row, const xml::Node& record,
                 const xml::Node& importStart)
{
    vb::Variant value;
    std::optional<vb::Variant> cell;  // the single-cell Source, read once
    if (field.singleCellSource())
        cell = sourceValue(sheet, field.source, row);
    if (!field.defaultText.isEmpty()) {
        value = vb::Variant::fromText(field.defaultText == QLatin1String("GUID") ? NewGUID() : field.defaultText);
    } else if (field.hasXPath) {
        if (copyMatches(field, record, importStart))
            return QString();
    } else {
        value = cell ? *cell : sourceValue(sheet, field.source, row);
    }

    const QString text = field.prefix + finishValue(value, field);
    skip([&] { nodeAt(record, field.target).setText(text); });
    return cell ? vb::toText(*cell) : QString();
}

} // namespace veldra
