// Merging the sections and media of a real SPL file into a built SPL.
#include "generation/BuildTestSupport.h"

#include "generation/building/AddSPLFromFile.h"
#include "generation/building/MediaFileCheck.h"
#include "platform/core/VbError.h"
#include "support/Fixtures.h"
#include "support/HostileValues.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace veldra;
using namespace veldra::test;

namespace {

const QString viagraFolder = QStringLiteral("spl-documents/openfda-viagra-rx-with-images/");
const QString viagraFile = QStringLiteral("64f8040f-938d-4236-8e22-c838c9b5f8da.xml");

const QString targetText = QStringLiteral(
    "<document xmlns=\"urn:hl7-org:v3\"><id root=\"ABCDEF01-0000-0000-0000-00000000000A\"/>"
    "<component><structuredBody>"
    "<component><section><id root=\"ABCDEF01-0000-0000-0000-00000000000B\"/><title>First</title></section></component>"
    "<component><section><title>Last</title></section></component>"
    "</structuredBody></component></document>");

class AddSPLFromFileTest : public BuildLogTest {
protected:
    // The real label with its images, changed so that MM1 is referenced by nothing, MM2 names
    // a file outside its folder, and MM3 names an absolute file and is referenced by nothing.
    void SetUp() override
    {
        BuildLogTest::SetUp();
        for (const QString& image : QDir(fixture(viagraFolder)).entryList({"*.jpg"}))
            QFile::copy(fixture(viagraFolder + image), source.file(image));
        writeTextFile(outside.file("keep.jpg"), "not the merge's to delete");
        QString text = readTextFile(fixture(viagraFolder + viagraFile));
        text.replace("<renderMultiMedia referencedObject=\"MM1\"/>", "");
        text.replace("<renderMultiMedia referencedObject=\"MM3\"/>", "");
        text.replace("<reference value=\"viagra-02.jpg\"/>", "<reference value=\"../viagra-02.jpg\"/>");
        text.replace("<reference value=\"viagra-03.jpg\"/>", "<reference value=\"" + outside.file("keep.jpg") + "\"/>");
        writeTextFile(source.file("label.xml"), text);
    }

    xml::Node mergeElement(const QString& fileName, const QString& omissions = {})
    {
        settings = documentFrom(QStringLiteral("<SPLR4><ProductLabel><ProductLabelFromExistingSPL><SPLFileName>%1</SPLFileName>"
                                           "<OmitSections>%2</OmitSections></ProductLabelFromExistingSPL></ProductLabel></SPLR4>")
                                .arg(fileName, omissions));
        return settings.selectSingleNode("//ProductLabelFromExistingSPL");
    }

    static QStringList sectionNames(const xml::Document& doc)
    {
        QStringList names;
        for (const xml::Node& section : doc.selectNodes("document/component/structuredBody/component/section")) {
            const xml::Node code = section.selectSingleNode("code");
            names << (code.isNull() ? section.selectSingleNode("title").text() : code.getAttribute("displayName"));
        }
        return names;
    }

