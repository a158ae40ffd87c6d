#include "app/log/LogFormat.h"
#include "LogTestSupport.h"
#include "platform/core/AppInfo.h"
#include "support/RtfReader.h"
#include "support/TempDir.h"

#include <QDate>
#include <QFile>
#include <QRegularExpression>

using namespace veldra;
using veldra::test::LogTestFixture;

namespace {
QString blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}
} // namespace

TEST(LogFormat, MessageColumnFollowsTheCategoryLength)
{
    using log_format::line;
    EXPECT_EQ(line("Error", "x"), "Error" + blanks(10) + "x\n");
    EXPECT_EQ(line("", "continued"), blanks(15) + "continued\n");
    EXPECT_EQ(line(QString(14, 'c'), "m"), QString(14, 'c') + blanks(1) + "m\n");
    EXPECT_EQ(line(QString(15, 'c'), "m"), QString(15, 'c') + blanks(15) + "m\n");
    EXPECT_EQ(line(QString(29, 'c'), "m"), QString(29, 'c') + blanks(1) + "m\n");
    EXPECT_EQ(line(QString(30, 'c'), "m"), QString(30, 'c') + "m\n");
    EXPECT_EQ(line(QString(31, 'c'), "m"), QString(31, 'c') + blanks(1) + "m\n");
    EXPECT_EQ(line(QString(45, 'c'), "m"), QString(45, 'c') + blanks(15) + "m\n");
    // The separator stands alone, whatever the message.
    EXPECT_EQ(line(logSeparator(), "ignored"), QString(128, '-') + "\n");
    EXPECT_EQ(logSeparator(), QString(128, '-'));
}

TEST(LogFormat, ColoursByExactCategory)
{
    using log_format::colour;
    EXPECT_EQ(colour("Error"), QColor(255, 0, 0));
    EXPECT_EQ(colour("Fatal Error"), QColor(255, 0, 0));
    EXPECT_EQ(colour("Warning"), QColor(255, 100, 0));
    EXPECT_EQ(colour("Omit Section"), QColor(255, 100, 0));
    EXPECT_EQ(colour("Information"), QColor(0, 125, 0));
    EXPECT_EQ(colour("Reference"), QColor(0, 0, 125));
    for (const char* other : {"error", "warning", "Error ", "Processing", "", "LOINC"})
        EXPECT_EQ(colour(other), QColor(0, 0, 0)) << other;
    EXPECT_EQ(colour(logSeparator()), QColor(0, 0, 0));
}

TEST(LogFormat, DisclaimerBlockShape)
{
    const QString block = log_format::disclaimer();
    const QStringList lines = block.split("\r\n");
    ASSERT_EQ(lines.size(), 17);
    EXPECT_TRUE(lines[0].isEmpty() && lines[1].isEmpty());
    EXPECT_EQ(lines[2], QString(128, '*'));
    EXPECT_EQ(lines[3], "DISCLAIMER:");
    EXPECT_EQ(lines[4], QString(128, '*'));
    for (int i = 5; i < 15; ++i) {
        EXPECT_EQ(lines[i], lines[i].toUpper());
        EXPECT_GE(lines[i].size(), 50);
        EXPECT_LE(lines[i].size(), 112);
    }
    EXPECT_TRUE(block.endsWith("\r\n\r\n"));
    EXPECT_FALSE(block.contains(QRegularExpression("[^\r]\n")));
}

TEST_F(LogTestFixture, HeaderGoesOnlyIntoAnEmptyLog)
{
    WriteLog("Processing", "first");
    WriteLog("Processing", "second");
    const QString expectedHeader =
        "\n" + QString(128, '*') + "\n" + blanks(15) + "Veldra Version " + app_info::versionText() + "\n" + blanks(15)
        + app_info::publisher() + " " + QString::number(QDate::currentDate().year()) + "\n" + QString(128, '*') + "\n\n";
    EXPECT_EQ(text(), expectedHeader + "Processing" + blanks(5) + "first\n" + "Processing" + blanks(5) + "second\n");

    // The header is black, bold, 10 points; the lines after it keep the 10 points.
    for (qsizetype i = 1; i < expectedHeader.size() - 1; ++i) {
        if (text().at(i) == '\n')
            continue;
        const QTextCharFormat f = formatAt(i);
        ASSERT_EQ(f.foreground().color(), QColor(0, 0, 0)) << i;
        ASSERT_EQ(f.fontWeight(), QFont::Bold) << i;
        ASSERT_EQ(f.fontPointSize(), 10) << i;
    }
    const QTextCharFormat line = formatAt(text().indexOf("first"));
    EXPECT_EQ(line.fontWeight(), QFont::Normal);
    EXPECT_EQ(line.fontPointSize(), 10);
}

TEST_F(LogTestFixture, LinesTakeTheirCategorysColourAndBoldFlag)
{
    WriteLog("Error", "e1");
    WriteLog("warning", "w1", true);
    WriteLog("Warning", "w2");
    WriteLog("Reference", "r1");
    WriteLog(logSeparator(), "dropped", true);
    WriteLog("Information", "i1");

    const auto check = [&](const QString& needle, const QColor& colour, bool bold) {
        const qsizetype at = text().indexOf(needle);
        ASSERT_GE(at, 0) << needle.toStdString();
        const QTextCharFormat f = formatAt(at);
        EXPECT_EQ(f.foreground().color(), colour) << needle.toStdString();
        EXPECT_EQ(f.fontWeight() == QFont::Bold, bold) << needle.toStdString();
    };
    check("Error" + blanks(10) + "e1", QColor(255, 0, 0), false);
    check("warning        w1", QColor(0, 0, 0), true);
    check("Warning        w2", QColor(255, 100, 0), false);
    check("Reference      r1", QColor(0, 0, 125), false);
    check(QString(128, '-') + "\n", QColor(0, 0, 0), true);
    check("Information    i1", QColor(0, 125, 0), false);
    EXPECT_FALSE(text().contains("dropped"));
}

