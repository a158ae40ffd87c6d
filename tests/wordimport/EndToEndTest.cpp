// The whole road a user takes: a new settings document with the label's general data, the
// Word label imported into it, the SPL file built from it, valid against the SPL schema and
// rendered by the SPL stylesheet.
#include "WordImportTestSupport.h"

#include "editor/SettingsDocument.h"
#include "generation/build/TransformSPLR4ToSPL.h"
#include "generation/reverse/ImportDataFromSPLFile.h"
#include "generation/reverse/frmUserSelection.h"
#include "platform/xml/ResourceResolver.h"
#include "platform/xml/SchemaValidator.h"
#include "platform/xml/XsltProcessor.h"
#include "platform/core/AppPaths.h"
#include "support/DocxFixture.h"
#include "support/EditorTree.h"
#include "support/LabelComparison.h"
#include "support/SplLabelDocx.h"
#include "splbuilder/clsSPL.h"
#include "wordimport/ProductLabelImport.h"
#include "wordimport/template/LabelTemplateDocument.h"

#include <QApplication>
#include <QComboBox>
#include <QJsonArray>

using namespace veldra;
using namespace veldra::test;

namespace {

const QString productCodes =
    QStringLiteral("/document/component/structuredBody/component/section[code/@code='48780-1']"
                   "/subject/manufacturedProduct/manufacturedProduct/code/@code");

word::DocxWriter writtenLabel()
{
    word::DocxWriter w;
    for (const QString& title : {QStringLiteral("INDICATIONS AND USAGE"), QStringLiteral("DOSAGE AND ADMINISTRATION")}) {
        w.addParagraph("Heading 1", title);
        w.addParagraph("", "Opening text of " + title.toLower() + ".");
        const int numbered = w.addList(word::DocxWriter::ListKind::Numbered);
        for (int k = 1; k <= 3; ++k)
            w.addListParagraph(numbered, QStringLiteral("Numerus Album %1").arg(k));
        for (int j = 1; j <= 2; ++j) {
            w.addParagraph("Heading 2", QStringLiteral("Subsection %1 of %2").arg(j).arg(title.toLower()));
            w.addParagraph("", "Sample text & more.");
            w.addTable({{"Table Header 1", "Table Header 2"}, {"Table Value 1,1", "Table Value 1,2"}});
            const int bullets = w.addList(word::DocxWriter::ListKind::Bulleted);
            w.addListParagraph(bullets, "First bullet");
            w.addListParagraph(bullets, "Second bullet");
        }
        w.addPageBreak();
    }
    return w;
}


// A label whose tables a user writes often: a table of a single row, and a table whose
// cell holds a bulleted and a numbered list between lines of text.
QString labelWithSmallTables()
{
    const QString bullets = QStringLiteral("<w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"1\"/></w:numPr>");
    const QString numbers = QStringLiteral("<w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"2\"/></w:numPr>");
    const auto cell = [](const QString& paragraphs) { return QStringLiteral("<w:tc>") + paragraphs + QStringLiteral("</w:tc>"); };
    const QString oneRow = QStringLiteral("<w:tbl><w:tr>") + cell(para("Lone row")) + cell(para("Its second cell"))
                           + QStringLiteral("</w:tr></w:tbl>");
    const QString withLists =
        QStringLiteral("<w:tbl><w:tr>") + cell(para("Dose")) + cell(para("How")) + QStringLiteral("</w:tr><w:tr>")
        + cell(para("10 mg")) + cell(para("Take it:") + para("with food", bullets) + para("at night", bullets)
                                     + para("Then:") + para("check", numbers) + para("report", numbers))
        + QStringLiteral("</w:tr></w:tbl>");
    return styled("Heading1", "INDICATIONS AND USAGE") + para("Before the tables.") + oneRow + para("Between the tables.")
           + withLists + para("After the tables.") + styled("Heading1", "CONTRAINDICATIONS") + para("None known.")
           + para("Revised: 01/2024");
}

DocxParts listStyles()
{
    DocxParts parts;
    parts.styles = labelStyles();
    parts.numbering =
        "<w:abstractNum w:abstractNumId=\"0\"><w:lvl w:ilvl=\"0\"><w:numFmt w:val=\"bullet\"/><w:lvlText w:val=\"*\"/>"
        "</w:lvl></w:abstractNum><w:abstractNum w:abstractNumId=\"1\"><w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/>"
        "<w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%1.\"/></w:lvl></w:abstractNum>"
        "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num><w:num w:numId=\"2\"><w:abstractNumId w:val=\"1\"/></w:num>";
    return parts;
}

// The sections a title search may find, in document order: every section element outside
// narrative text, with its own title as written.
void collectSections(const xml::Node& node, QList<std::pair<xml::Node, QString>>& found)
{
    for (xml::Node child = node.firstChild(); child; child = child.nextSibling()) {
        if (child.nodeType() != xml::NodeType::Element || child.localName() == QLatin1String("text"))
            continue;
        if (child.localName() == QLatin1String("section")) {
            QString title;
            for (xml::Node part = child.firstChild(); part; part = part.nextSibling())
                if (part.nodeType() == xml::NodeType::Element && part.localName() == QLatin1String("title")) {
                    title = part.text();
                    break;
                }
            found.append({child, title});
        }
        collectSections(child, found);
    }
}

bool isBelow(const xml::Node& node, const xml::Node& ancestor)
{
    for (xml::Node up = node.parentNode(); up; up = up.parentNode())
        if (up == ancestor)
            return true;
    return false;
}

// The plain reading of the title rules over the list of sections: the first section of the
// title; with a subtitle, the first section of that title below the first section of the
// title that has one.
xml::Node plainTitleSearch(const QList<std::pair<xml::Node, QString>>& sections, const QString& title,
                           const QString& subTitle)
{
    const QString lowered = title.toLower(), subLowered = subTitle.toLower();
    for (const auto& [section, sectionTitle] : sections) {
        if (lowered.isEmpty() || sectionTitle.toLower() != lowered)
            continue;
        if (subLowered.isEmpty())
            return section;
        for (const auto& [inner, innerTitle] : sections)
            if (innerTitle.toLower() == subLowered && isBelow(inner, section))
                return inner;
    }
    return {};
}

// The builder's title search agrees with the plain reading for every title and every
// section-subsection pair of the document, in the letter cases a label writes them.
void expectTitleSearchAgreesWithPlainReading(const clsSPL& spl)
{
    QList<std::pair<xml::Node, QString>> sections;
    collectSections(spl.Document->documentElement(), sections);
    ASSERT_GT(sections.size(), 10);
    QList<std::pair<QString, QString>> queries{{QString(), QString()}, {QStringLiteral("No Such Section"), QString()}};
    for (const auto& [section, title] : sections) {
        queries << std::pair{title, QString()} << std::pair{title.toUpper(), QString()}
                << std::pair{title.toLower(), QString()};
        for (const auto& [inner, innerTitle] : sections)
            if (isBelow(inner, section))
                queries << std::pair{title, innerTitle.toUpper()} << std::pair{innerTitle, title};
    }
    for (const auto& [title, subTitle] : queries) {
        xml::Node found;
        spl.GetSectionByTitle(spl.Document->childNodes(), title, subTitle, found);
        EXPECT_TRUE(found == plainTitleSearch(sections, title, subTitle))
            << title.toStdString() << " / " << subTitle.toStdString();
    }
}

} // namespace

