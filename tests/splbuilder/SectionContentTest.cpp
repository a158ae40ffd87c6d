#include "SplBuilderTestSupport.h"

using namespace veldra;
using namespace veldra::test;

namespace {

class SectionContentTest : public SplBuilderTest {
protected:
    void SetUp() override
    {
        SplBuilderTest::SetUp();
        useSmallSkeleton();
        spl = initialized();
    }

    bool addText(const QString& type, QString text, QString paragraphId = QString(), QString subTitle = QString())
    {
        QString title = "A";
        return spl.AddSectionText(title, subTitle, type, text, false, paragraphId);
    }
    // The names of the blocks in section A's body text.
    QStringList blocks() const
    {
        QStringList names;
        for (const xml::Node& node : spl.Document->selectNodes("//section[@ID='A']/text/*"))
            names << node.nodeName();
        return names;
    }

    clsSPL spl;
};

} // namespace

TEST_F(SectionContentTest, EachTextTypeAppendsItsBlockToTheSectionBody)
{
    const struct {
        const char* type;
        const char* text;
        const char* block;  // "" for none
    } cases[] = {
        {"Normal", "Take <content styleCode=\"bold\">one</content> tablet", "paragraph"},
        {"LinkHTML", "See <linkHtml href=\"#REFERENCES\">references</linkHtml>", "paragraph"},
        {"Normal", "   ", "br"},
        {"BulletList", "<list><item>x</item></list>", "list"},
        {"BulletList", "<list></list>", "br"},
        {"Image", "MM7", "renderMultiMedia"},
        {"Table", "<table><tbody><tr><td>1</td></tr></tbody></table>", "table"},
        {"Caption", "Figure 1", "paragraph"},
        {"Normal", " / \r", ""},
        {"Table", "<table><tr>", ""},
        {"BulletList", "<list><item>", ""},
    };
    for (const auto& c : cases) {
        const QStringList before = blocks();
        EXPECT_TRUE(addText(c.type, c.text)) << c.type << " " << c.text;
        const QStringList added = blocks().mid(before.size());
        EXPECT_EQ(added, QString(c.block).isEmpty() ? QStringList() : QStringList{c.block}) << c.type << " " << c.text;
    }
    EXPECT_EQ(spl.Document->selectSingleNode("//renderMultiMedia").getAttribute("referencedObject"), "MM7");
    EXPECT_EQ(spl.Document->selectSingleNode("//section[@ID='A']/text/paragraph/content").text().trimmed(), "one");
    const QStringList log = logLines();
    EXPECT_TRUE(log.contains(line("Error", QString(10, ' ') + "Error adding table to document")));
    EXPECT_EQ(log.filter(QString(10, ' ') + "MSXML: ").size(), 2) << "the bad table and the bad list";
}

TEST_F(SectionContentTest, AParagraphIdComesBackAsTheAttributeText)
{
    QString title = "A", none, text = "Dose", id = "b1";
    ASSERT_TRUE(spl.AddSectionText(title, none, "Normal", text, false, id));
    EXPECT_EQ(id, " ID=\"b1\"");
    EXPECT_EQ(count(spl, "//section[@ID='A']/text/paragraph[@ID='b1']"), 1);
}

TEST_F(SectionContentTest, ASubsectionOutsideTheNamedSectionStopsTheCaller)
{
    QString b = "B", sub = "Only In B";
    ASSERT_TRUE(spl.AddSubSection(b, sub));
    EXPECT_TRUE(addText("Normal", "in the subsection", QString(), "Only In B") == false);
    EXPECT_EQ(logLines().last(), line("Error", "Document Section >A< not found in SPL template"));
}

TEST_F(SectionContentTest, ExcerptsGoToTheHighlightWithTheirStyle)
{
    const auto excerpt = [&](QString title, const QString& type, QString text, bool isTable) {
        return spl.AddSectionExcerpt(title, type, text, isTable, false);
    };
    EXPECT_TRUE(excerpt("HIGHLIGHTS OF PRESCRIBING INFORMATION", "Normal", "x", false));
    EXPECT_FALSE(excerpt("", "Normal", "x", false));
    EXPECT_TRUE(excerpt("a", "Normal", "Once <content styleCode=\"bold\">daily</content>", false));
    EXPECT_TRUE(excerpt("A", "BulletList", "Twice", false));
    EXPECT_TRUE(excerpt("A", "Normal", "<table><tbody><tr><td>5 mg</td></tr></tbody></table>", true));
    EXPECT_TRUE(excerpt("A", "Normal", "<table><tr><td>broken", true));
    // Markup that does not parse goes in as the text it reads, with a warning, instead of
    // ending the whole import.
    EXPECT_TRUE(excerpt("A", "Normal", "Use <b>caution", false));
    EXPECT_FALSE(excerpt("Z", "Normal", "x", false));

    const xml::NodeList blocks = spl.Document->selectNodes("//section[@ID='A']/excerpt/highlight/text/*");
    QStringList shapes;
    for (const xml::Node& block : blocks)
        shapes << block.nodeName() + "/" + block.getAttribute("styleCode");
    EXPECT_EQ(shapes, (QStringList{"paragraph/normal", "paragraph/Bullet", "table/normal", "paragraph/normal",
                                   "paragraph/normal"}));
    EXPECT_EQ(blocks.item(3).text(), "<table><tr><td>broken");
    EXPECT_EQ(blocks.item(4).text(), "Use <b>caution");
    EXPECT_TRUE(logLines().contains(line("Warning", QString(10, ' ') + "Excerpt added as plain text")));
    EXPECT_EQ(logLines().last(), line("Error", "Document Section >Z< not found in SPL template"));
}

TEST_F(SectionContentTest, ImagesAppendTheirMediaObjectsInCallOrder)
{
    QString a = "A", none;
    spl.AddSectionImage(a, none, "MM1", "one.jpg");
    spl.AddSectionImage(a, none, "MM2", "two.jpg");
    const xml::Node section = spl.Document->selectSingleNode("//section[@ID='A']");
    const xml::Node last = section.lastChild();
    ASSERT_EQ(last.selectSingleNode("observationMedia").getAttribute("ID"), "MM2");
    EXPECT_EQ(last.selectSingleNode("observationMedia/value/reference").getAttribute("value"), "two.jpg");
    EXPECT_EQ(last.previousSibling().selectSingleNode("observationMedia").getAttribute("ID"), "MM1");

    QString missing = "Z", sub = "S";
    spl.AddSectionImage(missing, sub, "MM3", "three.jpg");
    EXPECT_EQ(logLines().last(), line("Error", "Document Section >Z<->S< not found."));

    QFile::remove(templatePath("TEMPLATE_MM_IMAGE.xml"));
    EXPECT_THROW(spl.AddSectionImage(a, none, "MM4", "four.jpg"), VbError);
}
