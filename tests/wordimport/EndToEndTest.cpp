// The whole road a user takes: a new settings document with the label's general data, the
// Word label imported into it, the SPL file built from it, valid against the SPL schema and
// rendered by the SPL stylesheet.
#include "WordImportTestSupport.h"

#include "editor/document/SettingsDocument.h"
#include "generation/building/TransformSPLR4ToSPL.h"
#include "generation/reverse/ImportDataFromSPLFile.h"
#include "generation/reverse/frmUserSelection.h"
#include "platform/xml/resources/ResourceResolver.h"
#include "platform/xml/resources/SchemaValidator.h"
#include "platform/xml/resources/XsltProcessor.h"
#include "platform/core/AppPaths.h"
#include "support/DocxFixture.h"
#include "support/EditorTree.h"
#include "support/LabelComparison.h"
#include "support/SplLabelDocx.h"
#include "splbuilder/clsSPL.h"
#include "wordimport/ProductLabelImport.h"
#include "wordimport/SectionNumbering.h"
#include "wordimport/template/LabelTemplateDocument.h"

#include <QApplication>
#include <QComboBox>
#include <QJsonArray>
#include <QRegularExpression>

#include <array>

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
    // Its second row leaves the first grid column free.
    const QString indented = QStringLiteral("<w:tbl><w:tblGrid><w:gridCol/><w:gridCol/><w:gridCol/></w:tblGrid><w:tr>")
                             + cell(para("Drug")) + cell(para("Dose")) + cell(para("Note"))
                             + QStringLiteral("</w:tr><w:tr><w:trPr><w:gridBefore w:val=\"1\"/></w:trPr>")
                             + cell(para("10 mg")) + cell(para("daily")) + QStringLiteral("</w:tr></w:tbl>");
    return styled("Heading1", "INDICATIONS AND USAGE") + para("Before the tables.") + oneRow + para("Between the tables.")
           + withLists + para("After the tables.") + indented + para("Below.") + styled("Heading1", "CONTRAINDICATIONS")
           + para("None known.")
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

// The template title a label's section title stands for: the title itself, or the one it
// begins with before a " - " ("PRINCIPAL DISPLAY PANEL - 10 mg Bottle Label"); a typed
// section number aside. "" when it stands for none.
QString templateTitleOf(const QString& title, const QStringList& templateTitles)
{
    static const QRegularExpression number(QStringLiteral("^\\d+(\\.\\d+)*\\.?\\s+"));
    const QString plain = QString(title).remove(number).trimmed();
    for (const QString& candidate : templateTitles)
        if (plain.compare(candidate, Qt::CaseInsensitive) == 0
            || plain.startsWith(candidate + QStringLiteral(" - "), Qt::CaseInsensitive))
            return candidate;
    return {};
}

// Every section of the label titled as a template section (or a usual wording of one) gets
// the code the label gives it, but for the codes that differ defensibly, listed here.
QStringList sectionCodeDifferences(const xml::Document& settings, const QJsonObject& expected)
{
    // template title, the label's code, the import's code
    static const QList<std::array<QString, 3>> defensible = {
        // The label keeps the older code of patient information; the template has the newer one.
        {"PATIENT COUNSELING INFORMATION", "34076-0", "88436-1"},
        // Labels that code their OTC sections as description, unclassified or storage.
        {"Purpose", "34089-3", "55105-1"},
        {"Other information", "42229-5", "60561-8"},
        {"Other information", "44425-7", "60561-8"},
    };
    const QStringList templateTitles =
        label_template::sectionTitles(app_paths::inProgram(QStringLiteral("LabelDefinitions/TEMPLATE_SPL.xml")));
    QList<xml::Node> sections;
    for (const xml::Node& s : settings.selectNodes(QStringLiteral("SPLR4/ProductLabel/DocumentSections/Section")))
        sections << s;
    QStringList differences;
    for (const QJsonValue& value : expected.value(QStringLiteral("sections")).toArray()) {
        const QString title = value[QStringLiteral("title")].toString();
        const QString labelCode = value[QStringLiteral("code")].toString();
        const auto it = std::find_if(sections.begin(), sections.end(), [&](const xml::Node& s) {
            return s.selectSingleNode(QStringLiteral("SectionTitle")).text().compare(title, Qt::CaseInsensitive) == 0;
        });
        if (it == sections.end())
            continue;  // the comparison of the words reports a lost section
        const QString imported = it->selectSingleNode(QStringLiteral("SectionCode")).text();
        sections.erase(sections.begin(), it + 1);
        const QString templateTitle = templateTitleOf(title, templateTitles);
        if (templateTitle.isEmpty() || imported == labelCode)
            continue;
        const bool allowed = std::any_of(defensible.begin(), defensible.end(), [&](const auto& d) {
            return d[0].compare(templateTitle, Qt::CaseInsensitive) == 0 && d[1] == labelCode && d[2] == imported;
        });
        if (!allowed)
            differences << title + QStringLiteral(": ") + imported + QStringLiteral(", the label has ") + labelCode;
    }
    return differences;
}