class EndToEndTest : public WordImportTest {
protected:
    void SetUp() override
    {
        WordImportTest::SetUp();
        xml::setLocalRootForTesting(xml::ResourceKind::Schema, fixture(QStringLiteral("spl-schema")));
    }
    void TearDown() override
    {
        setUserSelectionAnswerForTesting({});
        delete editor;
        xml::setLocalRootForTesting(xml::ResourceKind::Schema, {});
        WordImportTest::TearDown();
    }

    // A new settings document, as File New makes it, holding the general data, the labeler
    // and the products of a real SPL label.
    void newSettingsWithDataOf(const QString& splFile)
    {
        const QList<QWidget*> before = QApplication::topLevelWidgets();
        OpenSPLR4Document(QString());
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* opened = qobject_cast<frmXMLEditor*>(widget); opened && !before.contains(widget))
                editor = opened;
        ASSERT_TRUE(editor);
        for (const char* group : {"General Data", "Labeler"})
            importData(nodeByCaption(editor, QLatin1String(group)), splFile);
        xml::Document spl;
        ASSERT_TRUE(spl.load(splFile));
        QStringList codes;
        for (const xml::Node& code : spl.selectNodes(productCodes))
            codes << code.text();
        const xml::Node products = editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/Products"));
        for (qsizetype i = 1; i < codes.size(); ++i)
            products.appendChild(products.selectSingleNode(QStringLiteral("Product")).cloneNode(true));
        editor->RefreshXML(false);
        for (qsizetype i = 0; i < codes.size(); ++i) {
            const QString code = codes[i];
            setUserSelectionAnswerForTesting([code](frmUserSelection& form) {
                form.cboUserSelection->setCurrentText(code);
                form.cmdOK->click();
            });
            QList<QTreeWidgetItem*> productNodes;
            editor->TreeView->forEachNode([&](QTreeWidgetItem* item) {
                if (nodeCaption(item) == QLatin1String("Product"))
                    productNodes << item;
            });
            importData(productNodes.value(int(i)), splFile);
        }
    }

    void importData(QTreeWidgetItem* target, const QString& splFile)
    {
        ASSERT_NE(target, nullptr);
        editor->TreeView->selectNode(target);
        ui.openFiles.push_back(splFile);
        ImportDataFromSPLFile(editor, editor->TreeView);
    }

    // Imports the Word label into the editor's document and builds the SPL file; returns its path.
    QString importAndBuild(const QString& docx)
    {
        importLabel(docx);
        closeLog();
        return build();
    }

    void importLabel(const QString& docx)
    {
        xml::Document& settings = *editor->XMLDoc;
        const xml::Node options = settings.selectSingleNode(QStringLiteral("SPLR4/ProductLabel/WordDocument"));
        options.selectSingleNode(QStringLiteral("File")).setText(docx);
        options.selectSingleNode(QStringLiteral("ImageTargetFolder")).setText(dir.path());
        options.selectSingleNode(QStringLiteral("EffectiveTime")).setText(QStringLiteral("20240131"));
        ImportProductLabelFromWord(editor, settings);
        EXPECT_TRUE(linesOf(logLines(), QStringLiteral("Fatal Error")).isEmpty()) << logLines().join('\n').toStdString();
    }

    QString build()
    {
        const QString built = dir.file(QStringLiteral("label.xml"));
        TransformSPLR4ToSPL(*editor->XMLDoc, built);
        return built;
    }

    static void expectValid(const QString& file)
    {
        const xml::SchemaCheck check = xml::SchemaValidator().validateFile(file);
        EXPECT_TRUE(check.isValid()) << check.reason.toStdString() << " line " << check.line;
    }

    frmXMLEditor* editor = nullptr;
};

