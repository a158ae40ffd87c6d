// A lint over the shipped label templates: what the builder's rules rely on.
#include "SplBuilderTestSupport.h"

#include <QDir>

using namespace veldra;
using namespace veldra::test;

TEST(LabelTemplatesTest, EveryTemplateDeclaresTheSplNamespaceAndHoldsNoCommentsOrInstructions)
{
    const QDir folder(sourceDataDir() + "/LabelDefinitions");
    const QStringList files = folder.entryList({"TEMPLATE_*.xml"}, QDir::Files);
    EXPECT_EQ(files.size(), 13);
    for (const QString& file : files) {
        xml::Document document;
        ASSERT_TRUE(document.load(folder.filePath(file))) << file.toStdString();
        EXPECT_EQ(document.documentElement().namespaceURI(), "urn:hl7-org:v3") << file.toStdString();
        // Several rules take a first child or a next sibling: nothing but elements and text.
        EXPECT_EQ(document.documentElement().selectNodes(".//comment()").length(), 0) << file.toStdString();
        EXPECT_EQ(document.documentElement().selectNodes(".//processing-instruction()").length(), 0) << file.toStdString();
    }
}

TEST(LabelTemplatesTest, EverySectionOfTheSkeletonCanTakeContentAndSubsections)
{
    xml::Document skeleton;
    ASSERT_TRUE(skeleton.load(sourceDataDir() + "/LabelDefinitions/TEMPLATE_SPL.xml"));
    // Section codes are LOINC's SPL section codes with their names, as real labels carry them.
    const QStringList loincSections = readTextFile(fixture("code-lists/loinc-spl-section-codes.csv")).split('\n');
    const xml::NodeList codes = skeleton.selectNodes("//section/code");
    EXPECT_GT(codes.length(), 80);
    for (const xml::Node& code : codes) {
        const QString row = code.getAttribute("code") + ',' + code.getAttribute("displayName") + ',';
        EXPECT_TRUE(std::any_of(loincSections.begin(), loincSections.end(), [&](const QString& line) { return line.startsWith(row); }))
            << row.toStdString();
    }
    QStringList titles, ids;
    for (const xml::Node& section : skeleton.selectNodes("document/component/structuredBody/component/section")) {
        const QString title = section.selectSingleNode("title").text();
        titles << title.toLower();
        ids << section.getAttribute("ID");
        SCOPED_TRACE(title.toStdString());
        EXPECT_EQ(title, title.trimmed());
        EXPECT_FALSE(title.front().isDigit()) << "Word numbers its headings itself";
        const xml::Node code = section.selectSingleNode("code");
        EXPECT_TRUE(code.hasAttribute("code") && code.hasAttribute("codeSystem") && code.hasAttribute("displayName"));
        EXPECT_TRUE(section.selectSingleNode("text"));
        const xml::Node placeholder = section.selectSingleNode("component/section");
        ASSERT_TRUE(placeholder);
        EXPECT_EQ(placeholder.selectSingleNode("title").text(), "$SubSection");
        EXPECT_TRUE(placeholder.selectSingleNode("code").hasAttribute("displayName"));
        if (const xml::Node excerpt = section.selectSingleNode("excerpt")) {
            EXPECT_EQ(excerpt.selectSingleNode("highlight/text").parentNode().localName(), "highlight");
        }
    }
    EXPECT_EQ(QSet<QString>(titles.begin(), titles.end()).size(), titles.size()) << "a title finds one section";
    for (const char* id : {"BOXED-WARNING-SECTION", "INDICATIONS-AND-USAGE", "DOSAGE-AND-ADMINISTRATION", "CONTRAINDICATIONS",
                           "ADVERSE-REACTIONS", "DRUG-INTERACTIONS", "HOW-SUPPLIED-STORAGE-AND-HANDLING"}) {
        EXPECT_TRUE(ids.contains(id)) << id;
        if (QString(id) != "BOXED-WARNING-SECTION") {
            EXPECT_TRUE(skeleton.selectSingleNode(QString("//section[@ID='%1']/excerpt/highlight").arg(id))) << id;
        }
    }
}
