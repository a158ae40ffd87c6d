#pragma once

// For test programs that link libxlsxwriter (pkg-config xlsxwriter): workbooks written the
// way a spreadsheet program writes them, as input for the workbook reader and the import.
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <xlsxwriter.h>

#include <stdexcept>

namespace veldra::test {

// Writes one .xlsx file. Cells are named as in the sheet ("B7"); rows count from 1.
//
//     XlsxBuilder book(dir.file("lots.xlsx"));
//     book.sheet("Lots").row(2, {"A123", 1200, QDate(2026, 5, 1)}).hideRow(3);
//     const QString path = book.save();
class XlsxBuilder {
public:
    // `constantMemory`: the writer's low-memory mode, which stores texts inline in the
    // sheet instead of in the shared string table.
    explicit XlsxBuilder(const QString& path, bool constantMemory = false) : path_(path)
    {
        lxw_workbook_options options = {};
        options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
        book_ = workbook_new_opt(path_.toUtf8().constData(), &options);
        if (!book_)
            throw std::runtime_error("workbook_new failed");
        dateFormat_ = workbook_add_format(book_);
        format_set_num_format(dateFormat_, "yyyy-mm-dd");
        builtInDateFormat_ = workbook_add_format(book_);
        format_set_num_format_index(builtInDateFormat_, 14);
    }
    ~XlsxBuilder()
    {
        if (book_)
            workbook_close(book_);
    }
    XlsxBuilder(const XlsxBuilder&) = delete;
    XlsxBuilder& operator=(const XlsxBuilder&) = delete;

    // Adds a worksheet, or goes back to one added before; the cells written next go there.
    XlsxBuilder& sheet(const QString& name)
    {
        const QByteArray utf8 = name.toUtf8();
        sheet_ = workbook_get_worksheet_by_name(book_, utf8.constData());
        if (!sheet_)
            sheet_ = workbook_add_worksheet(book_, utf8.constData());
        return *this;
    }
    XlsxBuilder& text(const char* cell, const QString& value)
    {
        worksheet_write_string(sheet_, lxw_name_to_row(cell), lxw_name_to_col(cell), value.toUtf8().constData(), nullptr);
        return *this;
    }
    XlsxBuilder& number(const char* cell, double value)
    {
        worksheet_write_number(sheet_, lxw_name_to_row(cell), lxw_name_to_col(cell), value, nullptr);
        return *this;
    }
    XlsxBuilder& boolean(const char* cell, bool value)
    {
        worksheet_write_boolean(sheet_, lxw_name_to_row(cell), lxw_name_to_col(cell), value, nullptr);
        return *this;
    }
    // A date cell under the custom format "yyyy-mm-dd", or the built-in short date (14).
    XlsxBuilder& date(const char* cell, const QDateTime& value, bool builtInFormat = false)
    {
        lxw_datetime when = {value.date().year(), value.date().month(), value.date().day(),
                             value.time().hour(), value.time().minute(), double(value.time().second())};
        worksheet_write_datetime(sheet_, lxw_name_to_row(cell), lxw_name_to_col(cell), &when,
                                 builtInFormat ? builtInDateFormat_ : dateFormat_);
        return *this;
    }
    // A number shown in a format of the test's own ("0.00", "dd/mm/yyyy hh:mm", ...).
    XlsxBuilder& formatted(const char* cell, double value, const char* numberFormat)
    {
        lxw_format* format = workbook_add_format(book_);
        format_set_num_format(format, numberFormat);
        worksheet_write_number(sheet_, lxw_name_to_row(cell), lxw_name_to_col(cell), value, format);
        return *this;
    }
    XlsxBuilder& formula(const char* cell, const char* formula, double cachedResult)
    {
        worksheet_write_formula_num(sheet_, lxw_name_to_row(cell), lxw_name_to_col(cell), formula, nullptr, cachedResult);
        return *this;
    }
    // Cells of one row from column A on: texts, numbers, booleans, dates (QDate or
    // QDateTime); an invalid QVariant leaves the cell empty.
    XlsxBuilder& row(int row, const QVariantList& values)
    {
        for (int column = 0; column < values.size(); ++column) {
            const QVariant& v = values.at(column);
            const QString cell = QString::fromLatin1(columnName(column + 1)) + QString::number(row);
            const QByteArray name = cell.toLatin1();
            switch (v.typeId()) {
            case QMetaType::UnknownType:
                break;
            case QMetaType::QString:
                text(name.constData(), v.toString());
                break;
            case QMetaType::Bool:
                boolean(name.constData(), v.toBool());
                break;
            case QMetaType::QDate:
                date(name.constData(), QDateTime(v.toDate(), QTime(0, 0)));
                break;
            case QMetaType::QDateTime:
                date(name.constData(), v.toDateTime());
                break;
            default:
                number(name.constData(), v.toDouble());
                break;
            }
        }
        return *this;
    }
    XlsxBuilder& hideRow(int row)
    {
        lxw_row_col_options options = {};
        options.hidden = LXW_TRUE;
        worksheet_set_row_opt(sheet_, static_cast<lxw_row_t>(row - 1), LXW_DEF_ROW_HEIGHT, nullptr, &options);
        return *this;
    }

    // Writes the file; gives its path.
    QString save()
    {
        const lxw_error result = workbook_close(book_);
        book_ = nullptr;
        if (result != LXW_NO_ERROR)
            throw std::runtime_error(lxw_strerror(result));
        return path_;
    }

    static QByteArray columnName(int column)
    {
        QByteArray name;
        for (; column > 0; column = (column - 1) / 26)
            name.prepend(char('A' + (column - 1) % 26));
        return name;
    }

private:
    QString path_;
    lxw_workbook* book_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_format* dateFormat_ = nullptr;
    lxw_format* builtInDateFormat_ = nullptr;
};

} // namespace veldra::test