TEST_F(EndToEndTest, AWrittenLabelBecomesValidSplWithItsSubsectionsListsAndTables)
{
    newSettingsWithDataOf(fixture(QStringLiteral("spl-documents/openfda-lipitor-rx/lipitor-orig.xml")));
    const QString built = importAndBuild(save(writtenLabel()));
    expectValid(built);

    xml::Document spl;
    ASSERT_TRUE(spl.load(built)) << logLines().join('\n').toStdString();
    const xml::Node indications =
        spl.selectSingleNode(QStringLiteral("//structuredBody/component/section[code/@code='34067-9']"));
    ASSERT_TRUE(indications);
    QStringList subsections;
    for (const xml::Node& title : indications.selectNodes(QStringLiteral("component/section/title")))
        subsections << title.text();
    EXPECT_EQ(subsections, QStringList({"Subsection 1 of indications and usage", "Subsection 2 of indications and usage"}));
    EXPECT_EQ(indications.selectSingleNode(QStringLiteral("text/list")).getAttribute(QStringLiteral("listType")), "ordered");
    const xml::Node first = indications.selectSingleNode(QStringLiteral("component/section/text"));
    EXPECT_EQ(first.selectSingleNode(QStringLiteral("list")).getAttribute(QStringLiteral("listType")), "unordered");
    EXPECT_EQ(first.selectNodes(QStringLiteral("table/thead/tr/td")).length(), 2);
    EXPECT_EQ(first.selectSingleNode(QStringLiteral("table/thead/tr/td")).getAttribute(QStringLiteral("styleCode")),
              "Toprule Botrule Lrule Rrule");

    const xml::XsltResult page =
        xml::XsltProcessor().transformFile(fixture(QStringLiteral("spl-stylesheet-6.2/spl.xsl")), built);
    ASSERT_TRUE(page.ok()) << page.problem.toStdString();
    for (const char* shown : {"Subsection 2 of dosage and administration", "Numerus Album 3", "Table Value 1,2",
                              "Second bullet", "Sample text &amp; more."})
        EXPECT_TRUE(page.text.contains(shown)) << shown;
}

