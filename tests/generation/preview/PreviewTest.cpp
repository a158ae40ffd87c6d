#include "generation/CheckingTestSupport.h"

#include "app/log/Log.h"
#include "app/window/RememberedFolders.h"
#include "app/window/frmMain.h"
#include "generation/preview/PreviewFolder.h"
#include "generation/preview/PreviewSPLFile.h"
#include "generation/preview/PreviewSPLR4Document.h"
#include "generation/ProgramWindows.h"
#include "generation/preview/SPLRendering.h"
#include "generation/preview/StylesheetRewrite.h"
#include "generation/preview/frmPreview.h"
#include "generation/validation/OnlineValidation.h"
#include "generation/validation/frmValidate.h"
#include "platform/core/AppPaths.h"
#include "platform/core/VbError.h"
#include "platform/web/BrowserModule.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/resources/ResourceResolver.h"
#include "support/Fixtures.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTest>
#include <QTime>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/types.h>

using namespace veldra;

namespace {

const QString Viagra = QStringLiteral("spl-documents/openfda-viagra-rx-with-images");
const QString ViagraFile = QStringLiteral("64f8040f-938d-4236-8e22-c838c9b5f8da.xml");

QString settings(const QString& documentId, const QString& imageFolder, const QString& title)
{
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<SPLR4 Word2SPLID="k0">
  <GeneralData Word2SPLID="k1"><DocumentID Word2SPLID="k2">%1</DocumentID><Title Word2SPLID="k3">%3</Title><EffectiveTime Word2SPLID="k4">20240115</EffectiveTime></GeneralData>
  <ProductLabel Word2SPLID="k5"><WordDocument Word2SPLID="k6"><ImageTargetFolder Word2SPLID="k7">%2</ImageTargetFolder></WordDocument></ProductLabel>
</SPLR4>)")
        .arg(documentId, imageFolder, title);
}

QList<frmPreview*> previewWindows()
{
    QList<frmPreview*> windows;
    for (QWidget* window : programWindows())
        if (auto* preview = qobject_cast<frmPreview*>(window))
            windows << preview;
    return windows;
}

QString pageText(frmPreview* window)
{
    return window->WebBrowser->runScriptAndWait(QStringLiteral("document.body.innerText")).toString();
}

// True when the picture shows something besides white.
bool hasInk(const QImage& picture)
{
    for (int y = 0; y < picture.height(); y += 4)
        for (int x = 0; x < picture.width(); x += 4)
            if (picture.pixel(x, y) != qRgb(255, 255, 255))
                return true;
    return false;
}

