#include "SplBuilderTestSupport.h"

#include <QRegularExpression>

using namespace veldra;
using namespace veldra::test;

namespace {

class FinishingPassTest : public SplBuilderTest {
protected:
    void SetUp() override
    {
        SplBuilderTest::SetUp();
        useSmallSkeleton();
        writeLoincDatabase();
        spl = initialized();
    }

    void remember(std::initializer_list<const char*> titles)
    {
        for (QString title : titles)
            spl.RememberSectionInformation(title);
    }
    void addText(QString title, QString text, QString subTitle = QString())
    {
        QString id;
        ASSERT_TRUE(spl.AddSectionText(title, subTitle, "Normal", text, false, id));
    }
    QStringList topLevelTitles() const
    {
        QStringList titles;
        for (const xml::Node& title : spl.Document->selectNodes("document/component/structuredBody/component/section/title"))
            titles << title.text();
        return titles;
    }
    QStringList idRoots() const
    {
        QStringList roots;
        for (const xml::Node& id : spl.Document->selectNodes("//id"))
            roots << id.getAttribute("root");
        return roots;
    }

    clsSPL spl;
};

} // namespace

TEST_F(FinishingPassTest, FinalizeKeepsTheLabelsSectionsInItsOrderWithCodesAndFreshIds)
{
    remember({"b", "A", "A"});
    QString a = "A", sub = "Geriatric Use";
    ASSERT_TRUE(spl.AddSubSection(a, sub));
    addText("A", "kept");
    addText("A", "in the subsection", "Geriatric Use");
    addText("CONTRAINDICATIONS", "poured into a section the label does not have");
    // Body text that reads like the words the pass removes by title removes nothing.
    addText("B", "$SubSection");
    addText("B", "WARNING");

    spl.FinalizeSPLR4();

    EXPECT_EQ(topLevelTitles(), (QStringList{"B", "A"})) << "titles in another case are the same heading";
    EXPECT_EQ(count(spl, "//section[title='$SubSection']"), 0);
    EXPECT_EQ(count(spl, "//section[@ID='B']/text/paragraph"), 2);
    EXPECT_EQ(spl.Document->selectSingleNode("//section[@ID='GERIATRIC-USE']/code").getAttribute("code"), "34082-8");
    EXPECT_EQ(spl.Document->selectSingleNode("//section[@ID='A']/code").getAttribute("code"), "1-1")
        << "top-level sections keep the skeleton's codes";
    const QRegularExpression guid("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$");
    const QStringList roots = idRoots();
    ASSERT_EQ(roots.size(), 4);
    for (const QString& root : roots)
        EXPECT_TRUE(guid.match(root).hasMatch()) << root.toStdString();
    EXPECT_EQ(QSet<QString>(roots.begin(), roots.end()).size(), roots.size());

    spl.ProcessIDRoot();
    const QStringList again = idRoots();
    for (int i = 0; i < roots.size(); ++i)
        EXPECT_NE(roots[i], again[i]);
}

// A heading that repeats an earlier title (a second package label) opens a section of its
// own, coded as the earlier one, which takes the text after it and keeps its place.
TEST_F(FinishingPassTest, ARepeatedHeadingKeepsASectionOfItsOwnInItsPlace)
{
    using Opened = clsSPL::OpenedSection;
    const struct {
        const char* title;
        Opened opened;
        const char* text;
    } headings[] = {{"A", Opened::Template, "first"}, {"B", Opened::Template, "b"}, {"a", Opened::Repeated, "second"},
                    {"New", Opened::Added, "added"}, {"New", Opened::Repeated, "added again"}};
    for (const auto& heading : headings) {
        QString title = heading.title;
        spl.RememberSectionInformation(title);
        EXPECT_EQ(spl.OpenSection(title), heading.opened) << heading.title;
        addText(title, heading.text);
    }
    spl.RemoveUnusedSections(true);
    EXPECT_EQ(topLevelTitles(), (QStringList{"A", "B", "a", "New", "New"}));
    QStringList texts, codes;
    for (const xml::Node& section : spl.Document->selectNodes("document/component/structuredBody/component/section")) {
        texts << section.selectSingleNode("text").text().trimmed();
        codes << section.selectSingleNode("code").getAttribute("code");
    }
    EXPECT_EQ(texts, (QStringList{"first", "b", "second", "added", "added again"}));
    EXPECT_EQ(codes.mid(0, 3), (QStringList{"1-1", "1-1", "1-1"}));
    EXPECT_EQ(spl.AddedSectionTitles, (QStringList{"New", "New"})) << "the LOINC pass codes the added ones";
}

