#include "editor/excel/ImportField.h"

#include "app/SharedProcedures.h"
#include "platform/core/Skip.h"
#include "platform/core/VbFormat.h"
#include "platform/core/VbText.h"
#include "platform/excel/Worksheet.h"
#include "platform/xml/Document.h"

namespace veldra {

namespace {

const QString Operators = QStringLiteral("+-*/");

QString attributeText(const xml::Node& field, const char* name)
{
    return field.getAttribute(QString::fromLatin1(name));
}

QString childText(const xml::Node& field, const char* name)
{
    const xml::Node child = field.selectSingleNode(QString::fromLatin1(name));
    return child.isNull() ? QString() : child.text();
}

bool isSingleCell(const QString& source)
{
    return !source.isEmpty() && std::none_of(Operators.begin(), Operators.end(), [&](QChar op) { return source.contains(op); });
}

// Copies the matches of the field's XPath into the record; false when there are none.
bool copyMatches(const xml::Node& field, const xml::Node& record, const xml::Node& importStart)
{
    xml::NodeList matches;
    skip([&] { matches = importStart.selectNodes(attributeText(field, "XPath")); });
    if (matches.length() == 0)
        return false;
    const QString target = childText(field, "Target");
    const xml::Document document = record.ownerDocument();
    int k = 0;
    for (const xml::Node& match : matches) {
        ++k;
        skip([&] {
            const xml::Node first = record.selectSingleNode(target);
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

QString finishValue(const vb::Variant& value, const xml::Node& field)
{
    const QString pattern = attributeText(field, "Format");
    QString text = pattern.isEmpty() ? vb::toText(value) : vb::format(value, pattern);
    const QString remove = attributeText(field, "Remove");
    if (!remove.isEmpty())
        text.remove(remove, Qt::CaseSensitive);
    const QString subString = attributeText(field, "SubString");
    if (!subString.isEmpty())
        text = cutSubString(text, subString);
    return text;
}

QString runField(const xml::Node& field, const excel::Worksheet& sheet, int row, const xml::Node& record,
                 const xml::Node& importStart)
{
    const QString source = childText(field, "Source");
    const QString defaultText = attributeText(field, "Default");
    vb::Variant value;
    if (!defaultText.isEmpty()) {
        value = vb::Variant::fromText(defaultText == QLatin1String("GUID") ? NewGUID() : defaultText);
    } else if (field.hasAttribute(QStringLiteral("XPath"))) {
        if (copyMatches(field, record, importStart))
            return QString();
    } else {
        value = sourceValue(sheet, source, row);
    }

    const QString text = attributeText(field, "Prefix") + finishValue(value, field);
    skip([&] { record.selectSingleNode(childText(field, "Target")).setText(text); });
    if (!isSingleCell(source.trimmed()))
        return QString();
    return vb::toText(sourceValue(sheet, source, row));
}

} // namespace veldra