TEST_F(EndToEndTest, ATableOfOneRowAndListsInCellsBuildValidSpl)
{
    newSettingsWithDataOf(fixture(QStringLiteral("spl-documents/openfda-cough-otc/cough.xml")));
    const QString built = importAndBuild(save(docxFrom(labelWithSmallTables(), listStyles())));
    expectValid(built);

    xml::Document spl;
    ASSERT_TRUE(spl.load(built));
    const xml::NodeList tables = spl.selectNodes(QStringLiteral("//section[code/@code='34067-9']/text/table"));
    ASSERT_EQ(tables.length(), 2);
    EXPECT_FALSE(tables.item(0).selectSingleNode(QStringLiteral("thead")));
    EXPECT_EQ(tables.item(0).selectSingleNode(QStringLiteral("tbody/tr")).text(), "Lone rowIts second cell");
    EXPECT_EQ(tables.item(1).selectNodes(QStringLiteral("thead/tr")).length(), 1);
    const xml::Node cell = tables.item(1).selectSingleNode(QStringLiteral("tbody/tr/td[1]"));
    QStringList blocks;  // text as it stands, a list as its items; layout breaks aside
    for (const xml::Node& child : cell.childNodes()) {
        if (child.text().trimmed().isEmpty())
            continue;
        QStringList items;
        for (const xml::Node& item : child.selectNodes(QStringLiteral("item")))
            items << item.text().trimmed();
        blocks << (items.isEmpty() ? child.nodeName() + ":" + child.text().trimmed()
                                   : child.getAttribute(QStringLiteral("listType")) + ":" + items.join(" | "));
    }
    EXPECT_EQ(blocks, QStringList({"#text:Take it:", "unordered:with food | at night", "#text:Then:",
                                   "ordered:check | report"}));
}

TEST_F(EndToEndTest, RealLabelsBuildValidSpl)
{
    struct Label {
        const char* docx;
        const char* spl;
    };
    for (const Label& label : {Label{"cough-otc", "openfda-cough-otc/cough.xml"},
                               Label{"lipitor-rx", "openfda-lipitor-rx/lipitor-orig.xml"},
                               Label{"viagra-rx-resaved", "openfda-viagra-rx-with-images/64f8040f-938d-4236-8e22-c838c9b5f8da.xml"}}) {
        SCOPED_TRACE(label.docx);
        delete editor;
        editor = nullptr;
        newSettingsWithDataOf(fixture(QStringLiteral("spl-documents/") + QLatin1String(label.spl)));
        editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/ProductLabel/WordDocument/ExcerptStyle")).setText(QStringLiteral("Title"));
        const QString built = importAndBuild(fixture(QStringLiteral("docx/labels/%1.docx").arg(QLatin1String(label.docx))));
        expectValid(built);
        clsSPL spl;
        spl.OpenDocument(built);
        expectTitleSearchAgreesWithPlainReading(spl);
    }
}

