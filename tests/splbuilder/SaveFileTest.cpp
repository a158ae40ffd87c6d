#include "SplBuilderTestSupport.h"

#include "splbuilder/SaveRepairs.h"
#include "support/DiskFull.h"
#include "support/Unprivileged.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

using namespace veldra;
using namespace veldra::test;

TEST(SaveRepairsTest, LinesAreJoinedAndStoredMarkupIsRepaired)
{
    const struct {
        QByteArray in;
        QByteArray out;
        bool markupRestored;
    } cases[] = {
        {"\n\r\n<a/>\n<b/>\n", "<a/>\r\n<b/>", false},              // leading empty lines go, no final break
        {"<a>\r<b/>\r\n\n<c/>", "<a>\r\n<b/>\r\n\r\n<c/>", false},  // CR, CR LF and LF all end a line
        {"<p xmlns=\"\">x</p>", "<p>x</p>", false},
        {"&lt;caption&gt;Figure&lt;/caption&gt;", "<caption>Figure</caption>", true},
        {"&lt;table&gt;&lt;thead&gt;&lt;tr&gt;&lt;th&gt;h&lt;/th&gt;&lt;/tr&gt;&lt;/thead&gt;&lt;tbody&gt;&lt;tr&gt;&lt;td&gt;"
         "d&lt;/td&gt;&lt;/tr&gt;&lt;/tbody&gt;&lt;/table&gt;",
         "<table><thead><tr><th>h</th></tr></thead><tbody><tr><td>d</td></tr></tbody></table>", true},
        {"&lt;td class=\"x\"&gt;&lt;b&gt;", "&lt;td class=\"x\"&gt;&lt;b&gt;", false},  // only the plain tags
        {"\xe9\x81\x8e\xe6\x95\x8f", "\xe9\x81\x8e\xe6\x95\x8f", false},                // bytes pass through
    };
    for (const auto& c : cases) {
        bool markupRestored = !c.markupRestored;
        EXPECT_EQ(repairedSplText(c.in, &markupRestored), c.out) << c.in.toStdString();
        EXPECT_EQ(markupRestored, c.markupRestored) << c.in.toStdString();
    }
}

namespace {

class SaveFileTest : public SplBuilderTest {
protected:
    void SetUp() override
    {
        SplBuilderTest::SetUp();
        useSmallSkeleton();
        spl = initialized();
    }
    clsSPL spl;
};

} // namespace

TEST_F(SaveFileTest, SavesUtf8TextWithCaptionsAsMarkupAndValidatesIt)
{
    QString a = "A", none, id, caption = "Figure 1: Überblick 過敏症";
    ASSERT_TRUE(spl.AddSectionText(a, none, "Caption", caption, true, id));
    spl.Document->setDeclarationEncoding("ISO-8859-1");
    const QString file = program->file("saved.xml");

    spl.SaveFile(file);

    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<document")) << bytes.left(80).toStdString();
    EXPECT_FALSE(bytes.endsWith('\n'));
    EXPECT_FALSE(bytes.contains("xmlns=\"\""));
    EXPECT_TRUE(bytes.contains(QString("<paragraph><caption>Figure 1: Überblick 過敏症</caption></paragraph>").toUtf8()));
    const QStringList log = logLines();
    EXPECT_TRUE(log.contains(line("Information", "Saved File: " + file)));
    EXPECT_EQ(log.filter("Validating XML File against FDA SPL Schema").size(), 1) << "the saved file is validated";
}

TEST_F(SaveFileTest, AFileThatCannotBeWrittenKeepsItsOldContentAndSaysWhy)
{
    const QString missingFolder = program->file("no such folder/label.xml");
    EXPECT_THROW(spl.SaveFile(missingFolder), VbError);
    EXPECT_FALSE(QFile::exists(missingFolder));
    const QStringList log = logLines();
    EXPECT_EQ(log.filter("Error Saving Document via MSXML Parser: ").size(), 1);
    EXPECT_TRUE(log.contains(line("Warning", "Saving Document in Binary Mode")));

    // A read-only folder: the save can neither replace the file nor write beside it.
    QDir().mkpath(program->file("locked"));
    const QString file = program->file("locked/label.xml");
    writeTextFile(file, "old");
    QFile::setPermissions(program->file("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                                      | QFileDevice::ReadOther | QFileDevice::ExeOther);
    const bool refused = test::asUnprivilegedUser([&] {
        try {
            spl.SaveFile(file);
        } catch (const VbError& error) {
            return error.description().contains(file);
        }
        return false;
    });
    QFile::setPermissions(program->file("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(refused) << "saved into a read-only folder, or the error did not name the file";
    EXPECT_EQ(readTextFile(file), "old");

    // A disk that fills up during the write keeps the old file and says why.
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QString reason;
    try {
        const test::DiskFullAfter limit(256);
        spl.SaveFile(file);
    } catch (const VbError& error) {
        reason = error.description();
    }
    EXPECT_TRUE(reason.contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << reason.toStdString();
    EXPECT_EQ(readTextFile(file), "old");
}

// The saved file is validated as it reads: a created element the schema refuses is named by
// its line in the file, and table tags stored as text, which the save makes markup, are
// checked as the markup they become although the builder's tree holds them as text.
TEST_F(SaveFileTest, TheSavedLabelIsValidatedAsTheFileReads)
{
    writeLoincDatabase();
    writeTemplate("TEMPLATE_SPL.xml", readTextFile(sourceDataDir() + "/LabelDefinitions/TEMPLATE_SPL.xml"));
    const struct {
        const char* name;
        const char* element;  // put into the first section's text with the text below
        const char* text;
        const char* wrongLine;  // the text of the line the error names; none for a valid file
    } cases[] = {
        {"a valid label", "paragraph", "Take one <tablet> daily.", nullptr},
        {"a created element the schema refuses", "bogus", "", "<bogus/>"},
        {"stored table tags", "paragraph", "<td>Myalgia</td>", "<paragraph><td>Myalgia</td></paragraph>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        closeLog();
        spl = initialized();
        spl.SetUserData("0a6e5b4c-1d2e-4f3a-9b8c-7d6e5f4a3b2c", "1", "Title", "20240131", "20240131", "Company", "Street",
                        "FDA", "Street", "1996", "Company", "Ada", "Lovelace", "tel:+1", "http://example.com");
        QString title = "INDICATIONS AND USAGE", none, text = "Indicated.", id;
        spl.RememberSectionInformation(title);
        ASSERT_TRUE(spl.AddSectionText(title, none, "Normal", text, false, id));
        spl.FinalizeSPLR4();
        const xml::Node sectionText = spl.Document->selectSingleNode("//structuredBody/component/section/text");
        sectionText.appendChild(spl.Document->createElement(c.element)).setText(c.text);
        const QString file = program->file("label.xml");

        spl.SaveFile(file);

        const QString log = logLines().join('\n');
        if (!c.wrongLine) {
            EXPECT_TRUE(log.contains("XML File is valid against FDA SPL Schema.")) << log.toStdString();
            continue;
        }
        const QStringList lines = readTextFile(file).split("\r\n");
        const auto wrong = std::find_if(lines.begin(), lines.end(), [&](const QString& line) { return line.contains(c.wrongLine); });
        ASSERT_NE(wrong, lines.end());
        EXPECT_TRUE(log.contains("XML File is not valid against FDA SPL Schema:")) << log.toStdString();
        EXPECT_TRUE(log.contains("Source: " + QString(*wrong).remove('\t'))) << log.toStdString();
        EXPECT_TRUE(log.contains("Line: " + QString::number(wrong - lines.begin() + 1))) << log.toStdString();
    }
}
