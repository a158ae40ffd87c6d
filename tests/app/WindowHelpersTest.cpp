#include "app/Hooks.h"
#include "app/window/RememberedFolders.h"
#include "app/window/WindowHelpers.h"
#include "platform/core/AppPaths.h"
#include "platform/core/VbError.h"
#include "support/Fixtures.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTextEdit>
#include <QUrl>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace veldra;
using veldra::test::TempDir;

namespace {

// Remembered folders go to a settings folder of the test's own, never the user's.
class WindowHelpersFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store_.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, store_.path());
    }
    void TearDown() override
    {
        const QString standard = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, standard);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, standard);
    }
    TempDir store_;
};

QMimeData* dropOf(const QStringList& paths)
{
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls << (p.contains("://") ? QUrl(p) : QUrl::fromLocalFile(p));
    data->setUrls(urls);
    return data;
}

} // namespace

TEST_F(WindowHelpersFolders, FoldersRoundTripThroughTheSettingsStore)
{
    EXPECT_EQ(GetLastFolder("Excel"), "") << "a key never written reads empty";
    SaveLastFolder("Settings", "/data/labels/x.xml");
    SaveLastFolder("SPL", "C:\\Data\\x.xml");
    SaveLastFolder("SPLPreview", "C:\\x.xml");
    SaveLastFolder("Excel", "/x.xlsx");
    EXPECT_EQ(GetLastFolder("Settings"), "/data/labels");
    EXPECT_EQ(GetLastFolder("SPL"), "C:\\Data");
    EXPECT_EQ(GetLastFolder("SPLPreview"), "C:");
    EXPECT_EQ(GetLastFolder("Excel"), "/");

    SaveLastFolder("Settings", "x.xml");
    EXPECT_EQ(GetLastFolder("Settings"), "/data/labels") << "a bare file name stores nothing";

    // Kept under the application's names, section "FileIO", in the test's own store.
    const QString file = QStringLiteral("%1/%2/%3.conf")
                             .arg(store_.path(), QCoreApplication::organizationName(), QCoreApplication::applicationName());
    ASSERT_TRUE(QFile::exists(file));
    QSettings written(file, QSettings::IniFormat);
    EXPECT_EQ(written.value("FileIO/Settings").toString(), "/data/labels");
}

TEST(WindowHelpers, DroppedXmlFilesOpenInOrderAndOthersAreIgnored)
{
    veldra::test::ScriptedUi ui;
    TempDir dir;
    for (const char* name : {"a.XML", "b.txt", "c.xml", "xml.txt"})
        veldra::test::writeTextFile(dir.file(name), "<SPLR4/>");
    QDir(dir.path()).mkpath("folder.xml");
    QStringList opened;
    hooks().OpenSettingsDocument = [&](const QString& path) { opened << path; };

    std::unique_ptr<QMimeData> data(dropOf({dir.file("a.XML"), dir.file("b.txt"), dir.file("folder.xml"),
                                            "https://example.org/remote.xml", dir.file("xml.txt"), dir.file("c.xml")}));
    OpenDroppedXMLFiles(data.get());
    EXPECT_EQ(opened, (QStringList{dir.file("a.XML"), dir.file("c.xml")}));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(ui.pumps, 1);
    hooks().OpenSettingsDocument = nullptr;
}

TEST(WindowHelpers, AFailingDropStopsWithAMessage)
{
    veldra::test::ScriptedUi ui;
    TempDir dir;
    veldra::test::writeTextFile(dir.file("bad.xml"), "<a>");
    veldra::test::writeTextFile(dir.file("later.xml"), "<SPLR4/>");
    QFile::link(dir.file("nowhere.xml"), dir.file("dangling.xml"));
    QStringList opened;
    hooks().OpenSettingsDocument = [&](const QString& path) {
        if (path.endsWith("bad.xml"))
            throw VbError(1010, "LoadSettings", "not well-formed");
        opened << path;
    };

    std::unique_ptr<QMimeData> broken(dropOf({dir.file("bad.xml"), dir.file("later.xml")}));
    OpenDroppedXMLFiles(broken.get());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, "Cannot Load Drag Drop Data:\r\n\r\nLoadSettings 1010: not well-formed");
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(opened.isEmpty()) << "files after the failing one are not opened";

    std::unique_ptr<QMimeData> unreadable(dropOf({dir.file("dangling.xml")}));
    OpenDroppedXMLFiles(unreadable.get());
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_TRUE(ui.messages[1].text.startsWith("Cannot Load Drag Drop Data:\r\n\r\nOpenDroppedXMLFiles "));
    EXPECT_TRUE(opened.isEmpty());
    hooks().OpenSettingsDocument = nullptr;
}

TEST(WindowHelpers, LogoAndDialogAtThePointer)
{
    TempDir program;
    app_paths::setProgramFolderForTesting(program.path());
    QLabel logo;
    SetFormLogo(&logo);
    EXPECT_TRUE(logo.pixmap().isNull()) << "a missing logo file changes nothing";

    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    ASSERT_TRUE(image.save(program.file("Logo.jpg")));
    QWidget dialog;
    dialog.resize(200, 150);
    QCursor::setPos(30, 40);
    ShowFormAtCursor(&dialog, &logo);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(logo.pixmap().size(), QSize(40, 20));
    EXPECT_EQ(dialog.frameGeometry().topLeft(), QPoint(30, 40));

    // Near the bottom of the screen the dialog sits on the bottom edge.
    dialog.hide();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCursor::setPos(screen.right() - 10, screen.bottom() - 5);
    ShowFormAtCursor(&dialog, nullptr);
    EXPECT_EQ(dialog.frameGeometry().bottom(), screen.bottom());
    EXPECT_EQ(dialog.frameGeometry().left(), screen.right() - 10) << "the right edge is not checked";
    app_paths::setProgramFolderForTesting(QString());
}

TEST(WindowHelpers, DialogSizedByItsLayoutStillEndsAtTheScreensBottom)
{
    // A dialog that was never resized gets its layout's height only when shown; the
    // bottom check must already use that height.
    QWidget dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* tall = new QWidget;
    tall->setFixedSize(300, 400);
    layout->addWidget(tall);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCursor::setPos(screen.left() + 20, screen.bottom() - 100);
    ShowFormAtCursor(&dialog, nullptr);
    EXPECT_GE(dialog.height(), 400);
    EXPECT_EQ(dialog.frameGeometry().bottom(), screen.bottom());
}

TEST(WindowHelpers, SelectAllTextSelectsTheWholeText)
{
    QLineEdit line("search term");
    SelectAllText(&line);
    EXPECT_EQ(line.selectedText(), "search term");
    QTextEdit text;
    text.setPlainText("two\nlines");
    SelectAllText(&text);
    EXPECT_EQ(text.textCursor().selectionStart(), 0);
    EXPECT_EQ(text.textCursor().selectionEnd(), 9);
}