    TempDir source;
    TempDir out;
    TempDir outside;
    xml::Document settings;
};

TEST_F(AddSPLFromFileTest, SectionsAndMediaOfTheFileJoinTheBuiltSPL)
{
    const xml::Document target = documentFrom(targetText);
    AddSPLFromFile(mergeElement(source.file("label.xml"),
                                "<SectionName>spl product data elements section</SectionName>"
                                "<SectionName>DOSAGE &amp;&#13;&#10; ADMINISTRATION SECTION</SectionName>"),
                   target, out.file("built.xml"));

    const QStringList names = sectionNames(target);
    ASSERT_EQ(names.size(), 22);
    EXPECT_EQ(names.first(), "First");
    EXPECT_EQ(names[1], "RECENT MAJOR CHANGES SECTION");
    EXPECT_EQ(names[2], "INDICATIONS & USAGE SECTION");
    EXPECT_EQ(names[3], "DOSAGE FORMS & STRENGTHS SECTION");
    EXPECT_EQ(names.last(), "Last");
    EXPECT_EQ(logCount("Load Section"), 20);
    EXPECT_TRUE(logHas("Omit Section", "SPL PRODUCT DATA ELEMENTS SECTION"));
    EXPECT_TRUE(logHas("Omit Section", "DOSAGE & ADMINISTRATION SECTION"));

    // All media now stand at the end of the first section; the unreferenced ones are gone.
    const xml::Node first = target.selectSingleNode("document/component/structuredBody/component/section");
    EXPECT_EQ(first.selectNodes("component/observationMedia").length(), 11);
    EXPECT_EQ(first.lastChild().selectSingleNode("observationMedia").getAttribute("ID"), "MM13");
    EXPECT_TRUE(target.selectSingleNode("//observationMedia[@ID='MM1']").isNull());
    EXPECT_TRUE(target.selectSingleNode("//observationMedia[@ID='MM3']").isNull());
    EXPECT_EQ(target.selectNodes("//observationMedia").length(), 11);
    EXPECT_TRUE(logHas("Processing", "Multi Media Element has no references, removing: viagra-01.jpg"));

    // Files: copied beside the built SPL, except the unreferenced one and those not in the
    // source folder, which are reported and left alone.
    const QStringList copied = QDir(out.path()).entryList({"*.jpg"});
    EXPECT_EQ(copied.size(), 10);
    EXPECT_FALSE(copied.contains("viagra-01.jpg"));
    EXPECT_FALSE(copied.contains("viagra-02.jpg"));
    EXPECT_TRUE(QFileInfo::exists(outside.file("keep.jpg")));
    EXPECT_TRUE(QFileInfo::exists(source.file("viagra-01.jpg")));
    EXPECT_TRUE(logText().contains("left alone: ../viagra-02.jpg"));
    // The absolute name of the unreferenced MM3 is refused by the copy, and again by the
    // removal of the unreferenced media's files.
    EXPECT_EQ(logCount("left alone: " + outside.file("keep.jpg")), 2);

    for (const xml::Node& id : target.selectNodes("//id[@root]"))
        EXPECT_EQ(id.getAttribute("root"), id.getAttribute("root").toLower());
    EXPECT_TRUE(logHas("Information", "Finished adding SPL from File: " + source.file("label.xml")));
}

// The IDs of the media are the file's: an ID holding quotes and query text is compared as one
// text, so the referenced picture MM4 stays with its file and the unreferenced MM1 goes.
TEST_F(AddSPLFromFileTest, MediaIdsHoldingQuotesAndQueryTextAreComparedAsOneText)
{
    const QString label = readTextFile(source.file("label.xml"));
    for (const QString& hostile : hostileQueryValues()) {
        SCOPED_TRACE(hostile.toStdString());
        const QString referenced = "4-" + hostile;
        const QString unreferenced = "1-" + hostile;
        writeTextFile(source.file("hostile.xml"), QString(label)
                                                      .replace("ID=\"MM4\"", "ID=\"" + referenced.toHtmlEscaped() + "\"")
                                                      .replace("referencedObject=\"MM4\"", "referencedObject=\"" + referenced.toHtmlEscaped() + "\"")
                                                      .replace("ID=\"MM1\"", "ID=\"" + unreferenced.toHtmlEscaped() + "\""));
        const TempDir built;
        const xml::Document target = documentFrom(targetText);
        AddSPLFromFile(mergeElement(source.file("hostile.xml")), target, built.file("built.xml"));

        QStringList ids;
        for (const xml::Node& media : target.selectNodes("//observationMedia"))
            ids << media.getAttribute("ID");
        EXPECT_EQ(ids.size(), 11);
        EXPECT_TRUE(ids.contains(referenced));
        EXPECT_FALSE(ids.contains(unreferenced));
        EXPECT_TRUE(QFileInfo::exists(built.file("viagra-04.jpg")));
        EXPECT_FALSE(QFileInfo::exists(built.file("viagra-01.jpg")));
    }
}

// The output folder may already hold files of the user's; either folder may hold links.
TEST_F(AddSPLFromFileTest, FilesOfTheOutputFolderAreNeverDeletedAndLinksAreNeverFollowed)
{
    writeTextFile(out.file("viagra-01.jpg"), "the user's own picture");  // named by the unreferenced MM1
    writeTextFile(outside.file("secret"), "private");
    QFile::remove(source.file("viagra-04.jpg"));
    ASSERT_TRUE(QFile::link(outside.file("secret"), source.file("viagra-04.jpg")));
    writeTextFile(outside.file("elsewhere"), "not the copy's to write");
    ASSERT_TRUE(QFile::link(outside.file("elsewhere"), out.file("viagra-06.jpg")));

    AddSPLFromFile(mergeElement(source.file("label.xml")), documentFrom(targetText), out.file("built.xml"));

    EXPECT_TRUE(QFileInfo::exists(out.file("viagra-01.jpg")));
    EXPECT_FALSE(QFileInfo::exists(out.file("viagra-04.jpg")));
    EXPECT_TRUE(logText().contains("viagra-04.jpg is a symbolic link and is not copied."));
    EXPECT_TRUE(QFileInfo::exists(out.file("viagra-05.jpg")));
    EXPECT_EQ(readTextFile(outside.file("elsewhere")), "not the copy's to write");
    EXPECT_TRUE(QFileInfo(out.file("viagra-06.jpg")).isSymLink());
    EXPECT_TRUE(logText().contains("viagra-06.jpg: it is a symbolic link, not a file")) << logText().toStdString();
}

TEST_F(AddSPLFromFileTest, AFileThatCannotBeLoadedAddsNothingButTheRunEndsAsUsual)
{
    const xml::Document target = documentFrom(targetText);
    AddSPLFromFile(mergeElement(source.file("missing.xml")), target, out.file("built.xml"));

    EXPECT_EQ(sectionNames(target), QStringList({"First", "Last"}));
    EXPECT_TRUE(logText().contains("The SPL file cannot be loaded"));
    EXPECT_EQ(target.selectSingleNode("document/id").getAttribute("root"), "abcdef01-0000-0000-0000-00000000000a");
    EXPECT_TRUE(logHas("Information", "Important Note: The images that might be associated with the SPL must be placed "
                                      "in the SPL folder created."));
}

TEST_F(AddSPLFromFileTest, WithoutASecondTopLevelComponentSectionsAreAppended)
{
    const xml::Document target = documentFrom(
        "<document xmlns=\"urn:hl7-org:v3\"><component><structuredBody>"
        "<component><section><title>Only</title></section></component></structuredBody></component></document>");
    AddSPLFromFile(mergeElement(fixture(viagraFolder + viagraFile)), target, out.file("built.xml"));

    const QStringList names = sectionNames(target);
    ASSERT_EQ(names.size(), 23);
    EXPECT_EQ(names.first(), "Only");
    EXPECT_EQ(names[1], "SPL PRODUCT DATA ELEMENTS SECTION");
    EXPECT_EQ(QDir(out.path()).entryList({"*.jpg"}).size(), 13);
}

TEST_F(AddSPLFromFileTest, AMediaElementWithoutReferenceOrIdEndsTheBuild)
{
    for (const char* media : {"<observationMedia ID=\"M\"/>", "<observationMedia><value><reference value=\"a.jpg\"/></value></observationMedia>"}) {
        const xml::Document target = documentFrom(
            QStringLiteral("<document xmlns=\"urn:hl7-org:v3\"><component><structuredBody><component><section><component>%1"
                           "</component></section></component></structuredBody></component></document>").arg(media));
        EXPECT_THROW(AddSPLFromFile(mergeElement(source.file("missing.xml")), target, out.file("built.xml")), VbError) << media;
    }
}

TEST(MediaReferenceTest, OnlyPlainFileNamesCount)
{
    EXPECT_TRUE(isPlainMediaFileName("viagra-01.jpg"));
    EXPECT_TRUE(isPlainMediaFileName("image 1.JPG"));
    for (const char* unsafe : {"", ".", "..", "../a.jpg", "a/b.jpg", "a\\b.jpg", "/etc/passwd", "C:x.jpg", "http://x/a.jpg"})
        EXPECT_FALSE(isPlainMediaFileName(unsafe)) << unsafe;
}

// The build's check of the pictures a built SPL names looks up plain file names only: a
// name with a folder, `..` or an absolute path is reported, also where a file of that name
// exists, so that the check never reads outside its folders.
TEST_F(AddSPLFromFileTest, TheMediaCheckReportsNamesThatAreNoPlainFileNamesWhereverTheirFilesAre)
{
    const QString images = out.file("images");
    QDir().mkpath(images + "/sub");
    writeTextFile(out.file("x.jpg"), "beside both folders' parent");
    writeTextFile(images + "/sub/y.jpg", "in a folder of the image folder");
    writeTextFile(outside.file("z.jpg"), "anywhere");
    writeTextFile(images + "/..\\w.jpg", "a name that is a parent path elsewhere");
    writeTextFile(images + "/plain.jpg", "a picture");
    writeTextFile(out.file("plain.jpg"), "a picture");
    const QStringList unsafe{"../x.jpg", "sub/y.jpg", outside.file("z.jpg"), "..\\w.jpg", images + "/plain.jpg"};
    QString media;
    for (const QString& name : unsafe + QStringList{"plain.jpg"})
        media += "<component><observationMedia><value><reference value=\"" + name + "\"/></value></observationMedia></component>";
    const xml::Document target = documentFrom("<document xmlns=\"urn:hl7-org:v3\">" + media + "</document>");
    const xml::Document settings = documentFrom(
        "<SPLR4><ProductLabel><WordDocument><ImageTargetFolder>" + images + "</ImageTargetFolder></WordDocument></ProductLabel></SPLR4>");

    WarnMissingMediaFiles(target, settings, out.file("images/label.xml"));
    for (const QString& name : unsafe)
        EXPECT_EQ(logCount("'" + name + "'"), 1) << name.toStdString() << "\n" << logText().toStdString();
    EXPECT_EQ(logCount("'plain.jpg'"), 0) << logText().toStdString();
}

} // namespace
