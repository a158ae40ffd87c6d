#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// A value as a spreadsheet cell holds it and as the program's Visual-Basic-like rules
// combine and print it: empty, a number, a text, a boolean, a date or an error.
namespace veldra::vb {

struct Variant {
    enum class Kind { Empty, Number, Text, Bool, Date, Error };

    Kind kind = Kind::Empty;
    // Number: the number; Bool: 1 or 0; Date: the serial (days since 1899-12-30, the
    // fraction the time of day).
    double number = 0;
    // Text: the text; Error: the error as the workbook shows it ("#DIV/0!").
    QString text;

    static Variant fromNumber(double value) { return {Kind::Number, value, {}}; }
    static Variant fromText(const QString& value) { return {Kind::Text, 0, value}; }
    static Variant fromBool(bool value) { return {Kind::Bool, value ? 1.0 : 0.0, {}}; }
    static Variant fromSerial(double serial) { return {Kind::Date, serial, {}}; }
    static Variant fromDateTime(const QDateTime& value);
    static Variant error(const QString& value) { return {Kind::Error, 0, value}; }

    bool isEmpty() const { return kind == Kind::Empty; }
    QDateTime dateTime() const;  // for a Date
    bool operator==(const Variant& other) const = default;
};

// Date serials (dates in UTC, as they carry no time zone): whole days since 1899-12-30 plus the time as a fraction of a day, kept to
// the second. Serials outside the years 100 to 9999 have no date (null QDateTime).
QDateTime dateTimeFromSerial(double serial);
double serialFromDateTime(const QDateTime& value);

// The number a value reads as: a number, a date's serial, a boolean as -1 or 0, empty as 0,
// a text that is numeric (VbString.h isNumeric). Nothing for other texts and errors.
std::optional<double> toNumber(const Variant& value);

// The four operators on two values. "+" joins two texts (or a text and empty) and adds
// anything else that reads as numbers; a date plus or minus a number stays a date, and a
// date minus a date is a number of days. A value that does not read as a number, a
// division by zero or a result that is not finite gives nothing.
std::optional<Variant> add(const Variant& a, const Variant& b);
std::optional<Variant> subtract(const Variant& a, const Variant& b);
std::optional<Variant> multiply(const Variant& a, const Variant& b);
std::optional<Variant> divide(const Variant& a, const Variant& b);
// The operator by its character ('+', '-', '*', '/'); nothing for another character.
std::optional<Variant> combine(const Variant& a, QChar op, const Variant& b);

} // namespace veldra::vb
