#include "platform/core/AppPaths.h"
#include "platform/core/FileSave.h"
#include "platform/core/InputScan.h"
#include "platform/core/RegularFile.h"
#include "platform/core/Skip.h"
#include "platform/core/VbError.h"
#include "platform/core/VbString.h"
#include "support/DiskFull.h"
#include "support/Fixtures.h"
#include "support/SkippedErrors.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <sys/stat.h>

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

// Markup inside quoted values counts for nothing: a quoted ">" ends neither a start tag nor a
// document type, a quoted "=" is no attribute, and a quoted "[" opens no internal subset (a
// declaration in one is refused whatever it holds).
TEST(InputScanTest, QuotedMarkupIsNotCounted)
{
    const struct {
        const char* input;
        bool refused;  // with room for two elements and attributes
    } cases[] = {
        {"<a b='1' c='2'/>", true},
        {"<a b='>' c='1'/>", true},
        {"<a b='==='/>", false},
        {"<!DOCTYPE a SYSTEM \"x><b c='1' d='2'/>\"><a/>", false},
        {"<!DOCTYPE a [<!ENTITY e \"[\">]><a b='1' c='2'/>", true},
        {"<!DOCTYPE a PUBLIC \"[\" \"]><b c='1' d='2'/>\"><a/>", false},
        {"<!DOCTYPE a [<!ENTITY e \"]><b c='1' d='2'/>\">]><a/>", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(refuseBeforeParsing(QByteArray(c.input), {2}).has_value(), c.refused) << c.input;
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

// A save target in a folder of its own, and a file of the user's elsewhere that a link put in
// the target's place may name.
struct SaveScene {
    veldra::test::TempDir dir;
    veldra::test::TempDir other;
    QString target = dir.file("saved.txt");
    QString elsewhere = other.file("secret.txt");
    SaveScene() { veldra::test::writeTextFile(elsewhere, "secret"); }
};

// A save replaces a regular file or writes a new name; anything else is refused with the
// reason, and every failure leaves what was there as it was, with no temporary file behind.
TEST(SaveReplacingTest, OnlyARegularWritableFileIsReplacedAndAFailureKeepsWhatWasThere)
{
    using veldra::test::readTextFile;
    using veldra::test::writeTextFile;
    const QByteArray large(1 << 20, 'n');
    const struct {
        const char* name;
        std::function<void(const QString& target, const QString& elsewhere)> prepare;
        QByteArray bytes;
        QString problem;  // "" when saved
    } cases[] = {
        {"a new name", [](const QString&, const QString&) {}, "new", ""},
        {"a former file", [](const QString& target, const QString&) { writeTextFile(target, "former"); }, "new", ""},
        {"a link to a file elsewhere",
         [](const QString& target, const QString& elsewhere) { QFile::link(elsewhere, target); }, "new",
         "it is a symbolic link, not a file"},
        {"a link to nothing yet",
         [](const QString& target, const QString& elsewhere) { QFile::link(elsewhere + ".new", target); }, "new",
         "it is a symbolic link whose target is missing"},
        {"a link through a file as if it were a folder",
         [](const QString& target, const QString& elsewhere) { QFile::link(elsewhere + "/inside", target); }, "new",
         "it is a symbolic link whose target is missing"},
        {"links in a loop",
         [](const QString& target, const QString&) {
             QFile::link(target + ".other", target);
             QFile::link(target, target + ".other");
         },
         "new", "it is a symbolic link in a loop of links"},
        {"a pipe", [](const QString& target, const QString&) { ::mkfifo(QFile::encodeName(target).constData(), 0600); },
         "new", "a pipe"},
        {"a folder", [](const QString& target, const QString&) { QDir().mkdir(target); }, "new", "a folder"},
        // Read-only binds the superuser too: the user marked the file so that it is kept.
        {"a read-only file",
         [](const QString& target, const QString&) {
             writeTextFile(target, "former");
             QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup);
         },
         "new", "read-only"},
        {"a full disk", [](const QString& target, const QString&) { writeTextFile(target, "former"); }, large,
         QString::fromLocal8Bit(std::strerror(EFBIG))},
        // The disk fills at the very last byte: every write but the tail of the last one went in.
        {"a disk full at the last byte", [](const QString& target, const QString&) { writeTextFile(target, "former"); },
         QByteArray(64 * 1024 + 1, 'n'), QString::fromLocal8Bit(std::strerror(EFBIG))},
        {"a disk that holds the last byte", [](const QString& target, const QString&) { writeTextFile(target, "former"); },
         QByteArray(64 * 1024, 'n'), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SaveScene scene;
        const veldra::test::TempDir& dir = scene.dir;
        const QString& target = scene.target;
        const QString& elsewhere = scene.elsewhere;
        c.prepare(target, elsewhere);
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
        const QString formerText = QFileInfo(target).isFile() && !QFileInfo(target).isSymLink() ? readTextFile(target) : QString();

        QString problem;
        {
            const veldra::test::DiskFullAfter limit(64 * 1024);
            problem = saveReplacing(target, c.bytes);
        }

        EXPECT_EQ(readTextFile(elsewhere), "secret");
        EXPECT_FALSE(QFileInfo::exists(elsewhere + ".new"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                  c.problem.isEmpty() ? QStringList{"saved.txt"} : before);
        if (c.problem.isEmpty()) {
            EXPECT_EQ(problem, QString());
            EXPECT_EQ(readTextFile(target), QString::fromLatin1(c.bytes));
            continue;
        }
        EXPECT_TRUE(problem.contains(c.problem)) << problem.toStdString();
        if (!formerText.isEmpty()) {
            EXPECT_EQ(readTextFile(target), formerText);
        }
    }
}

// The last step of a save fails after every write before it succeeded: the rename over the
// target, which a folder took meanwhile. That is a failure, told with its reason, and no
// temporary file stays behind.
TEST(SaveReplacingTest, ALastStepThatFailsAfterEveryWriteIsAFailure)
{
    for (const bool former : {false, true}) {
        SCOPED_TRACE(former ? "over a former file" : "a new name");
        veldra::test::TempDir dir;
        const QString target = dir.file("saved.txt");
        if (former)
            veldra::test::writeTextFile(target, "former");
        ReplacingFile file(target);
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.write("new"));
        QFile::remove(target);
        ASSERT_TRUE(QDir().mkdir(target));

        EXPECT_FALSE(file.commit());

        EXPECT_FALSE(file.problem().isEmpty());
        EXPECT_TRUE(QFileInfo(target).isDir());
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden),
                  QStringList{"saved.txt"});
    }
}

// A link the user chose to replace is replaced itself, wherever it leads: what it names is
// never written, and nothing but the new file is left beside it.
TEST(SaveReplacingTest, ALinkChosenToBeReplacedIsReplacedNeverFollowed)
{
    using veldra::test::readTextFile;
    const struct {
        const char* name;
        std::function<void(const QString& target, const QString& elsewhere)> prepare;
    } cases[] = {
        {"a link to a file elsewhere", [](const QString& target, const QString& elsewhere) { QFile::link(elsewhere, target); }},
        {"a link to nothing", [](const QString& target, const QString& elsewhere) { QFile::link(elsewhere + ".new", target); }},
        {"a link to a folder", [](const QString& target, const QString& elsewhere) { QFile::link(QFileInfo(elsewhere).path(), target); }},
        {"a former file", [](const QString& target, const QString&) { veldra::test::writeTextFile(target, "former"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SaveScene scene;
        const veldra::test::TempDir& dir = scene.dir;
        const veldra::test::TempDir& other = scene.other;
        const QString& target = scene.target;
        const QString& elsewhere = scene.elsewhere;
        c.prepare(target, elsewhere);

        EXPECT_EQ(saveReplacingLink(target, "new"), QString());

        EXPECT_FALSE(QFileInfo(target).isSymLink());
        EXPECT_EQ(readTextFile(target), "new");
        EXPECT_EQ(readTextFile(elsewhere), "secret");
        EXPECT_EQ(QDir(other.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), QStringList{"secret.txt"});
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden),
                  QStringList{"saved.txt"});
    }
}