QStringList fileNames(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

class PreviewTest : public test::CheckingTest {
protected:
    static void SetUpTestSuite() { test::prepareBrowserForTests(); }
    // The windows are painted only while the main window is shown.
    void SetUp() override { main->show(); }

    // The viagra label with its pictures, in a folder of the test's own.
    QString copyOfViagra() const
    {
        const QDir source(test::fixture(Viagra));
        QDir().mkpath(dir.file(QStringLiteral("viagra")));
        for (const QString& name : source.entryList(QDir::Files))
            QFile::copy(source.filePath(name), dir.file(QStringLiteral("viagra/") + name));
        return dir.file(QStringLiteral("viagra/") + ViagraFile);
    }

    // The quick previews' scratch folders are per user; the program folder stays as shipped.
    static QString previewFolder(const QString& name) { return app_paths::inUserData(QStringLiteral("Preview/") + name); }
};

TEST_F(PreviewTest, RewritePointsAtTheLocalStylesheetAndLeavesOtherFilesAlone)
{
    xml::Document spl;
    ASSERT_TRUE(spl.load(test::fixture(Viagra + QLatin1Char('/') + ViagraFile)));
    const QString rewritten = RewriteStylesheetReference(spl).xml();
    EXPECT_FALSE(rewritten.contains(OnlineStylesheetAddress()));
    EXPECT_TRUE(rewritten.contains(QStringLiteral("<?xml-stylesheet href=\"") + LocalStylesheetPath()));
    EXPECT_EQ(rewritten.size() - spl.xml().size(), LocalStylesheetPath().size() - OnlineStylesheetAddress().size());

    xml::Document https;
    ASSERT_TRUE(https.load(test::fixture(QStringLiteral(
        "spl-documents/openfda-pharm-class-indexing/4ad64379-4281-4d60-bf5f-655931ceba13.xml"))));
    EXPECT_EQ(RewriteStylesheetReference(https).xml(), https.xml());
}

TEST_F(PreviewTest, ALabelRendersThroughTheStylesheetWithoutWebResources)
{
    xml::Document spl;
    ASSERT_TRUE(spl.load(test::fixture(QStringLiteral("spl-documents/openfda-lipitor-rx/lipitor-orig.xml"))));

    const RenderedSPL page = RenderSPLDocument(RewriteStylesheetReference(spl));

    ASSERT_TRUE(page.ok()) << page.problem.toStdString();
    for (const char* title : {"INDICATIONS AND USAGE", "DOSAGE AND ADMINISTRATION", "PATIENT INFORMATION"})
        EXPECT_TRUE(page.html.contains(QLatin1String(title))) << title;
    EXPECT_TRUE(page.html.contains(QStringLiteral("spl-stylesheet-6.2/spl.css")));
    EXPECT_FALSE(page.html.contains(QStringLiteral("http://www.accessdata.fda.gov/spl/stylesheet/spl.css")));
}

// A file may name any stylesheet of the disk; it is rendered with the agency's all the same.
TEST_F(PreviewTest, ALabelIsRenderedWithTheAgencysStylesheetWhateverItsInstructionNames)
{
    const QString own = dir.file(QStringLiteral("own.xsl"));
    test::writeTextFile(own, QStringLiteral("<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
                                            "<xsl:template match=\"/\"><html>the file's own stylesheet</html></xsl:template>"
                                            "</xsl:stylesheet>"));
    QString text = test::readTextFile(test::fixture(QStringLiteral("spl-documents/openfda-lipitor-rx/lipitor-orig.xml")));
    text.replace(OnlineStylesheetAddress(), own);
    xml::Document spl;
    ASSERT_TRUE(spl.loadXml(text));
    ASSERT_TRUE(spl.xml().contains(own));

    const RenderedSPL page = RenderSPLDocument(spl);

    ASSERT_TRUE(page.ok()) << page.problem.toStdString();
    EXPECT_FALSE(page.html.contains(QStringLiteral("the file's own stylesheet")));
    EXPECT_TRUE(page.html.contains(QStringLiteral("INDICATIONS AND USAGE")));
}

TEST_F(PreviewTest, PreviewOfAFileShowsItInAWindowAndRemovesItsCopy)
{
    const QString label = copyOfViagra();
    const QString copy = dir.file(QStringLiteral("viagra/Preview_") + ViagraFile);
    ui.openFiles.push_back(label);
    QString copyDuringBox;
    ui.onMessage = [&](const ui::MessageRequest&) {
        if (QFile::exists(copy))
            copyDuringBox = test::readTextFile(copy);
    };

    PreviewSPLFile();

    EXPECT_EQ(ui.fileRequests.last().title, QStringLiteral("Preview SPL File"));
    EXPECT_EQ(GetLastFolder(QStringLiteral("SPLPreview")), dir.file(QStringLiteral("viagra")));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral(
        "The SPL Preview File has been generated in the same folder as your SPL File and is named with 'Preview_' "
        "prefix.\r\n\r\n")));
    EXPECT_TRUE(ui.messages[0].text.endsWith(QStringLiteral(
        "The Preview File will be automatically deleted, once you dismiss this Messagebox.\r\n\r\n")));
    // It says what this program does, not what a browser of another system would.
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("Veldra shows the SPL file in its Preview window")));
    for (const char* untrue : {"Internet Explorer", "same Computer or Domain"})
        EXPECT_FALSE(ui.messages[0].text.contains(QLatin1String(untrue))) << untrue;
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Information);
    EXPECT_TRUE(copyDuringBox.contains(LocalStylesheetPath()));
    EXPECT_FALSE(QFile::exists(copy));

    const QList<frmPreview*> windows = previewWindows();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(windows[0]->windowTitle().startsWith(QStringLiteral("Preview SPL ") + ViagraFile));
    EXPECT_TRUE(pageText(windows[0]).contains(QStringLiteral("INDICATIONS AND USAGE")));
    const QString loadedPictures = QStringLiteral("Array.from(document.images).filter(i => i.naturalWidth > 0).length");
    const int pictures = windows[0]->WebBrowser->runScriptAndWait(loadedPictures).toInt();
    EXPECT_GT(pictures, 0);

    // The browser paints a moment after loading; the screenshot goes into the test's own folder.
    windows[0]->resize(1000, 800);
    QImage screenshot;
    for (int attempt = 0; attempt < 50 && !hasInk(screenshot); ++attempt) {
        QTest::qWait(100);
        screenshot = windows[0]->grab().toImage();
    }
    EXPECT_TRUE(hasInk(screenshot));
    EXPECT_TRUE(screenshot.save(dir.file(QStringLiteral("preview-window.png"))));
}