// Every real label of the fixtures, written in Word as a labeler writes it (the section
// numbers left to Word or typed into the headings), comes back from the import with every
// heading, subsection, table, list item and picture and its words in order, and builds SPL
// that the schema accepts.
TEST_F(EndToEndTest, EveryRealLabelWrittenInWordComesBackWhole)
{
    int labels = 0;
    for (const QString& splFile : splDocumentFiles()) {
        for (const SectionNumbers numbers : {SectionNumbers::LeftToWord, SectionNumbers::Typed}) {
            const LabelDocx label = labelDocxFromSpl(splFile, numbers);
            if (label.expected.value(QStringLiteral("sections")).toArray().isEmpty())
                continue;  // SPL without label text: indexing data, a labeler code request
            ++labels;
            SCOPED_TRACE(splFile.toStdString() + (numbers == SectionNumbers::Typed ? " typed numbers" : ""));
            delete editor;
            editor = nullptr;
            closeLog();
            newSettingsWithDataOf(splFile);
            editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/ProductLabel/WordDocument/ExcerptStyle")).setText(QStringLiteral("Title"));
            importLabel(save(label.docx));
            EXPECT_EQ(firstDifference(*editor->XMLDoc, label.expected, logLines()), QString());
            closeLog();
            expectValid(build());
        }
    }
    EXPECT_EQ(labels, 14);
}

// The newcomer's road: the empty label template the program generates, imported as it is
// and built, gives every section of the label skeleton with its subsections, lists and
// tables, in SPL that the schema accepts.
TEST_F(EndToEndTest, TheGeneratedTemplateImportedAsItIsBuildsValidSpl)
{
    const QStringList titles =
        label_template::sectionTitles(app_paths::inProgram(QStringLiteral("LabelDefinitions/TEMPLATE_SPL.xml")));
    const QString docx = save(label_template::templateDocument(titles, {QStringLiteral("Sample sentence.")},
                                                               [](int) { return 0; }));
    newSettingsWithDataOf(fixture(QStringLiteral("spl-documents/openfda-cough-otc/cough.xml")));
    const QString built = importAndBuild(docx);
    expectValid(built);
    clsSPL skeleton;
    skeleton.Initialize(QStringLiteral("BOXED WARNING"));
    expectTitleSearchAgreesWithPlainReading(skeleton);
    clsSPL filled;
    filled.OpenDocument(built);
    expectTitleSearchAgreesWithPlainReading(filled);

    xml::Document spl;
    ASSERT_TRUE(spl.load(built));
    int sections = 0;
    for (const xml::Node& section : spl.selectNodes(QStringLiteral("//structuredBody/component/section[not(code/@code='48780-1')]"))) {
        ++sections;
        const xml::Node title = section.selectSingleNode(QStringLiteral("title"));
        SCOPED_TRACE((title ? title.text() : section.selectSingleNode(QStringLiteral("code")).getAttribute("displayName")).toStdString());
        EXPECT_EQ(section.selectNodes(QStringLiteral("component/section")).length(), 3);
        EXPECT_EQ(section.selectNodes(QStringLiteral("component/section/text/table")).length(), 3);
        // Recent major changes are told in the highlights only: that section has no body text.
        const bool highlightsOnly = section.selectSingleNode(QStringLiteral("code")).getAttribute("code") == "43683-2";
        EXPECT_EQ(section.selectNodes(QStringLiteral("text/list[@listType='ordered']")).length(), highlightsOnly ? 0 : 1);
    }
    // Titles that two label formats share a section with (the Drug Facts "Uses" and the
    // prescription "INDICATIONS AND USAGE") may merge; every other title is a section.
    EXPECT_GE(sections, titles.size() - 4);
}