// The label sections of an SPL document as a reader meets them, one line per section and per
// subsection: its code and its title ("-" where it has none), a subsection indented. With
// `numbered`, each titled one is given the number that numbering by position gives it.
QStringList readingOrder(const xml::Document& spl, bool numbered)
{
    QStringList lines;
    int number = 0;
    for (const xml::Node& section : spl.selectNodes(
             QStringLiteral("/document/component/structuredBody/component/section[not(code/@code='48780-1')]"))) {
        const QString code = section.selectSingleNode(QStringLiteral("code")).getAttribute(QStringLiteral("code"));
        const xml::Node title = section.selectSingleNode(QStringLiteral("title"));
        const QString n = title.isNull() ? QString() : QString::number(++number);
        lines << code + QLatin1Char(' ') + (title.isNull() ? QStringLiteral("-") : (numbered ? n + QStringLiteral(". ") : QString()) + title.text().simplified());
        int sub = 0;
        for (const xml::Node& subSection : section.selectNodes(QStringLiteral("component/section"))) {
            const xml::Node subTitle = subSection.selectSingleNode(QStringLiteral("title"));
            const QString prefix = numbered && !subTitle.isNull() ? n + QLatin1Char('.') + QString::number(++sub) + QLatin1Char(' ') : QString();
            lines << QStringLiteral("    ") + subSection.selectSingleNode(QStringLiteral("code")).getAttribute(QStringLiteral("code")) + QLatin1Char(' ')
                    + (subTitle.isNull() ? QStringLiteral("-") : prefix + subTitle.text().simplified());
        }
    }
    return lines;
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
    ASSERT_EQ(tables.length(), 3);
    EXPECT_EQ(tables.item(2).selectNodes(QStringLiteral("tbody/tr/td")).length(), 3);
    EXPECT_EQ(tables.item(2).selectSingleNode(QStringLiteral("tbody/tr/td[1]")).text(), "10 mg");
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
// numbers left to Word or typed into the headings) and as another producer writes it, comes
// back from the import with every heading, subsection, table, list item and picture and its
// words in order, its superscripts, subscripts and links, and its lists as deep as they were,
// and builds SPL that the schema accepts.
TEST_F(EndToEndTest, EveryRealLabelWrittenInWordComesBackWhole)
{
    const struct {
        SectionNumbers numbers;
        Producer producer;
        const char* name;
    } writers[] = {{SectionNumbers::LeftToWord, Producer::Word, ""},
                   {SectionNumbers::Typed, Producer::Word, " typed numbers"},
                   {SectionNumbers::LeftToWord, Producer::Other, " another producer"}};
    int labels = 0;
    for (const QString& splFile : splDocumentFiles()) {
        for (const auto& writer : writers) {
            const LabelDocx label = labelDocxFromSpl(splFile, writer.numbers, writer.producer);
            if (label.expected.value(QStringLiteral("sections")).toArray().isEmpty())
                continue;  // SPL without label text: indexing data, a labeler code request
            ++labels;
            SCOPED_TRACE(splFile.toStdString() + writer.name);
            delete editor;
            editor = nullptr;
            closeLog();
            newSettingsWithDataOf(splFile);
            editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/ProductLabel/WordDocument/ExcerptStyle")).setText(QStringLiteral("Title"));
            importLabel(save(label.docx));
            EXPECT_EQ(firstDifference(*editor->XMLDoc, label.expected, logLines()), QString());
            EXPECT_EQ(sectionCodeDifferences(*editor->XMLDoc, label.expected), QStringList());
            closeLog();
            expectValid(build());
        }
    }
    EXPECT_EQ(labels, 21);
}

// General data taken from an SPL file without a title (a labeler code request) leave no Title
// element; the title of a Word label imported afterwards is kept all the same.
TEST_F(EndToEndTest, TheTitleOfALabelImportedAfterTheDataOfAnUntitledSplFileIsKept)
{
    newSettingsWithDataOf(fixture(QStringLiteral("spl-documents/hl7-labeler-code-request/Labeler-Request-sample-spl.xml")));
    ASSERT_FALSE(editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/GeneralData/Title")));
    const xml::Node options = editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/ProductLabel/WordDocument"));
    options.selectSingleNode(QStringLiteral("ExcerptStyle")).setText(QStringLiteral("Title"));
    options.selectSingleNode(QStringLiteral("LoadDocumentTitle")).setText(QStringLiteral("Yes"));
    DocxParts parts;
    parts.styles = labelStyles();
    importLabel(save(docxFrom(styled("Title", "HIGHLIGHTS OF PRESCRIBING INFORMATION") + para("VELDRA tablets")
                                  + styled("Heading1", "INDICATIONS AND USAGE") + para("Indicated.") + para(""),
                              parts)));
    const xml::Node title = editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/GeneralData/Title"));
    ASSERT_TRUE(title) << logLines().join('\n').toStdString();
    EXPECT_EQ(title.text().trimmed(), "VELDRA tablets");
}

// A Word label without highlights (an OTC label headed "Drug Facts", a label written without
// them) gives no title: the title the general data brought from the label's SPL file stays,
// and the log says why.
TEST_F(EndToEndTest, TheTitleFromTheSplFileStaysWhenTheWordLabelHasNone)
{
    DocxParts parts;
    parts.styles = labelStyles();
    const QString drugFacts = save(docxFrom(styled("Title", "Drug Facts") + para("Cough syrup")
                                                + styled("Heading1", "Uses") + para("Temporarily relieves cough."),
                                            parts),
                                   QStringLiteral("drug-facts.docx"));
    struct Label {
        QString docx;
        const char* spl;
    };
    for (const Label& label : {Label{drugFacts, "openfda-cough-otc/cough.xml"},
                               Label{fixture(QStringLiteral("docx/labels/cough-otc.docx")), "openfda-cough-otc/cough.xml"},
                               Label{fixture(QStringLiteral("docx/labels/lipitor-rx-resaved.docx")),
                                     "openfda-lipitor-rx/lipitor-orig.xml"}}) {
        SCOPED_TRACE(label.docx.toStdString());
        delete editor;
        editor = nullptr;
        closeLog();
        newSettingsWithDataOf(fixture(QStringLiteral("spl-documents/") + QLatin1String(label.spl)));
        const xml::Node options = editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/ProductLabel/WordDocument"));
        options.selectSingleNode(QStringLiteral("ExcerptStyle")).setText(QStringLiteral("Title"));
        options.selectSingleNode(QStringLiteral("LoadDocumentTitle")).setText(QStringLiteral("Yes"));
        const QString fromSpl = editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/GeneralData/Title")).text();
        ASSERT_FALSE(fromSpl.trimmed().isEmpty());

        importLabel(label.docx);

        EXPECT_EQ(editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/GeneralData/Title")).text(), fromSpl);
        EXPECT_EQ(logLines().filter(QStringLiteral("No document title was found in the Word document")).size(), 1);
        EXPECT_TRUE(logLines().filter(QStringLiteral("Setting Document Title")).isEmpty());
    }
}

// Numbering a real label by position twice numbers every section and its subsections in the
// label's order, 1 up, twice; the LOINC codes looked up afterwards are still those of the
// titles' words.
TEST_F(EndToEndTest, ALabelNumberedTwiceKeepsItsOrderAndItsSectionCodes)
{
    const QString splFile = fixture(QStringLiteral("spl-documents/openfda-viagra-rx-with-images/64f8040f-938d-4236-8e22-c838c9b5f8da.xml"));
    newSettingsWithDataOf(splFile);
    editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/ProductLabel/WordDocument/ExcerptStyle")).setText(QStringLiteral("Title"));
    importLabel(save(labelDocxFromSpl(splFile).docx));
    const auto subsections = [this] {
        QList<QStringList> titles, codes;
        for (const xml::Node& section : editor->XMLDoc->selectNodes(QStringLiteral("//DocumentSections/Section"))) {
            titles.append({section.selectSingleNode(QStringLiteral("SectionTitle")).text()});
            codes.append(QStringList());
            for (const xml::Node& sub : section.selectNodes(QStringLiteral("component/section"))) {
                titles.last() << sub.selectSingleNode(QStringLiteral("title")).text();
                codes.last() << sub.selectSingleNode(QStringLiteral("code")).getAttribute(QStringLiteral("code"));
            }
        }
        return std::pair{titles, codes};
    };
    const auto [titles, codes] = subsections();
    ASSERT_GE(titles.size(), 10);

    ProductLabelAddSectionNumbers(*editor->XMLDoc, QStringLiteral("."));
    ProductLabelAddSectionNumbers(*editor->XMLDoc, QStringLiteral("."));
    clsSPL().ProcessLoincCodes(editor->XMLDoc.get());

    QList<QStringList> numbered;
    for (qsizetype i = 0; i < titles.size(); ++i) {
        const QString n = QString::number(i + 1);
        numbered.append({n + ". " + n + ". " + titles[i][0]});
        for (qsizetype j = 1; j < titles[i].size(); ++j) {
            const QString m = n + '.' + QString::number(j);
            numbered.last() << m + ' ' + m + ' ' + titles[i][j];
        }
    }
    EXPECT_EQ(subsections().first, numbered);
    EXPECT_EQ(subsections().second, codes);
}

// The road of a label that exists as SPL: its data and its sections imported from the SPL
// file, numbered by position, built. The sections stand in the settings, and so in the built
// label, in the label's order; the numbers go 1 up in that order, and a section or
// subsection without a title is named in a warning and left unnumbered. The log lists every
// title as it is written.
TEST_F(EndToEndTest, SectionsImportedFromAnSplFileAreNumberedInTheOrderTheLabelIsRead)
{
    struct Label {
        const char* file;
        const char* oneUntitled;
    };
    for (const Label& label : {Label{"openfda-lipitor-rx/lipitor-orig.xml", "Subsection 1 of section 16"},
                               Label{"openfda-cough-otc/cough.xml", "Subsection 2 of section 9"}}) {
        SCOPED_TRACE(label.file);
        const QString splFile = fixture(QStringLiteral("spl-documents/") + QLatin1String(label.file));
        delete editor;
        newSettingsWithDataOf(splFile);
        importData(nodeByCaption(editor, QStringLiteral("Document Sections")), splFile);
        closeLog();
        ProductLabelAddSectionNumbers(*editor->XMLDoc, QStringLiteral("."));
        const QStringList log = logLines();
        QStringList written;  // as the log lists them: a subsection's indented
        for (const xml::Node& section : editor->XMLDoc->selectNodes(QStringLiteral("//DocumentSections/Section"))) {
            for (const xml::Node& title : section.selectNodes(QStringLiteral("SectionTitle")))
                written << line(QStringLiteral("Processing"), title.text());
            for (const xml::Node& title : section.selectNodes(QStringLiteral("component/section/title")))
                written << line(QStringLiteral("Processing"), QStringLiteral("     ") + title.text());
        }
        EXPECT_EQ(log.filter(QRegularExpression(QStringLiteral("^Processing"))), written);
        xml::Document original, built;
        ASSERT_TRUE(original.load(splFile));
        ASSERT_TRUE(built.load(build()));

        EXPECT_EQ(readingOrder(built, false), readingOrder(original, true));
        EXPECT_TRUE(linesOf(log, QStringLiteral("Error")).isEmpty()) << log.join('\n').toStdString();
        const QStringList warnings = linesOf(log, QStringLiteral("Warning"));
        EXPECT_EQ(warnings.size(), readingOrder(original, false).filter(QRegularExpression(QStringLiteral(" -$"))).size());
        EXPECT_TRUE(warnings.contains(QLatin1String(label.oneUntitled) + QStringLiteral(" has no title; it is not numbered")))
            << warnings.join('\n').toStdString();
    }
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

namespace {

// Styles, lists and a picture of the kind real labels carry: list styles (one inherited
// through basedOn), a numbering style that a linked list takes its levels from, and a
// heading whose id is not the English one.
DocxParts realWordParts()
{
    DocxParts parts;
    const auto numbered = [](int numId, const QString& more = QString()) {
        return QStringLiteral("<w:pPr><w:numPr>%1<w:numId w:val=\"%2\"/></w:numPr></w:pPr>").arg(more).arg(numId);
    };
    parts.styles =
        labelStyles()
        + "<w:style w:type=\"paragraph\" w:styleId=\"berschrift1\"><w:name w:val=\"heading 1\"/></w:style>"
          "<w:style w:type=\"paragraph\" w:styleId=\"ListBullet\"><w:name w:val=\"List Bullet\"/>" + numbered(1) + "</w:style>"
          "<w:style w:type=\"paragraph\" w:styleId=\"ListNumber\"><w:name w:val=\"List Number\"/>"
        + numbered(2, "<w:ilvl w:val=\"0\"/>") + "</w:style>"
          "<w:style w:type=\"paragraph\" w:customStyle=\"1\" w:styleId=\"LabelBullet\"><w:name w:val=\"Label Bullet\"/>"
          "<w:basedOn w:val=\"ListBullet\"/></w:style>"
          "<w:style w:type=\"paragraph\" w:styleId=\"ListParagraph\"><w:name w:val=\"List Paragraph\"/></w:style>"
          "<w:style w:type=\"numbering\" w:customStyle=\"1\" w:styleId=\"LabelList\"><w:name w:val=\"Label List\"/>"
        + numbered(4) + "</w:style>";
    const auto level = [](int ilvl, const char* format, const QString& text, const char* font) {
        return QStringLiteral("<w:lvl w:ilvl=\"%1\"><w:start w:val=\"1\"/><w:numFmt w:val=\"%2\"/><w:lvlText w:val=\"%3\"/>"
                              "<w:rPr><w:rFonts w:ascii=\"%4\" w:hAnsi=\"%4\"/></w:rPr></w:lvl>")
            .arg(ilvl).arg(QLatin1String(format), text, QLatin1String(font));
    };
    parts.numbering = "<w:abstractNum w:abstractNumId=\"0\">" + level(0, "bullet", QChar(0xF0B7), "Symbol")
                      + level(1, "bullet", QChar(0xF0A7), "Wingdings") + "</w:abstractNum>"
                      + "<w:abstractNum w:abstractNumId=\"1\">" + level(0, "decimal", "%1.", "Arial") + "</w:abstractNum>"
                      + "<w:abstractNum w:abstractNumId=\"2\"><w:numStyleLink w:val=\"LabelList\"/></w:abstractNum>"
                      + "<w:abstractNum w:abstractNumId=\"3\"><w:styleLink w:val=\"LabelList\"/>"
                      + level(0, "bullet", QChar(0xF0A7), "Wingdings") + "</w:abstractNum>"
                      + "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>"
                        "<w:num w:numId=\"2\"><w:abstractNumId w:val=\"1\"/></w:num>"
                        "<w:num w:numId=\"3\"><w:abstractNumId w:val=\"2\"/></w:num>"
                        "<w:num w:numId=\"4\"><w:abstractNumId w:val=\"3\"/></w:num>"
                        "<w:abstractNum w:abstractNumId=\"5\"><w:lvl w:ilvl=\"0\"><w:numFmt w:val=\"bullet\"/>"
                        "<w:lvlText w:val=\"\"/><w:lvlPicBulletId w:val=\"0\"/></w:lvl></w:abstractNum>"
                        "<w:num w:numId=\"5\"><w:abstractNumId w:val=\"5\"/></w:num>";
    parts.relationships = relationship("rIdImg", "image", "media/a.png")
                          + relationship("rIdLink", "hyperlink", "https://example.org/", true);
    parts.parts.insert("word/media/a.png", pngBytes(4, 2, 0x00ff00));
    const auto notes = [](const char* kind, const QString& inner) {
        return QStringLiteral("<w:%1s xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
                              "<w:%1 w:type=\"separator\" w:id=\"-1\"><w:p><w:r><w:separator/></w:r></w:p></w:%1>%2</w:%1s>")
            .arg(QLatin1String(kind), inner)
            .toUtf8();
    };
    parts.parts.insert("word/footnotes.xml",
                       notes("footnote", "<w:footnote w:id=\"1\"><w:p><w:r><w:footnoteRef/></w:r><w:r><w:t xml:space=\"preserve\">"
                                         " Seen in adults</w:t></w:r></w:p><w:p><w:r><w:t>over 65</w:t></w:r></w:p></w:footnote>"));
    parts.parts.insert("word/endnotes.xml",
                       notes("endnote", "<w:endnote w:id=\"2\"><w:p><w:r><w:endnoteRef/></w:r><w:r><w:t>Counted once"
                                        "</w:t></w:r></w:p></w:endnote>"));
    parts.relationships += relationship("rIdFoot", "footnotes", "footnotes.xml") + relationship("rIdEnd", "endnotes", "endnotes.xml");
    return parts;
}

QString styledRun(const QString& styleId, const QString& runs)
{
    return QStringLiteral("<w:p><w:pPr><w:pStyle w:val=\"%1\"/></w:pPr>%2</w:p>").arg(styleId, runs);
}

// A DrawingML object, in line or floating ("inline", "anchor"), of that graphic (uri ending).
QString drawing(const char* placement, const char* graphic, const QString& content)
{
    return QStringLiteral("<w:drawing><wp:%1><wp:extent cx=\"914400\" cy=\"457200\"/><wp:docPr id=\"1\" name=\"d\"/><a:graphic>"
                          "<a:graphicData uri=\"http://schemas.example/%2\">%3</a:graphicData></a:graphic></wp:%1></w:drawing>")
        .arg(QLatin1String(placement), QLatin1String(graphic), content);
}

const QString pictureData = "<pic:pic><pic:blipFill><a:blip r:embed=\"rIdImg\"/></pic:blipFill></pic:pic>";

QString picture(const char* placement)
{
    return drawing(placement, "picture", pictureData);
}

QString textBox(const QString& blocks)
{
    return drawing("anchor", "wordprocessingShape", "<wps:wsp><wps:txbx><w:txbxContent>" + blocks + "</w:txbxContent></wps:txbx></wps:wsp>");
}

// A floating group of a picture and a text box, as a callout is drawn.
QString drawnGroup(const QString& blocks)
{
    return drawing("anchor", "wordprocessingGroup",
                   "<wpg:wgp xmlns:wpg=\"http://schemas.microsoft.com/office/word/2010/wordprocessingGroup\">" + pictureData
                       + "<wps:wsp><wps:txbx><w:txbxContent>" + blocks + "</w:txbxContent></wps:txbx></wps:wsp></wpg:wgp>");
}

QString vmlTextBox(const QString& blocks)
{
    return "<w:pict><v:shape style=\"position:absolute;width:72pt;height:36pt\"><v:textbox><w:txbxContent>" + blocks
           + "</w:txbxContent></v:textbox></v:shape></w:pict>";
}

// A table whose first row holds these cells, and a second row an empty one.
QString tableOf(const QString& cells)
{
    return "<w:tbl><w:tr>" + cells + "</w:tr><w:tr><w:tc><w:p/></w:tc></w:tr></w:tbl>";
}

QString cell(const QString& blocks)
{
    return "<w:tc>" + blocks + "</w:tc>";
}

} // namespace

// Constructs that real Word documents are full of and small test files lack: every word,
// list item, picture and table of them reaches the built label, in order, and nothing twice;
// all of them in one label come through the settings document into valid SPL.
TEST_F(EndToEndTest, RealWordConstructsKeepTheirWordsListsAndPictures)
{
    const DocxParts parts = realWordParts();
    const QString r = "<w:r><w:t xml:space=\"preserve\">%1</w:t></w:r>";
    const QString img = "<w:r>" + picture("inline") + "</w:r>";
    const struct {
        const char* name;
        QString body;
        QString words;          // all of them, in this order, and no others
        QStringList items = {}; // every list item outside tables: list type, ":" and its text
        int pictures = 0;
        int tables = 0;
    } cases[] = {
        {"lists numbered by a style, through basedOn, by List Paragraph, a numbering style, or turned off",
         styled("ListBullet", "Aspirin") + styled("LabelBullet", "Rash")
             + para("Nested", "<w:pStyle w:val=\"ListBullet\"/><w:numPr><w:ilvl w:val=\"1\"/></w:numPr>")
             + para("Linked", "<w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"3\"/></w:numPr>") + styled("ListNumber", "Take")
             + para("Fever", "<w:pStyle w:val=\"ListParagraph\"/><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"2\"/></w:numPr>")
             + para("Plain", "<w:pStyle w:val=\"ListBullet\"/><w:numPr><w:numId w:val=\"0\"/></w:numPr>"),
         "Aspirin Rash Nested Linked Take Fever Plain",
         {"unordered:Aspirin", "unordered:Rash", "unordered:Nested", "unordered:Linked", "ordered:Take", "ordered:Fever"}},
        {"picture bullets", para("Pictured", "<w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"5\"/></w:numPr>"),
         "Pictured", {"unordered:Pictured"}},
        {"pictures in list items, headings and beside text in a cell",
         "<w:p><w:pPr><w:pStyle w:val=\"ListBullet\"/></w:pPr>" + img + r.arg("First") + "</w:p>"
             + "<w:p><w:pPr><w:pStyle w:val=\"ListBullet\"/></w:pPr>" + r.arg("Second") + img + "</w:p>"
             + styledRun("Heading2", r.arg("Carton") + img) + para("Below")
             + tableOf(cell("<w:p>" + r.arg("Figure one") + img + "</w:p>")),
         "First Second Carton Below Figure one", {"unordered:First", "unordered:Second"}, 4, 1},
        {"content controls, smart tags, custom XML, tracked changes, fields, links and alternate content",
         "<w:sdt><w:sdtContent>" + para("Blocked") + "</w:sdtContent></w:sdt><w:customXml>" + para("Wrapped")
             + "</w:customXml><w:p><w:sdt><w:sdtContent>" + r.arg("inside ") + "</w:sdtContent></w:sdt><w:smartTag>"
             + r.arg("Tagged ") + "</w:smartTag><w:ins>" + r.arg("inserted ") + "</w:ins><w:del><w:r><w:delText>deleted"
             "</w:delText></w:r></w:del><w:moveFrom><w:r><w:t>movedaway</w:t></w:r></w:moveFrom><w:moveTo>" + r.arg("moved ")
             + "</w:moveTo><w:fldSimple w:instr=\" PAGE \">" + r.arg("seven ") + "</w:fldSimple><w:r><w:fldChar "
             "w:fldCharType=\"begin\"/><w:instrText> REF _Ref1 \\h </w:instrText><w:fldChar w:fldCharType=\"separate\"/></w:r>"
             + r.arg("Section two ") + "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r><w:bookmarkStart w:id=\"1\" w:name=\"dose\"/>"
             "<w:hyperlink r:id=\"rIdLink\">" + r.arg("example site ") + "</w:hyperlink><w:bookmarkEnd w:id=\"1\"/>"
             "<mc:AlternateContent><mc:Choice Requires=\"wps\">" + r.arg("Chosen") + "</mc:Choice><mc:Fallback>"
             + r.arg("Chosen") + "</mc:Fallback></mc:AlternateContent></w:p>",
         "Blocked Wrapped inside Tagged inserted moved seven Section two example site Chosen"},
        {"symbols, hyphens, tabs and breaks keep words apart",
         "<w:p>" + r.arg("dose") + "<w:r><w:sym w:font=\"Symbol\" w:char=\"F0B3\"/></w:r>" + r.arg("2 once")
             + "<w:r><w:noBreakHyphen/></w:r>" + r.arg("daily pedi") + "<w:r><w:softHyphen/></w:r>" + r.arg("atric")
             + "<w:r><w:tab/></w:r>" + r.arg("tabbed") + "<w:r><w:cr/></w:r>" + r.arg("returned") + "<w:r><w:br w:type=\"page\"/></w:r>"
             + r.arg("paged") + "<w:r><w:br w:type=\"column\"/></w:r>" + r.arg("columned") + "</w:p>",
         "dose 2 once daily pediatric tabbed returned paged columned"},
        {"pictures in line and floating", "<w:p>" + img + "<w:r>" + picture("anchor") + "</w:r>" + r.arg("Carton") + "</w:p>",
         "Carton", {}, 2},
        {"a picture inside alternate content, read once",
         "<w:p><w:r><mc:AlternateContent><mc:Choice Requires=\"wps\">" + picture("anchor")
             + "</mc:Choice><mc:Fallback><w:pict><v:shape style=\"width:72pt;height:36pt\"><v:imagedata r:id=\"rIdImg\"/>"
               "</v:shape></w:pict></mc:Fallback></mc:AlternateContent></w:r></w:p>",
         "", {}, 1},
        {"a legacy picture", "<w:p><w:r><w:pict><v:shape style=\"width:72pt;height:36pt\"><v:imagedata r:id=\"rIdImg\"/>"
                             "</v:shape></w:pict></w:r></w:p>",
         "", {}, 1},
        {"a picture in a table", tableOf(cell(para("Label")) + cell("<w:p>" + img + "</w:p>")), "Label", {}, 1, 1},
        {"text boxes keep their text, their pictures and their lists",
         "<w:p>" + r.arg("Anchor ") + "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\">"
             + textBox(para("Boxed words") + "<w:p>" + img + "</w:p>" + styled("ListBullet", "Boxed item"))
             + "</mc:Choice><mc:Fallback>" + vmlTextBox(para("Boxed words")) + "</mc:Fallback></mc:AlternateContent></w:r></w:p>"
             + "<w:p><w:r>" + vmlTextBox(para("Legacy box")) + "</w:r></w:p>",
         "Anchor Boxed words Boxed item Legacy box", {"unordered:Boxed item"}, 1},
        {"a drawn group's pictures and text boxes",
         "<w:p><w:r>" + drawnGroup(para("Callout")) + "</w:r></w:p><w:p><w:r><w:pict><v:group style=\"width:72pt;height:72pt\">"
             "<v:shape style=\"width:500;height:500\"><v:imagedata r:id=\"rIdImg\"/></v:shape><v:shape><v:textbox><w:txbxContent>"
             + para("Legacy callout") + "</w:txbxContent></v:textbox></v:shape></v:group></w:pict></w:r></w:p>",
         "Callout Legacy callout", {}, 2},
        {"tables inside content controls, nested tables and controls in cells",
         "<w:sdt><w:sdtContent>" + tableOf(cell(para("Outer")) + cell(tableOf(cell(para("Inner"))) + para("")))
             + "</w:sdtContent></w:sdt>" + para("Between")
             + tableOf(cell("<w:sdt><w:sdtContent>" + para("Controlled") + "</w:sdtContent></w:sdt>")),
         "Outer Inner Between Controlled", {}, 0, 2},
        {"a title that names no section is text of the section it stands in",
         para("Before") + styled("Title", "Dosing Card") + para("Read this card") + styled("Title", "Dosing Card")
             + styled("Heading2", "Adults") + styled("Title", "Adult Card") + para("Read it too"),
         "Before Dosing Card Read this card Dosing Card Adults Adult Card Read it too"},
        {"footnotes and endnotes",
         "<w:p>" + r.arg("Nausea") + "<w:r><w:rPr><w:vertAlign w:val=\"superscript\"/></w:rPr>"
             "<w:footnoteReference w:id=\"1\"/></w:r>" + r.arg(" rate") + "</w:p>"
             + tableOf(cell("<w:p>" + r.arg("Dose") + "<w:r><w:endnoteReference w:id=\"2\"/></w:r></w:p>")),
         "Nausea Seen in adults over 65 rate Dose Counted once", {}, 0, 1},
        {"an outline level alone makes no heading: its words stay in the section before",
         para("Outlined", "<w:outlineLvl w:val=\"0\"/>") + para("After"), "Outlined After"},
        {"a list ends where a table starts", styled("ListBullet", "Listed") + tableOf(cell(styled("ListBullet", "Celled"))),
         "Listed Celled", {"unordered:Listed"}, 0, 1},
        {"a heading in a table opens its section and stays in the table",
         tableOf(cell(styled("Heading1", "WARNING: BOXED") + para("Boxed text"))) + para("Outside"),
         "WARNING BOXED WARNING BOXED Boxed text Outside", {}, 0, 1},
        {"a heading known by its style's name, split over runs, bookmarks and fields",
         styledRun("berschrift1", "<w:bookmarkStart w:id=\"5\" w:name=\"_Toc1\"/>" + r.arg("WARNINGS") + "<w:bookmarkEnd w:id=\"5\"/>"
                                      + r.arg(" AND ") + "<w:fldSimple w:instr=\" QUOTE x \">" + r.arg("PRECAUTIONS")
                                      + "</w:fldSimple>") + para("Careful.")
             + styledRun("Heading2", r.arg("Long") + "<w:r><w:noBreakHyphen/></w:r>" + r.arg("term use")) + para("Rarely."),
         "WARNINGS AND PRECAUTIONS Careful Long term use Rarely"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        closeLog();
        clsWord word;
        const std::optional<xml::Document> spl =
            convert(word, save(docxFrom(styled("Heading1", "INDICATIONS AND USAGE") + c.body + para(""), parts)));
        ASSERT_TRUE(spl) << logLines().join('\n').toStdString();
        const xml::Node body = spl->selectSingleNode("document/component/structuredBody");
        QStringList texts;  // node by node: no text node here ends inside a word
        for (const xml::Node& text : body.selectNodes(".//text()"))
            texts << text.text();
        EXPECT_EQ(wordsOf(texts.join(' ')), wordsOf("INDICATIONS AND USAGE " + c.words));
        QStringList items;
        for (const xml::Node& item : body.selectNodes(".//list/item")) {
            bool inCell = false;  // lists in table cells are another test's
            for (xml::Node up = item.parentNode(); up && !inCell; up = up.parentNode())
                inCell = up.localName() == QLatin1String("td");
            QString own;  // a deeper list inside the item holds items of its own
            for (const xml::Node& child : item.childNodes())
                if (child.localName() != QLatin1String("list"))
                    own += child.text();
            if (!inCell)
                items << item.parentNode().getAttribute("listType") + ":" + own.simplified();
        }
        EXPECT_EQ(items, c.items);
        EXPECT_EQ(body.selectNodes(".//observationMedia").length(), c.pictures);
        for (const xml::Node& title : body.selectNodes(".//section/title"))
            EXPECT_FALSE(title.text().contains('/')) << title.text().toStdString();  // a picture's character
        EXPECT_EQ(body.selectNodes(".//table").length(), c.tables);
        EXPECT_EQ(body.selectNodes(".//sup/*").length() + body.selectNodes(".//sub/*").length(), 0);  // text only
    }
    QString label = styled("Heading1", "INDICATIONS AND USAGE");
    for (const auto& c : cases)
        label += c.body;
    newSettingsWithDataOf(fixture(QStringLiteral("spl-documents/openfda-lipitor-rx/lipitor-orig.xml")));
    expectValid(importAndBuild(save(docxFrom(label + para(""), parts), QStringLiteral("whole.docx"))));
}