TEST_F(PreviewTest, ThePreviewCopyNeverReplacesAFileOfTheUser)
{
    const QString label = copyOfViagra();
    const QString usersFile = dir.file(QStringLiteral("viagra/Preview_") + ViagraFile);
    test::writeTextFile(usersFile, QStringLiteral("mine"));
    const QString copy = dir.file(QStringLiteral("viagra/Preview_2_") + ViagraFile);
    bool copyDuringBox = false;
    ui.onMessage = [&](const ui::MessageRequest&) { copyDuringBox = QFile::exists(copy); };
    ui.openFiles.push_back(label);

    PreviewSPLFile();

    EXPECT_TRUE(copyDuringBox);
    EXPECT_FALSE(QFile::exists(copy));
    EXPECT_EQ(test::readTextFile(usersFile), QStringLiteral("mine"));
}

TEST_F(PreviewTest, AFileThatCannotBeReadIsReportedAndCancelDoesNothing)
{
    const QString broken = writeFile(QStringLiteral("broken.xml"), QStringLiteral("<document>"));
    ui.openFiles.push_back(broken);
    ui.openFiles.push_back(std::nullopt);

    PreviewSPLFile();
    PreviewSPLFile();

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(ui.messages[0].text.contains(broken));
    EXPECT_EQ(fileNames(dir.path()), QStringList{"broken.xml"});
    EXPECT_TRUE(previewWindows().isEmpty());
}

TEST_F(PreviewTest, WithoutTheStylesheetBothPreviewsSaySoInAMessageBox)
{
    const QString empty = dir.file(QStringLiteral("no-stylesheet"));
    QDir().mkpath(empty);
    xml::setLocalRootForTesting(xml::ResourceKind::Stylesheet, empty);
    const QString label = copyOfViagra();
    ui.openFiles.push_back(label);
    main->mnuShowLogging->setChecked(true);

    PreviewSPLFile();
    PreviewSPLR4Document(openEditor(settings(QStringLiteral("doc-1"), QString(), QStringLiteral("Title"))));

    ASSERT_EQ(ui.messages.size(), 2);
    for (const ui::MessageRequest& message : ui.messages) {
        EXPECT_EQ(message.icon, ui::Icon::Critical);
        EXPECT_TRUE(message.text.contains(QStringLiteral("The SPL stylesheet is not available"))) << message.text.toStdString();
        // Where the stylesheet belongs and what it consists of, for a user without network access.
        EXPECT_TRUE(message.text.contains(empty)) << message.text.toStdString();
        EXPECT_TRUE(message.text.contains(QStringLiteral("spl.xsl, spl-common.xsl")));
    }
    EXPECT_TRUE(logHas(QStringLiteral("Error"), QStringLiteral("Preview Rendering of SPL failed.")));
    EXPECT_FALSE(NoLogging);
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("viagra/Preview_") + ViagraFile)));
    EXPECT_TRUE(previewWindows().isEmpty());
}