TEST_F(LogTestFixture, NoLoggingLeavesLogWindowAndCounterAlone)
{
    NoLogging = true;
    WriteLog("Error", "x");
    WriteDisclaimer();
    ShowLogWindow(true);
    EXPECT_EQ(logWindow(), nullptr) << "nothing opens the log while logging is off";

    NoLogging = false;
    WriteLog("Processing", "kept");
    const QString before = text();
    const int counter = LogLineCounter;
    const int pumps = ui.pumps;
    NoLogging = true;
    for (int i = 0; i < 150; ++i)
        WriteLog("Error", "x");
    WriteDisclaimer();
    ShowLogWindow(true);
    EXPECT_EQ(text(), before);
    EXPECT_EQ(LogLineCounter, counter);
    EXPECT_EQ(ui.pumps, pumps);
}

TEST_F(LogTestFixture, MessagePumpRunsOnEveryHundredthLine)
{
    for (int i = 0; i < 99; ++i)
        WriteLog("Processing", QString::number(i));
    EXPECT_EQ(ui.pumps, 0);
    EXPECT_EQ(LogLineCounter, 99);
    WriteLog("Processing", "100");
    EXPECT_EQ(ui.pumps, 1);
    EXPECT_EQ(LogLineCounter, 0);
    for (int i = 0; i < 150; ++i)
        WriteLog("Processing", QString::number(i));
    EXPECT_EQ(ui.pumps, 2);
    EXPECT_EQ(LogLineCounter, 50);
    WriteDisclaimer();
    EXPECT_EQ(LogLineCounter, 50) << "the disclaimer is not a counted line";
    EXPECT_EQ(box().document()->availableUndoSteps(), 0) << "a long log keeps no undo history of its lines";
}

TEST_F(LogTestFixture, DisclaimerIntoAnEmptyLogHasNoHeaderAndIsRedNotBold)
{
    WriteDisclaimer();
    QString expected = log_format::disclaimer();
    expected.replace("\r\n", "\n");
    EXPECT_EQ(text(), expected);
    const qsizetype at = text().indexOf("DISCLAIMER:");
    const QTextCharFormat f = formatAt(at);
    EXPECT_EQ(f.foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(f.fontWeight(), QFont::Normal);

    // A log that holds text gets no header from a later line.
    WriteLog("Processing", "after");
    EXPECT_TRUE(text().endsWith(expected + "Processing     after\n"));
}

TEST_F(LogTestFixture, ShowLogWindowClearsOnlyWhenAsked)
{
    WriteLog("Processing", "one");
    const QString before = text();
    ShowLogWindow(false);
    EXPECT_EQ(text(), before);
    EXPECT_EQ(ui.pumps, 1);
    EXPECT_TRUE(logWindow()->isVisible());

    ShowLogWindow(true);
    EXPECT_TRUE(text().isEmpty());
    WriteLog("Processing", "two");
    EXPECT_EQ(text().count("Version"), 1) << "a cleared log gets a new header";
}

TEST_F(LogTestFixture, ClosingTheLogDiscardsItAndTheNextLineOpensANewOne)
{
    WriteLog("Processing", "old");
    frmLog* first = logWindow();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->windowTitle(), "SPL Info Window");
    first->close();
    EXPECT_EQ(logWindow(), nullptr);

    WriteLog("Processing", "new");
    ASSERT_NE(logWindow(), nullptr);
    EXPECT_NE(logWindow(), first);
    EXPECT_FALSE(text().contains("old"));
    EXPECT_TRUE(text().contains("Version"));
    EXPECT_TRUE(text().endsWith("Processing     new\n"));
}

TEST_F(LogTestFixture, SavedRtfKeepsTextColoursAndBold)
{
    veldra::test::TempDir dir;
    WriteLog("Error", "broken {brace} \\ back", true);
    WriteLog("Warning", QString::fromUtf8("na\u00efve \u2013 dash"));
    WriteDisclaimer();
    const QString path = dir.file("log.rtf");
    SaveLogToFile(path);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto content = veldra::test::RtfReader::read(file.readAll());
    EXPECT_EQ(content.plainText(), text());
    bool sawRedBold = false, sawOrange = false, sawRedPlain = false;
    for (const auto& run : content.runs) {
        if (run.text.contains("broken {brace} \\ back"))
            sawRedBold = run.colour == QColor(255, 0, 0) && run.bold;
        if (run.text.contains(QString::fromUtf8("na\u00efve")))
            sawOrange = run.colour == QColor(255, 100, 0) && !run.bold;
        if (run.text.contains("DISCLAIMER:"))
            sawRedPlain = run.colour == QColor(255, 0, 0) && !run.bold;
        if (run.text.contains("Version")) {
            EXPECT_TRUE(run.bold && run.halfPoints == 20);
        }
    }
    EXPECT_TRUE(sawRedBold);
    EXPECT_TRUE(sawOrange);
    EXPECT_TRUE(sawRedPlain);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(LogTestFixture, SaveToAnUnwritablePathSaysSoAndKeepsTheLog)
{
    veldra::test::TempDir dir;
    WriteLog("Processing", "kept");
    const QString before = text();
    SaveLogToFile(dir.file("missing-folder/log.rtf"));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(ui.messages[0].text.startsWith("SaveLogToFile "));
    EXPECT_EQ(text(), before);
}
