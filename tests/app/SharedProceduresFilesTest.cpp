#include "app/shared/SharedProcedures.h"
#include "platform/core/VbError.h"
#include "support/Fixtures.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QWidget>
#include <gtest/gtest.h>

using namespace veldra;
using veldra::test::TempDir;
using veldra::test::readTextFile;
using veldra::test::writeTextFile;

TEST(SharedProceduresFiles, ReadFileLinesAppendsTheNonEmptyLines)
{
    TempDir dir;
    QFile file(dir.file("lines.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("first\r\n\r\nsecond \n\n\xc3\xa9t\xc3\xa9\n");
    file.close();

    QStringList lines = {"kept"};
    int count = 1;
    ReadFileLines(dir.file("lines.txt"), lines, count);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(lines, (QStringList{"kept", "first", "second ", QString::fromUtf8("\u00e9t\u00e9")}));

    // A file written in the Western Windows code page rather than in UTF-8.
    QFile windows(dir.file("windows.txt"));
    ASSERT_TRUE(windows.open(QIODevice::WriteOnly));
    windows.write("Caf\xe9\r\n\x93quoted\x94\r\n");
    windows.close();
    QStringList windowsLines;
    int windowsCount = 0;
    ReadFileLines(dir.file("windows.txt"), windowsLines, windowsCount);
    EXPECT_EQ(windowsLines, (QStringList{QString::fromUtf8("Caf\u00e9"), QString::fromUtf8("\u201cquoted\u201d")}));

    EXPECT_THROW(ReadFileLines(dir.file("missing.txt"), lines, count), VbError);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(lines.size(), 4);
}

TEST(SharedProceduresFiles, FindFilesListsMatchingFilesOfOneFolderOnly)
{
    TempDir dir;
    writeTextFile(dir.file("b.xml"), "");
    writeTextFile(dir.file("A.XML"), "");
    writeTextFile(dir.file("c.txt"), "");
    QDir(dir.path()).mkpath("sub.xml");
    writeTextFile(dir.file("sub.xml/inner.xml"), "");

    QString folder = dir.path();
    int count = 99;
    QStringList files = {"stale"};
    const QStringList found = FindFiles(folder, "*.xml", count, files);
    EXPECT_EQ(folder, dir.path() + "/");
    EXPECT_EQ(count, 2);
    EXPECT_EQ(files, (QStringList{folder + "A.XML", folder + "b.xml"}));
    EXPECT_EQ(found, files);

    QString missing = dir.file("nowhere");
    FindFiles(missing, "*.xml", count, files);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(files.isEmpty());
}

TEST(SharedProceduresFiles, PrepareOutputFolderEmptiesImagesAndXmlOnly)
{
    TempDir dir;
    const QString out = dir.file("Out");
    QDir().mkpath(out + "/keep");
    for (const char* name : {"old.xml", "pic.JPG", "label.docx", "notes.txt", "keep/inner.jpg"})
        writeTextFile(out + "/" + name, "x");

    EXPECT_EQ(PrepareOutputFolder("C:\\Labels\\Drug.v2.docx", out), out + "/Drug.v2.xml");
    EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name), (QStringList{"label.docx", "notes.txt"}));
    EXPECT_TRUE(QFile::exists(out + "/keep/inner.jpg"));

    EXPECT_EQ(PrepareOutputFolder("/labels/Drug.docx", dir.file("New") + "/"), dir.file("New") + "/Drug.xml");
    EXPECT_TRUE(QDir(dir.file("New")).exists());

    // A source name without "." fails before anything is deleted.
    writeTextFile(out + "/kept.xml", "x");
    EXPECT_THROW(PrepareOutputFolder("/labels/README", out), VbError);
    EXPECT_TRUE(QFile::exists(out + "/kept.xml"));
    EXPECT_THROW(PrepareOutputFolder("/labels/Drug.docx", ""), VbError);
}

TEST(SharedProceduresFiles, InstallLoincDatabaseFileCopiesAndReports)
{
    veldra::test::ProgramFolderCopy program;
    veldra::test::ScriptedUi ui;
    TempDir dir;
    writeTextFile(dir.file("new.mdb"), "database v2");
    writeTextFile(dir.file("newer.mdb"), "database v3");

    InstallLoincDatabaseFile(dir.file("new.mdb"));
    EXPECT_EQ(readTextFile(program.file("LOINC/LOINCDB.mdb")), "database v2");
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, "LOINC Database successfully installed.");
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Information);

    InstallLoincDatabaseFile(dir.file("newer.mdb"));
    EXPECT_EQ(readTextFile(program.file("LOINC/LOINCDB.mdb")), "database v3") << "an existing copy is replaced";

    InstallLoincDatabaseFile(dir.file("missing.mdb"));
    ASSERT_EQ(ui.messages.size(), 3);
    EXPECT_EQ(ui.messages[2].icon, ui::Icon::Critical);
    EXPECT_TRUE(ui.messages[2].text.startsWith("InstallLoincDatabaseFile "));
    EXPECT_EQ(readTextFile(program.file("LOINC/LOINCDB.mdb")), "database v3");

    // A device would be copied until the disk is full.
    InstallLoincDatabaseFile("/dev/zero");
    ASSERT_EQ(ui.messages.size(), 4);
    EXPECT_EQ(ui.messages[3].icon, ui::Icon::Critical);
    EXPECT_EQ(readTextFile(program.file("LOINC/LOINCDB.mdb")), "database v3");
}

TEST(SharedProceduresFiles, SetWindowOnTopKeepsPlaceAndSize)
{
    veldra::test::ScriptedUi ui;
    QWidget window;
    window.setGeometry(120, 140, 300, 200);
    window.show();
    const QRect before = window.geometry();
    SetWindowOnTop(&window, true);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), before);
    EXPECT_EQ(ui.pumps, 2);
    SetWindowOnTop(&window, false);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowStaysOnTopHint);
}