// The image folder may be any folder (a home folder, one holding keys): only the pictures the
// page shows are copied, with their permissions, and nothing reached through a link.
TEST_F(PreviewTest, OnlyThePicturesThePageShowsAreCopiedAndKeepTheirPermissions)
{
    const QString images = dir.file(QStringLiteral("images"));
    const QString elsewhere = dir.file(QStringLiteral("elsewhere"));
    QDir().mkpath(images);
    QDir().mkpath(elsewhere);
    for (const char* name : {"shown.jpg", "private.PNG", "unshown.png", ".hidden.jpg", "id_rsa", "notes.txt"})
        test::writeTextFile(images + QLatin1Char('/') + QLatin1String(name), QStringLiteral("x"));
    QFile::setPermissions(images + QStringLiteral("/private.PNG"), QFile::ReadOwner | QFile::WriteOwner);
    test::writeTextFile(elsewhere + QStringLiteral("/secret.jpg"), QStringLiteral("secret"));
    QFile::link(elsewhere + QStringLiteral("/secret.jpg"), images + QStringLiteral("/link.jpg"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(images + QStringLiteral("/pipe.png")).constData(), 0600), 0);
    QDir().mkpath(images + QStringLiteral("/folder.gif"));
    QString media;
    for (const char* name : {"shown.jpg", "private.PNG", ".hidden.jpg", "id_rsa", "notes.txt", "link.jpg",
                             "../elsewhere/secret.jpg", "missing.jpg", "shown.jpg", "pipe.png", "folder.gif"})
        media += QStringLiteral("<component><observationMedia><value><reference value=\"%1\"/></value>"
                                "</observationMedia></component>").arg(QLatin1String(name));
    xml::Document spl;
    ASSERT_TRUE(spl.loadXml(QStringLiteral("<document xmlns=\"urn:hl7-org:v3\">%1</document>").arg(media)));
    const PreviewFolder preview = previewFolderFor(QStringLiteral("doc-1"));
    emptyPreviewFolder(preview);

    copyReferencedImages(preview, images, spl);

    EXPECT_EQ(fileNames(preview.folder), QStringList({"private.PNG", "shown.jpg"}));
    // What is not copied is named, and the page shows without it.
    for (const char* line : {"'link.jpg' in the folder '%1' is a symbolic link and is not copied",
                             "'pipe.png' in the folder '%1' is not a regular file and is not copied",
                             "'folder.gif' in the folder '%1' is not a regular file and is not copied",
                             "'missing.jpg' in the folder '%1' is missing"})
        EXPECT_TRUE(logHas(log_category::Warning, QStringLiteral("Image file ") + QString::fromLatin1(line).arg(images)
                                                      + QStringLiteral(": the preview shows the page without it.")))
            << line;
    EXPECT_EQ(QFile::permissions(preview.folder + QStringLiteral("/private.PNG")),
              QFile::permissions(images + QStringLiteral("/private.PNG")));
}

