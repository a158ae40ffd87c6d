#include "platform/excel/WorksheetParser.h"

#include "platform/core/VbText.h"
#include "platform/excel/PartReader.h"
#include "platform/excel/StringEscapes.h"

#include <cstdlib>
#include <cstring>

namespace veldra::excel {

namespace {

// The cell being read: its place, its type and style attributes, and the text of its
// value (<v>) or inline string (<is>).
struct OpenCell {
    CellPlace place;
    QByteArray type;
    int style = 0;
    QByteArray value;
    bool hasValue = false;
};

bool truthy(const char* text)
{
    return text && (std::strcmp(text, "1") == 0 || std::strcmp(text, "true") == 0);
}

std::optional<double> numberOf(const QByteArray& text)
{
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

// Cells shown as dates whose numbers are no dates: how many, and the first of them.
struct NotDates {
    int count = 0;
    int firstRow = 0;
    QByteArray firstValue;

    void add(int row, const QByteArray& value)
    {
        if (count++ == 0) {
            firstRow = row;
            firstValue = value.trimmed().left(40);
        }
    }
    QString warning(const QString& sheet) const
    {
        return QStringLiteral("Worksheet '%1': %2 cell(s) shown as dates hold numbers that are no date (the first in "
                              "row %3: %4); they are read as numbers.")
            .arg(sheet)
            .arg(count)
            .arg(firstRow)
            .arg(QString::fromUtf8(firstValue));
    }
};

// Builds the cell's value; nothing when the cell is damaged.
std::optional<CellValue> valueOf(const OpenCell& cell, const SheetContext& context, QString& why, NotDates& notDates)
{
    const QByteArray& t = cell.type;
    if (t == "inlineStr" || t == "str")
        return CellValue::fromText(decodeEscapes(QString::fromUtf8(cell.value)));
    if (!cell.hasValue)
        return CellValue{};
    if (t == "s") {
        const std::optional<double> index = numberOf(cell.value);
        if (!index || *index < 0 || *index >= context.sharedStrings.size()) {
            why = QStringLiteral("cell refers to shared string %1, which does not exist").arg(QString::fromUtf8(cell.value));
            return std::nullopt;
        }
        return CellValue::fromText(context.sharedStrings.at(static_cast<qsizetype>(*index)));
    }
    if (t == "b")
        return CellValue::fromBool(cell.value.trimmed() == "1" || cell.value.trimmed() == "true");
    if (t == "e")
        return CellValue::error(QString::fromUtf8(cell.value));
    if (t == "d") {
        const QDateTime date = vb::parseDate(QString::fromUtf8(cell.value).left(19));
        return date.isNull() ? CellValue::fromText(QString::fromUtf8(cell.value)) : CellValue::fromDateTime(date);
    }
    const std::optional<double> number = numberOf(cell.value);
    if (!number) {
        why = QStringLiteral("cell holds '%1', which is not a number").arg(QString::fromUtf8(cell.value.left(40)));
        return std::nullopt;
    }
    const bool isDate = cell.style >= 0 && static_cast<size_t>(cell.style) < context.dateStyles.size()
        && context.dateStyles[static_cast<size_t>(cell.style)];
    if (isDate) {
        const double serial = serialFromWorkbookDays(*number, context.date1904);
        if (!vb::dateTimeFromSerial(serial).isNull())
            return CellValue::fromSerial(serial);
        notDates.add(cell.place.row, cell.value);
    }
    return CellValue::fromNumber(*number);
}

} // namespace

double serialFromWorkbookDays(double days, bool date1904)
{
    if (date1904)
        return days + 1462;
    return days >= 1 && days < 60 ? days + 1 : days;
}

bool readWorksheet(const QByteArray& xml, const QString& part, const SheetContext& context, Worksheet& sheet,
                   WorkbookProgress& progress, WorkbookError& error)
{
    PartReader reader(xml, part);
    int row = 0;
    int nextColumn = 1;
    std::optional<OpenCell> cell;
    bool inValue = false;  // inside <v>, or inside a <t> of an inline string
    int phoneticDepth = -1;
    NotDates notDates;
    auto fail = [&](const QString& why) {
        error = {part, QStringLiteral("%1 (row %2)").arg(why).arg(row)};
        return false;
    };
    // Stores the cell read; the reason when it is damaged.
    auto finishCell = [&]() {
        QString why;
        const std::optional<CellValue> value = valueOf(*cell, context, why, notDates);
        if (value && !value->isEmpty())
            sheet.setCell(cell->place, *value);
        nextColumn = cell->place.column + 1;
        cell.reset();
        return why;
    };

    while (reader.next()) {
        if (reader.isStart()) {
            const char* name = reader.name();
            if (std::strcmp(name, "row") == 0) {
                if (++progress.rows > MaxRowsPerWorkbook)
                    return fail(QStringLiteral("the workbook holds more than %1 rows").arg(MaxRowsPerWorkbook));
                const char* r = reader.attribute("r");
                row = r ? std::atoi(r) : row + 1;
                if (row < 1 || row > MaxRows)
                    return fail(QStringLiteral("a row number is outside the sheet"));
                nextColumn = 1;
                if (const char* hidden = reader.attribute("hidden"))
                    sheet.setRowHidden(row, truthy(hidden));
                else
                    sheet.setRowHidden(row, false);
            } else if (std::strcmp(name, "c") == 0) {
                if (++progress.cells > MaxCellsPerWorkbook)
                    return fail(QStringLiteral("the workbook holds more than %1 cells").arg(MaxCellsPerWorkbook));
                OpenCell open;
                if (const char* r = reader.attribute("r")) {
                    const std::optional<CellPlace> place = parseCellName(r);
                    if (!place)
                        return fail(QStringLiteral("'%1' is not a cell name").arg(QString::fromUtf8(r)));
                    open.place = *place;
                } else {
                    open.place = {row, nextColumn};
                }
                if (open.place.row < 1 || open.place.column > MaxColumns)
                    return fail(QStringLiteral("a cell lies outside the sheet"));
                open.type = reader.attribute("t");
                if (const char* s = reader.attribute("s"))
                    open.style = std::atoi(s);
                cell = open;
            } else if (cell && std::strcmp(name, "v") == 0) {
                inValue = true;
                cell->hasValue = true;
            } else if (cell && std::strcmp(name, "rPh") == 0) {
                phoneticDepth = reader.depth();
            } else if (cell && std::strcmp(name, "t") == 0 && phoneticDepth < 0) {
                inValue = true;
                cell->hasValue = true;
            } else if (std::strcmp(name, "sheetFormatPr") == 0) {
                sheet.setRowsHiddenByDefault(truthy(reader.attribute("zeroHeight")));
            }
        } else if (reader.isText() && inValue && cell) {
            cell->value += reader.value();
        }
        if (reader.isEnd()) {
            const char* name = reader.name();
            if (std::strcmp(name, "v") == 0 || std::strcmp(name, "t") == 0) {
                inValue = false;
            } else if (std::strcmp(name, "rPh") == 0 && reader.depth() == phoneticDepth) {
                phoneticDepth = -1;
            } else if (std::strcmp(name, "c") == 0 && cell) {
                if (const QString why = finishCell(); !why.isEmpty())
                    return fail(why);
            }
        }
    }
    error = reader.error();
    if (notDates.count > 0)
        progress.warnings.append(notDates.warning(sheet.name()));
    return error.ok();
}

} // namespace veldra::excel
