#include "platform/core/VbFormat.h"
#include "platform/core/VbText.h"
#include "platform/core/VbVariant.h"

#include <gtest/gtest.h>

using namespace veldra;
using vb::Variant;

namespace {

QDateTime at(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0)
{
    return QDateTime(QDate(y, m, d), QTime(hh, mm, ss), Qt::UTC);
}

} // namespace

TEST(VbTextTest, ValuesPrintAsTheProgramsRulesSay)
{
    const struct {
        Variant value;
        const char* text;
    } cases[] = {
        {Variant::fromNumber(12345), "12345"},
        {Variant::fromNumber(12.5), "12.5"},
        {Variant::fromNumber(-3), "-3"},
        {Variant::fromNumber(0.1 + 0.2), "0.3"},  // 15 digits hide the binary remainder
        {Variant::fromNumber(123456789012345), "123456789012345"},
        {Variant::fromNumber(1e15), "1E+15"},
        {Variant::fromNumber(1.5e-7), "1.5E-07"},
        {Variant::fromNumber(0), "0"},
        {Variant::fromBool(true), "True"},
        {Variant::fromBool(false), "False"},
        {Variant::fromDateTime(at(2024, 1, 15)), "2024-01-15"},
        {Variant::fromDateTime(at(2024, 1, 15, 8, 5, 9)), "2024-01-15 08:05:09"},
        {Variant::fromSerial(0.75), "18:00:00"},
        {Variant::error("#DIV/0!"), "#DIV/0!"},
        {Variant{}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vb::toText(c.value), QString::fromUtf8(c.text)) << c.text;
}

TEST(VbTextTest, SerialsMatchTheCalendarBothWays)
{
    EXPECT_EQ(vb::dateTimeFromSerial(45306), at(2024, 1, 15));
    EXPECT_EQ(vb::dateTimeFromSerial(1), at(1899, 12, 31));
    EXPECT_EQ(vb::dateTimeFromSerial(-1.25), at(1899, 12, 29, 6));
    EXPECT_DOUBLE_EQ(vb::serialFromDateTime(at(1899, 12, 29, 6)), -1.25);
    EXPECT_DOUBLE_EQ(vb::serialFromDateTime(at(2024, 1, 15, 12)), 45306.5);
    EXPECT_TRUE(vb::dateTimeFromSerial(1e12).isNull()) << "beyond the year 9999";
    EXPECT_EQ(vb::parseDate("2024-01-15 10:30"), at(2024, 1, 15, 10, 30));
    EXPECT_EQ(vb::parseDate("1/5/2024"), at(2024, 1, 5));
    EXPECT_TRUE(vb::parseDate("20240115").isNull());
    EXPECT_TRUE(vb::parseDate("lot 5").isNull());
}

TEST(VbTextTest, OperatorsCombineNumbersAndTextsAndFailCleanly)
{
    const Variant two = Variant::fromNumber(2), three = Variant::fromNumber(3);
    const Variant a = Variant::fromText("A"), b = Variant::fromText("B");
    const Variant numeric = Variant::fromText("4");
    const Variant day = Variant::fromDateTime(at(2024, 1, 15));

    EXPECT_EQ(vb::toText(*vb::add(two, three)), "5");
    EXPECT_EQ(vb::toText(*vb::add(a, b)), "AB");
    EXPECT_EQ(vb::toText(*vb::add(a, Variant{})), "A");
    EXPECT_EQ(vb::toText(*vb::add(two, numeric)), "6") << "numeric text adds";
    EXPECT_EQ(vb::toText(*vb::subtract(three, two)), "1");
    EXPECT_EQ(vb::toText(*vb::multiply(three, numeric)), "12");
    EXPECT_EQ(vb::toText(*vb::divide(three, two)), "1.5");
    EXPECT_EQ(vb::toText(*vb::add(day, Variant::fromNumber(30))), "2024-02-14") << "a date moves";
    EXPECT_EQ(vb::toText(*vb::subtract(Variant::fromDateTime(at(2024, 2, 14)), day)), "30");
    EXPECT_EQ(vb::toText(*vb::combine(Variant::fromBool(true), '*', two)), "-2");

    EXPECT_FALSE(vb::add(two, a)) << "a text that is no number";
    EXPECT_FALSE(vb::divide(three, Variant::fromNumber(0)));
    EXPECT_FALSE(vb::divide(three, Variant{})) << "empty divides as zero";
    EXPECT_FALSE(vb::multiply(Variant::error("#N/A"), two));
    EXPECT_FALSE(vb::multiply(Variant::fromNumber(1e300), Variant::fromNumber(1e300))) << "overflow";
    EXPECT_FALSE(vb::combine(two, '^', three));
}

TEST(VbTextTest, FormatPatternsForNumbersDatesAndTexts)
{
    const struct {
        Variant value;
        const char* pattern;
        const char* text;
    } cases[] = {
        // dates, from typed dates, serials and date texts
        {Variant::fromDateTime(at(2024, 1, 5, 14, 7, 3)), "yyyymmdd", "20240105"},
        {Variant::fromDateTime(at(2024, 1, 5, 14, 7, 3)), "YYYYMMDD HH:MM:SS", "20240105 14:07:03"},
        {Variant::fromDateTime(at(2024, 1, 5, 14, 7, 3)), "d/m/yy h:n", "5/1/24 14:7"},
        {Variant::fromDateTime(at(2024, 1, 5, 14, 7, 3)), "mmm d, yyyy", "Jan 5, 2024"},
        {Variant::fromDateTime(at(2024, 1, 5, 14, 7, 3)), "dddd mmmm", "Friday January"},
        {Variant::fromDateTime(at(2024, 1, 5, 14, 7, 3)), "hh:mm AM/PM", "02:07 PM"},
        {Variant::fromDateTime(at(2024, 1, 5)), "\"Exp \"yyyy-mm", "Exp 2024-01"},
        {Variant::fromNumber(45306), "yyyymmdd", "20240115"},
        {Variant::fromText("2024-01-15"), "yyyymmdd", "20240115"},
        {Variant::fromText("1/15/2024"), "yyyymmdd", "20240115"},
        {Variant::fromNumber(20240115), "yyyymmdd", "20240115"},  // no such serial: unchanged
        // numbers
        {Variant::fromNumber(5), "000000", "000005"},
        {Variant::fromText("42"), "0000", "0042"},
        {Variant::fromNumber(2.5), "0", "3"},
        {Variant::fromNumber(-2.5), "0", "-3"},
        {Variant::fromNumber(1234567.891), "#,##0.00", "1,234,567.89"},
        {Variant::fromNumber(0.5), "#.##", ".5"},
        {Variant::fromNumber(3), "0.0#", "3.0"},
        {Variant::fromNumber(0.256), "0%", "26%"},
        {Variant::fromNumber(-4), "0;(0)", "(4)"},
        {Variant::fromNumber(0), "0;-0;\"none\"", "none"},
        {Variant::fromNumber(-0.001), "0.00", "0.00"},
        {Variant::fromNumber(12345), "0000-0", "1234-5"},
        {Variant::fromNumber(7), "(000) 0", "(000) 7"},
        // texts that are neither stay as they are
        {Variant::fromText("Lot A1"), "000", "Lot A1"},
        {Variant::fromText("Lot A1"), "yyyy", "Lot A1"},
        {Variant::fromBool(true), "0", "True"},
        {Variant::fromNumber(7), "", "7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vb::format(c.value, QString::fromUtf8(c.pattern)), QString::fromUtf8(c.text))
            << c.pattern << " on " << vb::toText(c.value).toStdString();
}