// A picture beside the file that is a symbolic link is not copied, and only that picture is
// missing from the page.
TEST_F(PreviewTest, APictureThatIsALinkIsLeftOutAndNamedAndThePageShows)
{
    const QString label = copyOfViagra();
    const QString linked = dir.file(QStringLiteral("viagra/viagra-01.jpg"));
    QFile::rename(linked, dir.file(QStringLiteral("elsewhere.jpg")));
    ASSERT_TRUE(QFile::link(dir.file(QStringLiteral("elsewhere.jpg")), linked));
    ui.openFiles.push_back(label);

    PreviewSPLFile();

    const QList<frmPreview*> windows = previewWindows();
    ASSERT_EQ(windows.size(), 1);
    const QStringList copied = fileNames(windows[0]->ownFolder());
    EXPECT_TRUE(copied.contains(QStringLiteral("viagra-02.jpg")));
    EXPECT_FALSE(copied.contains(QStringLiteral("viagra-01.jpg")));
    const QString loaded = QStringLiteral("Array.from(document.images).filter(i => i.naturalWidth > 0).length");
    EXPECT_GT(windows[0]->WebBrowser->runScriptAndWait(loaded).toInt(), 0);
    EXPECT_TRUE(logHas(log_category::Warning, QStringLiteral("Image file 'viagra-01.jpg' in the folder '%1' is a symbolic "
                                                             "link and is not copied: the preview shows the page without it.")
                                                  .arg(dir.file(QStringLiteral("viagra")))));
    for (const ui::MessageRequest& message : ui.messages)
        EXPECT_NE(message.icon, ui::Icon::Critical) << message.text.toStdString();
}

TEST_F(PreviewTest, QuickPreviewBuildsIntoTheDocumentsScratchFolderWithItsPictures)
{
    const QString images = dir.file(QStringLiteral("images"));
    QDir().mkpath(images + QStringLiteral("/sub"));
    for (const char* name : {"a.jpg", "b.png", "c.xml", "d.XML", "sub/e.jpg"})
        test::writeTextFile(images + QLatin1Char('/') + QLatin1String(name), QStringLiteral("x"));
    QDir().mkpath(previewFolder(QStringLiteral("doc-1")));
    test::writeTextFile(previewFolder(QStringLiteral("doc-1/old.txt")), QStringLiteral("old"));
    frmXMLEditor* editor = openEditor(settings(QStringLiteral("doc-1"), images, QStringLiteral("Quick Preview Title")));

    PreviewSPLR4Document(editor);

    // The built file shows no pictures: none of the image folder is copied. The page lies
    // beside the built file.
    EXPECT_EQ(fileNames(previewFolder(QStringLiteral("doc-1"))), QStringList({"doc-1.xml", "preview.html"}));
    EXPECT_FALSE(QFileInfo::exists(program.file(QStringLiteral("Preview/doc-1"))));
    EXPECT_TRUE(test::readTextFile(previewFolder(QStringLiteral("doc-1/doc-1.xml"))).contains(LocalStylesheetPath()));
    const QList<frmPreview*> windows = previewWindows();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows[0]->SourceXMLEditor, editor);
    EXPECT_TRUE(windows[0]->windowTitle().startsWith(QStringLiteral("Preview SPL [Settings.xml] ")));
    EXPECT_TRUE(pageText(windows[0]).contains(QStringLiteral("Quick Preview Title")));
    EXPECT_FALSE(NoLogging);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(PreviewTest, AnEditorsPreviewWindowIsReusedAtItsScrollPosition)
{
    const QString longTitle = QStringLiteral("Quick Preview Title ") + QStringLiteral("many words ").repeated(600);
    frmXMLEditor* first = openEditor(settings(QStringLiteral("doc-1"), QString(), longTitle), QStringLiteral("First.xml"));
    PreviewSPLR4Document(first);
    ASSERT_EQ(previewWindows().size(), 1);
    frmPreview* window = previewWindows()[0];
    window->resize(400, 300);
    QCoreApplication::processEvents();
    window->scrollTo(0, 120);
    const int scrolled = window->scrollTop();
    ASSERT_GT(scrolled, 0);
    window->setWindowTitle(QStringLiteral("old caption"));

    PreviewSPLR4Document(first);

    ASSERT_EQ(previewWindows().size(), 1);
    EXPECT_EQ(previewWindows()[0], window);
    EXPECT_EQ(window->scrollTop(), scrolled);
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Preview SPL [First.xml] ")));

    frmXMLEditor* second = openEditor(settings(QStringLiteral("doc-2"), QString(), QStringLiteral("Second")),
                                      QStringLiteral("Second.xml"));
    PreviewSPLR4Document(second);
    EXPECT_EQ(previewWindows().size(), 2);
}

