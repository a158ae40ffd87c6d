#include "SplBuilderTestSupport.h"

using namespace veldra;
using namespace veldra::test;

namespace {

class SectionDocumentTest : public SplBuilderTest {
protected:
    void SetUp() override
    {
        SplBuilderTest::SetUp();
        useSmallSkeleton();
    }

    static QString foundId(const clsSPL& spl, const QString& title, const QString& subTitle = QString())
    {
        xml::Node found;
        spl.GetSectionByTitle(spl.Document->childNodes(), title, subTitle, found);
        return found ? found.getAttribute("ID") : QStringLiteral("<none>");
    }
};

} // namespace

TEST_F(SectionDocumentTest, InitializeStartsFromAFreshSkeletonEveryTime)
{
    clsSPL spl = initialized();
    QString title = "A", sub = "Sub";
    spl.RememberSectionInformation(title);
    ASSERT_TRUE(spl.AddSubSection(title, sub));

    spl.Initialize("WARNING: MUSCLE DAMAGE");

    EXPECT_TRUE(spl.RememberedSectionTitles.isEmpty());
    EXPECT_TRUE(spl.AddedSubSectionIDs.isEmpty());
    EXPECT_EQ(count(spl, "//section[@ID='SUB']"), 0);
    EXPECT_EQ(text(spl, "//section[@ID='BOXED-WARNING-SECTION']/title"), "WARNING: MUSCLE DAMAGE");
}

// The skeleton is read at every start: an edit of the same size, and one that breaks it,
// take effect at once, and one builder's content never reaches the next.
TEST_F(SectionDocumentTest, EveryStartReadsTheSkeletonAsItIsNow)
{
    clsSPL first = initialized();
    QString title = "A", sub = "Sub";
    ASSERT_TRUE(first.AddSubSection(title, sub));
    EXPECT_EQ(count(initialized(), "//section[@ID='SUB']"), 0);

    QString edited = smallSkeleton();
    edited.replace("<title>B</title>", "<title>C</title>");
    writeTemplate("TEMPLATE_SPL.xml", edited);
    const clsSPL second = initialized();
    EXPECT_EQ(foundId(second, "c"), "B");
    EXPECT_EQ(foundId(second, "b"), "<none>");
    EXPECT_EQ(count(first, "//section[title='B']"), 1);

    writeTemplate("TEMPLATE_SPL.xml", edited.left(edited.size() / 2));
    EXPECT_THROW(initialized(), VbError);
}

TEST_F(SectionDocumentTest, ASkeletonThatDoesNotParseRaisesTheParserErrorWithItsLine)
{
    writeTemplate("TEMPLATE_SPL.xml", "<?xml version=\"1.0\"?>\n<document>\n<section><title>A</section>\n</document>\n");
    clsSPL spl;
    try {
        spl.Initialize("BOXED WARNING");
        FAIL() << "no error";
    } catch (const VbError& error) {
        EXPECT_EQ(error.source(), "MSXML");
        EXPECT_NE(error.number(), 0);
        EXPECT_TRUE(error.description().contains("\r\nLine:3\r\n<section><title>A</section>")) << error.description().toStdString();
    }
}

TEST_F(SectionDocumentTest, TitleSearchMatchesASectionTitleInAnyCaseAndNothingElse)
{
    clsSPL spl = initialized();
    // A table cell and a paragraph that read like section B's title stand before it.
    QString a = "A", none, type = "Table", markup = "<table><tbody><tr><td>B</td><td/></tr></tbody></table>", id;
    ASSERT_TRUE(spl.AddSectionText(a, none, type, markup, false, id));
    QString paragraph = "B";
    ASSERT_TRUE(spl.AddSectionText(a, none, "Normal", paragraph, false, id));
    QString inB = "Only In B";
    QString b = "B";
    ASSERT_TRUE(spl.AddSubSection(b, inB));
    QString sub = "B";  // a subsection of A titled like the later top-level B
    ASSERT_TRUE(spl.AddSubSection(a, sub));

    const struct {
        const char* title;
        const char* subTitle;
        const char* id;
    } cases[] = {
        {"a", "", "A"},                  // another letter case
        {"A ", "", "<none>"},            // an extra blank
        {"", "", "<none>"},              // an empty title matches no empty element
        {"B", "", "B"},                  // the subsection of A titled B comes first in document order
        {"A", "b", "B"},                 // the subsection sought inside A
        {"A", "Only In B", "<none>"},    // exists only under another section
        {"B", "only in b", "ONLY-IN-B"},  // not in A's subsection B: the walk goes on to section B
        {"$SubSection", "", "BOXED-WARNING-SECTION-SUB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(foundId(spl, c.title, c.subTitle), c.id) << c.title << " / " << c.subTitle;
}

TEST_F(SectionDocumentTest, AddSubSectionCopiesThePlaceholderAndCleansTheCallersTitles)
{
    clsSPL spl = initialized();
    QString section = "\tA\r\n", sub = " 1.2 Renal Impairment\n";
    EXPECT_TRUE(spl.AddSubSection(section, sub));
    EXPECT_EQ(section, "A");
    EXPECT_EQ(sub, "1.2 Renal Impairment");
    EXPECT_EQ(text(spl, "//section[@ID='A']/component[1]/section/title"), "1.2 Renal Impairment");
    EXPECT_EQ(spl.AddedSubSectionIDs, QStringList{"RENAL-IMPAIRMENT"});
    EXPECT_EQ(spl.Document->selectSingleNode("//section[@ID='RENAL-IMPAIRMENT']/code").getAttribute("code"), "42229-5");

    QString again = "Renal impairment";  // the same key: added with a numbered ID, not an error
    EXPECT_TRUE(spl.AddSubSection(section, again));
    EXPECT_EQ(count(spl, "//section[@ID='RENAL-IMPAIRMENT-2']"), 1);
    EXPECT_EQ(spl.AddedSubSectionIDs, (QStringList{"RENAL-IMPAIRMENT", "RENAL-IMPAIRMENT-2"}));

    QString missing = "Z", any = "Sub";
    EXPECT_FALSE(spl.AddSubSection(missing, any));
    EXPECT_EQ(logLines(), (QStringList{
                              line("Information", "     A subsection with title 'Renal impairment' already exists; this one has the ID RENAL-IMPAIRMENT-2"),
                              line("Error", "Document Section >Z< not found in SPL template")}));
}

// A title the label repeats is a section of its own, which sorts at its own place.
TEST_F(SectionDocumentTest, RememberedTitlesKeepLabelOrderAndEveryRepeat)
{
    clsSPL spl = initialized();
    for (QString title : {"WARNINGS", "Warnings", "WARNINGS", "\tB\r\n"})
        spl.RememberSectionInformation(title);
    EXPECT_EQ(spl.RememberedSectionTitles, (QStringList{"WARNINGS", "Warnings", "WARNINGS", "B"}));
}

TEST_F(SectionDocumentTest, LoadSectionsListsEverySectionIdInDocumentOrder)
{
    clsSPL spl = initialized();
    spl.Document->selectSingleNode("//section[@ID='B']").setAttribute("ID", " ");
    spl.Document->selectSingleNode("//section[@ID='A-SUB']").removeAttribute("ID");
    QStringList ids;
    spl.LoadSectionsSubSections(ids);
    EXPECT_EQ(ids.mid(0, 5), (QStringList{"BOXED-WARNING-SECTION", "BOXED-WARNING-SECTION-SUB", "A", "N/A", "B-SUB"}));
}
