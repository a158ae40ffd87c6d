#include "platform/core/VbText.h"
#include "platform/excel/XlsxWorkbook.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

QString corpusDir()
{
    return QStringLiteral(VELDRA_SOURCE_DIR "/fuzz/corpus/xlsx_reader");
}

QByteArray corpusFile(const QString& name)
{
    QFile file(corpusDir() + QLatin1Char('/') + name);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

} // namespace

// The fuzz target's corpus, replayed as the fuzz target runs it: every file opens or fails
// with a reason, and only the sound packages open.
TEST(XlsxCorpusReplayTest, EveryFileOpensOrFailsWithAReason)
{
    const QStringList files = QDir(corpusDir()).entryList(QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 8);
    for (const QString& name : files) {
        excel::XlsxWorkbook workbook;
        const bool opened = workbook.openBytes(corpusFile(name));
        const bool sound = name == QLatin1String("typed_cells.xlsx") || name == QLatin1String("root_parts.xlsx")
            || name == QLatin1String("date1904.xlsx") || name == QLatin1String("dates_out_of_range.xlsx");
        EXPECT_EQ(opened, sound) << name.toStdString() << ": " << workbook.error().text().toStdString();
        if (!opened) {
            EXPECT_FALSE(workbook.error().reason.isEmpty()) << name.toStdString();
        }
        for (const excel::Worksheet& sheet : workbook.worksheets())
            sheet.cell(1, 1);
    }
}

// The hand-written package holds what other writers than ours produce: rich text runs
// with a phonetic guide, cells and rows without their r attribute, ISO dates, rows hidden
// unless shown, a target given from the package root.
TEST(XlsxCorpusReplayTest, HandWrittenPackageReadsAsWritten)
{
    excel::XlsxWorkbook workbook;
    ASSERT_TRUE(workbook.openBytes(corpusFile("typed_cells.xlsx"))) << workbook.error().text().toStdString();
    ASSERT_EQ(workbook.sheetNames(), QStringList({"Lots", "Second"}));
    const excel::Worksheet& lots = workbook.worksheets().at(0);
    const excel::Worksheet& second = workbook.worksheets().at(1);
    const struct {
        const excel::Worksheet& sheet;
        const char* cell;
        const char* text;
    } cases[] = {
        {lots, "B1", "A1 23"},
        {lots, "A2", "2026-05-01"},
        {lots, "B2", "2024-01-15 12:00:00"},
        {lots, "C2", "True"},
        {lots, "D2", "#DIV/0!"},
        {lots, "E2", "2"},
        {second, "A1", "no r"},
        {second, "B1", "formula text"},
        {second, "B5", "2024-01-15 10:30:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vb::toText(c.sheet.cell(QString::fromLatin1(c.cell))), QString::fromLatin1(c.text)) << c.cell;
    EXPECT_TRUE(lots.rowHidden(3));
    EXPECT_FALSE(second.rowHidden(5)) << "shown explicitly";
    EXPECT_TRUE(second.rowHidden(2)) << "every other row of that sheet is hidden";
}

// A workbook that counts its days from 1904 gives the same calendar dates as one that
// counts from 1900, four years and a day apart in numbers.
TEST(XlsxCorpusReplayTest, DaysCountedFrom1904)
{
    excel::XlsxWorkbook workbook;
    ASSERT_TRUE(workbook.openBytes(corpusFile("date1904.xlsx"))) << workbook.error().text().toStdString();
    EXPECT_EQ(vb::toText(workbook.worksheets().front().cell("A2")), "2030-05-02");
}
