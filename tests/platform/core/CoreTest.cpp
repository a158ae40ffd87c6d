#include "platform/core/AppPaths.h"
#include "platform/core/RegularFile.h"
#include "platform/core/Skip.h"
#include "platform/core/VbError.h"
#include "platform/core/VbString.h"
#include "support/Fixtures.h"
#include "support/SkippedErrors.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace veldra;

TEST(VbErrorTest, TextAndSourceSuffixes)
{
    VbError e(91, QStringLiteral("modSPLR4"), QStringLiteral("Object variable not set"));
    EXPECT_EQ(e.text(), QStringLiteral("modSPLR4 91: Object variable not set"));
    e.appendSource(QStringLiteral("BuildXPathFromTreeView")).appendSource(QStringLiteral("AddSPLFile"));
    EXPECT_EQ(e.source(), QStringLiteral("modSPLR4 - BuildXPathFromTreeView - AddSPLFile"));
    EXPECT_STREQ(e.what(), "modSPLR4 - BuildXPathFromTreeView - AddSPLFile 91: Object variable not set");
}

TEST(VbErrorTest, ForeignExceptionsKeepTheirMessage)
{
    const VbError e = toVbError(std::runtime_error("disk full"), QStringLiteral("SaveLog"));
    EXPECT_EQ(e.source(), QStringLiteral("SaveLog"));
    EXPECT_EQ(e.description(), QStringLiteral("disk full"));
}

TEST(SkipTest, LaterStatementsRunAfterAFailingOneAndEachFailureIsLoggedWithItsPlace)
{
    veldra::test::ExpectSkippedErrors skipped;
    int ran = 0;
    EXPECT_FALSE(skip([] { throw VbError(1, "x", "y"); }));
    EXPECT_FALSE(skip([] { throw 42; }));
    EXPECT_TRUE(skip([&] { ++ran; }));
    EXPECT_EQ(ran, 1);
    ASSERT_EQ(skipped.messages().size(), 2);
    EXPECT_TRUE(skipped.messages()[0].startsWith("x 1: y - skipped in")) << skipped.messages()[0].toStdString();
    EXPECT_TRUE(skipped.messages()[0].contains("CoreTest.cpp")) << skipped.messages()[0].toStdString();
}

TEST(VbStringTest, TrimRemovesBlanksOnly)
{
    EXPECT_EQ(vbstr::trim(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    EXPECT_EQ(vbstr::trim(QStringLiteral("\t a \r\n")), QStringLiteral("\t a \r\n"));
    EXPECT_EQ(vbstr::ltrim(QStringLiteral("  x ")), QStringLiteral("x "));
    EXPECT_EQ(vbstr::rtrim(QStringLiteral("  x ")), QStringLiteral("  x"));
    EXPECT_EQ(vbstr::trim(QStringLiteral("   ")), QString());
}

TEST(VbStringTest, PathsSplitAtEitherSeparator)
{
    EXPECT_EQ(vbstr::folderOf(QStringLiteral("C:\\Labels\\a.xml")), QStringLiteral("C:\\Labels"));
    EXPECT_EQ(vbstr::fileNameOf(QStringLiteral("C:\\Labels\\a.xml")), QStringLiteral("a.xml"));
    EXPECT_EQ(vbstr::folderOf(QStringLiteral("/home/u/dir\\b.xml")), QStringLiteral("/home/u/dir"));
    EXPECT_EQ(vbstr::fileNameOf(QStringLiteral("plain.xml")), QStringLiteral("plain.xml"));
    EXPECT_EQ(vbstr::folderOf(QStringLiteral("plain.xml")), QString());
}

TEST(VbStringTest, NumericAcceptsSignsDecimalsExponentsAndBlanks)
{
    for (const char* yes : {"1", "-2", "+3.5", " 4 ", ".5", "6.", "1e3", "2.5E-2"})
        EXPECT_TRUE(vbstr::isNumeric(QString::fromLatin1(yes))) << yes;
    for (const char* no : {"", " ", "abc", "1,000x", "1e", "--1", "1.2.3"})
        EXPECT_FALSE(vbstr::isNumeric(QString::fromLatin1(no))) << no;
}

TEST(AppPathsTest, ProgramFolderCanBeRedirectedAndTakesBackslashNames)
{
    app_paths::setProgramFolderForTesting(QStringLiteral("/tmp/prog"));
    EXPECT_EQ(app_paths::inProgram(QStringLiteral("\\SPLR4Definitions\\Wizards.xml")),
              QStringLiteral("/tmp/prog/SPLR4Definitions/Wizards.xml"));
    app_paths::setProgramFolderForTesting(QString());
    EXPECT_NE(app_paths::programFolder(), QStringLiteral("/tmp/prog"));
}

TEST(RegularFileTest, TheLimitHoldsForTheBytesReadNotTheReportedSize)
{
    veldra::test::TempDir dir;
    const QString file = dir.file("hundred.txt");
    veldra::test::writeTextFile(file, QString(100, QLatin1Char('x')));
    const struct {
        QString path;
        qint64 limit;
        int errorCode;
    } cases[] = {
        {file, 100, 0},
        {file, 99, err::FileAccess},
        // The kernel reports a size of 0 for its own files, whatever they hold.
        {"/proc/self/status", 1 << 20, 0},
        {"/proc/self/status", 100, err::FileAccess},
        {"/dev/zero", 1 << 20, err::FileAccess},
        {dir.path(), 1 << 20, err::FileAccess},
        {dir.file("missing.txt"), 1 << 20, err::FileNotFound},
    };
    for (const auto& c : cases) {
        const FileContent content = readRegularFile(c.path, c.limit);
        EXPECT_EQ(content.errorCode, c.errorCode) << c.path.toStdString() << " " << c.limit;
        EXPECT_EQ(content.problem.contains(c.path), c.errorCode != 0) << content.problem.toStdString();
        EXPECT_EQ(content.bytes.size() > 90, content.ok());
    }
}