// A preview's page is shown by a process of the browser engine's own. When that process dies,
// the user is told, and the program, the editor and its document carry on: the next preview
// shows the page again.
TEST_F(PreviewTest, APageProcessThatDiesIsAMessageAndTheNextPreviewShowsThePageAgain)
{
    frmXMLEditor* editor = openEditor(settings(QStringLiteral("doc-1"), QString(), QStringLiteral("Quick Preview Title")));
    PreviewSPLR4Document(editor);
    ASSERT_EQ(previewWindows().size(), 1);
    frmPreview* window = previewWindows()[0];
    const qint64 pagePid = window->WebBrowser->pageProcessId();
    ASSERT_GT(pagePid, 0);
    ui.messages.clear();

    ASSERT_EQ(::kill(pid_t(pagePid), SIGKILL), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ui.messages.isEmpty(); }, 20000));

    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("The browser engine's page process ")));
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("the page cannot be shown")));
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(editor->isVisible());
    ASSERT_NE(editor->XMLDoc, nullptr);

    PreviewSPLR4Document(editor);
    ASSERT_EQ(previewWindows().size(), 1);
    EXPECT_TRUE(pageText(previewWindows()[0]).contains(QStringLiteral("Quick Preview Title")));
    EXPECT_EQ(ui.messages.size(), 1);
}

TEST_F(PreviewTest, LoggingFollowsTheMenuAfterAPreviewAlsoAfterAFailure)
{
    frmXMLEditor* editor = openEditor(settings(QStringLiteral("doc-1"), QString(), QStringLiteral("Title")));
    main->mnuShowLogging->setChecked(false);
    PreviewSPLR4Document(editor);
    EXPECT_TRUE(NoLogging);
    EXPECT_EQ(logText(), QString());

    // Without its template the build writes no SPL file, and the preview fails.
    QFile::remove(program.file(QStringLiteral("SPLR4Definitions/TemplateSPLR4_FDA_DrugProduct.xml")));
    PreviewSPLR4Document(editor);
    EXPECT_TRUE(NoLogging);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("PreviewSPLQuick  - ")));
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("TemplateSPLR4_FDA_DrugProduct.xml")))
        << ui.messages[0].text.toStdString();
    EXPECT_TRUE(ui.messages[0].text.endsWith(QStringLiteral("Preview Rendering of SPL failed.")));

    main->mnuShowLogging->setChecked(true);
    PreviewSPLR4Document(editor);
    EXPECT_FALSE(NoLogging);
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(logText().contains(QStringLiteral("Error          PreviewSPLQuick  - ")));
    EXPECT_TRUE(logHas(QStringLiteral("Error"), QStringLiteral("Preview Rendering of SPL failed.")));
}