// Each section moves once, where its title was first remembered in any letter case; a title
// with an apostrophe sorts like any other.
TEST_F(FinishingPassTest, EachSectionMovesOnceToWhereItsTitleWasFirstRemembered)
{
    const QString skeleton = smallSkeleton().replace("<title>B</title>", "<title>PATIENT'S GUIDE</title>");
    writeTemplate("TEMPLATE_SPL.xml", skeleton);
    struct Case {
        QStringList remembered;
        QStringList order;
    };
    const std::vector<Case> cases{
        {{"PATIENT'S GUIDE", "A"}, {"PATIENT'S GUIDE", "A"}},
        {{"A", "PATIENT'S GUIDE", "a"}, {"A", "PATIENT'S GUIDE"}},
        {{"patient's guide", "A", "PATIENT'S GUIDE"}, {"PATIENT'S GUIDE", "A"}},
    };
    for (const Case& c : cases) {
        spl = initialized();
        for (QString title : c.remembered)
            spl.RememberSectionInformation(title);
        spl.RemoveUnusedSections(true);
        EXPECT_EQ(topLevelTitles(), c.order) << c.remembered.join(", ").toStdString();
    }
}

TEST_F(FinishingPassTest, EmptyHighlightsGoWholeOrLoseOnlyTheirEmptyText)
{
    QString a = "A", sub = "Sub";
    ASSERT_TRUE(spl.AddSubSection(a, sub));
    const xml::Node subHighlight = spl.Document->selectSingleNode("//section[@ID='SUB']");
    subHighlight.appendChild(spl.Document->createElement("excerpt"))
        .appendChild(spl.Document->createElement("highlight"))
        .appendChild(spl.Document->createElement("text"));
    const xml::Node highlight = spl.Document->selectSingleNode("//section[@ID='INDICATIONS-AND-USAGE']/excerpt/highlight");
    highlight.appendChild(spl.Document->createElement("subject"));

    spl.RemoveEmptyExcerpts();

    EXPECT_EQ(count(spl, "//section[@ID='A']/excerpt"), 0);
    EXPECT_EQ(count(spl, "//section[@ID='INDICATIONS-AND-USAGE']/excerpt/highlight/*"), 1);
    EXPECT_EQ(count(spl, "//section[@ID='INDICATIONS-AND-USAGE']/excerpt/highlight/subject"), 1);
    EXPECT_EQ(count(spl, "//section[@ID='SUB']/excerpt/highlight/text"), 1) << "subsections keep theirs";
}

TEST_F(FinishingPassTest, RecentMajorChangesKeepsItsHighlightButNotItsBody)
{
    writeTemplate("TEMPLATE_SPL.xml", smallSkeleton().replace("<title>A</title>", "<title>RECENT MAJOR CHANGES</title>"));
    spl = initialized();
    remember({"RECENT MAJOR CHANGES"});
    addText("RECENT MAJOR CHANGES", "Dosage, 2/2024");
    QString title = "RECENT MAJOR CHANGES", excerpt = "Dosage and Administration (2.1) 2/2024";
    ASSERT_TRUE(spl.AddSectionExcerpt(title, "Normal", excerpt, false, false));
    spl.RemoveUnusedSections(true);
    EXPECT_EQ(count(spl, "//section[@ID='A']/text"), 0);
    EXPECT_EQ(count(spl, "//section[@ID='A']/title"), 1);
    EXPECT_EQ(count(spl, "//section[@ID='A']/code"), 1);
    EXPECT_EQ(count(spl, "//section[@ID='A']/excerpt/highlight/text/paragraph"), 1);
}

TEST_F(FinishingPassTest, AnIdWithoutRootIsReportedAndTheRestOfThePassRuns)
{
    remember({"A"});
    spl.Document->selectSingleNode("//section[@ID='B']/id").removeAttribute("root");
    spl.FinalizeSPLR4();
    const QStringList log = logLines();
    EXPECT_FALSE(log.contains(line("Information", "Adding ID root GUIDS completed")));
    EXPECT_EQ(log.filter("Error adding ID root GUIDS - clsSPL ").size(), 1);
    EXPECT_EQ(topLevelTitles(), QStringList{"A"}) << "the sections were still sorted out";
}