TEST_F(PreviewTest, UnsafeDocumentIdsKeepThePreviewInsideItsScratchFolder)
{
    EXPECT_EQ(previewFolderFor(QStringLiteral("3f2a9c1e-0b7d-4e5f-8a6b-1c2d3e4f5a6b")).name,
              QStringLiteral("3f2a9c1e-0b7d-4e5f-8a6b-1c2d3e4f5a6b"));
    EXPECT_EQ(previewFolderFor(QString()).name, QStringLiteral("NoDocumentID"));
    EXPECT_EQ(previewFolderFor(QStringLiteral("..")).name, QStringLiteral("NoDocumentID"));
    EXPECT_EQ(previewFolderFor(QStringLiteral("../../x")).name, QStringLiteral(".._.._x"));
    EXPECT_NE(previewFolderFor(QStringLiteral("spl-stylesheet-6.2")).name, QStringLiteral("spl-stylesheet-6.2"));

    program.write(QStringLiteral("Preview/keep.txt"), QStringLiteral("keep"));
    program.write(QStringLiteral("keep.txt"), QStringLiteral("keep"));
    QDir().mkpath(previewFolder(QString()));
    test::writeTextFile(previewFolder(QStringLiteral("keep.txt")), QStringLiteral("keep"));
    program.write(QStringLiteral("Preview/spl-stylesheet-6.2/keep.txt"), QStringLiteral("keep"));
    for (const QString& id : {QString(), QStringLiteral(".."), QStringLiteral("../.."), QStringLiteral("spl-stylesheet-6.2")}) {
        frmXMLEditor* editor = openEditor(settings(id, QString(), QStringLiteral("Title")));
        PreviewSPLR4Document(editor);
    }
    for (const char* kept : {"Preview/keep.txt", "keep.txt", "Preview/spl-stylesheet-6.2/keep.txt"})
        EXPECT_TRUE(QFile::exists(program.file(QLatin1String(kept)))) << kept;
    EXPECT_TRUE(QFile::exists(previewFolder(QStringLiteral("keep.txt"))));
    EXPECT_TRUE(QFile::exists(previewFolder(QStringLiteral("NoDocumentID/NoDocumentID.xml"))));
}

TEST_F(PreviewTest, AReviewWindowHasNoSettingsDocumentToPreview)
{
    frmXMLEditor* editor = openEditor(QStringLiteral("<anything/>"), QStringLiteral("Review.xml"), QStringLiteral("View"));

    PreviewSPLR4Document(editor);

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Warning);
    EXPECT_TRUE(previewWindows().isEmpty());
    EXPECT_FALSE(NoLogging);
}

// The browser engine is a module loaded when a window first needs it. A module that cannot be
// loaded (missing, or a file that is no module) is a message naming it from every command that
// shows pages, and no window opens; once the module is back, the next preview shows its page.
TEST_F(PreviewTest, ABrowserModuleThatCannotBeLoadedIsAMessageAndNoWindow)
{
    struct ModuleRestored {
        ~ModuleRestored()
        {
            web::setBrowserModuleForTesting({});
            setValidatorAddressForTesting({});
        }
    } restored;
    // No connection is made: the window fails before it asks for the page.
    setValidatorAddressForTesting(QUrl(QStringLiteral("http://127.0.0.1:9/")));
    frmXMLEditor* editor = openEditor(settings(QStringLiteral("doc-1"), QString(), QStringLiteral("Module Title")));
    const QString notAModule = writeFile(QStringLiteral("not-a-module.so"), QStringLiteral("no code"));
    for (const QString& module : {dir.file(QStringLiteral("missing.so")), notAModule}) {
        SCOPED_TRACE(module.toStdString());
        web::setBrowserModuleForTesting(module);
        ui.messages.clear();
        ui.openFiles.push_back(copyOfViagra());

        PreviewSPLFile();
        ValidateOnline();
        PreviewSPLR4Document(editor);

        ASSERT_EQ(ui.messages.size(), 2);
        for (const ui::MessageRequest& message : ui.messages) {
            EXPECT_TRUE(message.text.contains(QStringLiteral("The browser engine's module ") + module)) << message.text.toStdString();
            EXPECT_EQ(message.icon, ui::Icon::Critical);
        }
        EXPECT_TRUE(logText().contains(QStringLiteral("The browser engine's module ") + module));
        EXPECT_TRUE(previewWindows().isEmpty());
        for (QWidget* window : programWindows())
            EXPECT_EQ(qobject_cast<frmValidate*>(window), nullptr);
        EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("viagra/Preview_") + ViagraFile)));
        EXPECT_TRUE(editor->isVisible());
    }

    web::setBrowserModuleForTesting({});
    PreviewSPLR4Document(editor);
    ASSERT_EQ(previewWindows().size(), 1);
    EXPECT_TRUE(pageText(previewWindows()[0]).contains(QStringLiteral("Module Title")));
}

} // namespace
