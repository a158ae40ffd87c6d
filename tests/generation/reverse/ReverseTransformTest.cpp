#include "generation/CheckingTestSupport.h"

#include "app/Hooks.h"
#include "app/log/Log.h"
#include "app/window/frmMain.h"
#include "editor/document/EditorRoom.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "editor/window/EditorHooks.h"
#include "editor/window/InstallEditorHooks.h"
#include "generation/InstallCheckingHooks.h"
#include "generation/reverse/ImportDataFromSPLFile.h"
#include "generation/reverse/ReverseTransform.h"
#include "generation/reverse/frmUserSelection.h"
#include "platform/xml/tree/Document.h"
#include "support/Fixtures.h"
#include "support/SkippedErrors.h"
#include "support/XmlDocument.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

using namespace veldra;
using veldra::test::documentFrom;

namespace {

const QString Settings = QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<SPLR4 Word2SPLID="k0">
  <GeneralData Word2SPLID="k1"><DocumentID Word2SPLID="k2">old-id</DocumentID><Title Word2SPLID="k3">Old title</Title></GeneralData>
  <Labeler Word2SPLID="k4"><LabelerName Word2SPLID="k5">Old labeler</LabelerName></Labeler>
  <Products Word2SPLID="k6"><Product Word2SPLID="k7"><NDCProductCode Word2SPLID="k8">1</NDCProductCode></Product></Products>
</SPLR4>)");

QString label(const QString& folder, const QString& file)
{
    return test::fixture(QStringLiteral("spl-documents/") + folder + QLatin1Char('/') + file);
}

QStringList texts(const xml::Document& document, const QString& query)
{
    QStringList all;
    for (const xml::Node& node : document.selectNodes(query))
        all << node.text();
    return all;
}

QStringList childNames(const xml::Node& node)
{
    QStringList names;
    for (const xml::Node& child : node.childNodes())
        names << child.nodeName();
    return names;
}

// Records the pick-one dialog's questions and answers each with the next scripted answer
// (std::nullopt: Cancel).
class PickOneScript {
public:
    explicit PickOneScript(std::deque<std::optional<QString>> answers) : answers_(std::move(answers))
    {
        setUserSelectionAnswerForTesting([this](frmUserSelection& form) {
            QStringList items;
            for (int i = 0; i < form.cboUserSelection->count(); ++i)
                items << form.cboUserSelection->itemText(i);
            infos << form.lblUserInfo->text();
            choices << items;
            const std::optional<QString> answer = answers_.empty() ? std::nullopt : answers_.front();
            if (!answers_.empty())
                answers_.pop_front();
            if (answer) {
                form.cboUserSelection->setCurrentText(*answer);
                form.cmdOK->click();
            } else {
                form.cmdCancel->click();
            }
        });
    }
    ~PickOneScript() { setUserSelectionAnswerForTesting({}); }

    QStringList infos;
    QList<QStringList> choices;

private:
    std::deque<std::optional<QString>> answers_;
};

class ReverseTransformTest : public test::CheckingTest {
protected:
    void SetUp() override { UserSelection.clear(); }

    // Imports `splFile` into the element behind the node captioned `caption`.
    void importInto(frmXMLEditor* editor, const QString& caption, const QString& splFile)
    {
        ASSERT_NE(select(editor, caption), nullptr) << caption.toStdString();
        ui.openFiles.push_back(splFile);
        ImportDataFromSPLFile(editor, editor->TreeView);
    }

    // The menu commands reach the import as in the program; the hook tables are put back after.
    void installMenuHooks()
    {
        savedHooks_ = hooks();
        savedEditorHooks_ = editorHooks();
        installEditorHooks();
        installCheckingHooks();
    }
    ~ReverseTransformTest() override
    {
        if (savedHooks_)
            hooks() = *savedHooks_;
        if (savedEditorHooks_)
            editorHooks() = *savedEditorHooks_;
    }

private:
    std::optional<Hooks> savedHooks_;
    std::optional<EditorHooks> savedEditorHooks_;
};

TEST_F(ReverseTransformTest, ReadsTheHeaderAndLabelerOfEveryFixtureLabel)
{
    const QList<QPair<QString, QString>> labels = {
        {QStringLiteral("openfda-lipitor-rx"), QStringLiteral("lipitor-orig.xml")},
        {QStringLiteral("openfda-lipitor-repackager"), QStringLiteral("lipitor-repack.xml")},
        {QStringLiteral("openfda-cough-otc"), QStringLiteral("cough.xml")},
        {QStringLiteral("openfda-no-title-rx"), QStringLiteral("no-title.xml")},
        {QStringLiteral("openfda-sunscreen-otc"), QStringLiteral("a4e3211d-f25b-4e3e-b39d-028de892f165.xml")},
        {QStringLiteral("openfda-viagra-rx-with-images"), QStringLiteral("64f8040f-938d-4236-8e22-c838c9b5f8da.xml")},
        {QStringLiteral("pharmadb-rogaine-otc-with-image"), QStringLiteral("ab36b844-19de-4340-b32b-5e3abdaa5895.xml")}};
    for (const auto& [folder, file] : labels) {
        SCOPED_TRACE(file.toStdString());
        frmXMLEditor* editor = openEditor(Settings);
        const QString path = label(folder, file);
        xml::Document spl;
        ASSERT_TRUE(spl.load(path));

        importInto(editor, QStringLiteral("General Data"), path);
        importInto(editor, QStringLiteral("Labeler"), path);

        const xml::Document& settings = *editor->XMLDoc;
        EXPECT_EQ(texts(settings, QStringLiteral("SPLR4/GeneralData/DocumentID")),
                  QStringList{spl.selectSingleNode(QStringLiteral("/document/id/@root")).text()});
        EXPECT_EQ(texts(settings, QStringLiteral("SPLR4/GeneralData/EffectiveTime")),
                  QStringList{spl.selectSingleNode(QStringLiteral("/document/effectiveTime/@value")).text()});
        EXPECT_EQ(texts(settings, QStringLiteral("SPLR4/GeneralData/DocumentTypeDisplayName")),
                  QStringList{spl.selectSingleNode(QStringLiteral("/document/code/@displayName")).text()});
        const QString title = spl.selectSingleNode(QStringLiteral("/document/title")).text();
        EXPECT_EQ(texts(settings, QStringLiteral("SPLR4/GeneralData/Title")),
                  title.isEmpty() ? QStringList() : QStringList{title});
        EXPECT_EQ(texts(settings, QStringLiteral("SPLR4/Labeler/LabelerName")),
                  QStringList{spl.selectSingleNode(QStringLiteral("/document/author/assignedEntity/representedOrganization/name")).text()});
        // The rest of the document is untouched.
        EXPECT_EQ(texts(settings, QStringLiteral("SPLR4/Products/Product/NDCProductCode")), QStringList{"1"});
        EXPECT_TRUE(logHas(QStringLiteral("Information"), QStringLiteral("Import from SPL File completed: ") + path));
        EXPECT_FALSE(editor->Saved);
        EXPECT_NE(node(editor, QStringLiteral("Document ID: ") + texts(settings, "SPLR4/GeneralData/DocumentID").value(0)),
                  nullptr);
        closeLog();
    }
    EXPECT_EQ(ui.messages.first().text,
              QStringLiteral("Are you sure you want to import data for 'General Data' from SPL File:\r\n")
                  + label(labels[0].first, labels[0].second));
    EXPECT_EQ(ui.messages.first().icon, ui::Icon::Question);
}

TEST_F(ReverseTransformTest, ImportsTheProductPickedOnceForAllItsEntries)
{
    frmXMLEditor* editor = openEditor(Settings);
    PickOneScript pick({QStringLiteral("0071-0156")});

    importInto(editor, QStringLiteral("Product"), label(QStringLiteral("openfda-lipitor-rx"), QStringLiteral("lipitor-orig.xml")));

    ASSERT_EQ(pick.choices.size(), 1);
    EXPECT_EQ(pick.choices[0], QStringList({"0071-0155", "0071-0156", "0071-0157", "0071-0158"}));
    EXPECT_EQ(pick.infos[0], QStringLiteral("Select the NDC product code of the product to import"));

    const xml::Document& settings = *editor->XMLDoc;
    EXPECT_EQ(texts(settings, QStringLiteral("SPLR4/Products/Product/NDCProductCode")), QStringList{"0071-0156"});
    EXPECT_EQ(texts(settings, QStringLiteral("SPLR4/Products/Product/ProprietaryName")), QStringList{"Lipitor"});
    EXPECT_EQ(texts(settings, QStringLiteral("SPLR4/Products/Product/DosageFormDisplayName")),
              QStringList{"TABLET, FILM COATED"});
    // One copy per ingredient of the picked product, in the label's order; the empty
    // definition pattern is gone.
    const QStringList uniis = texts(settings, QStringLiteral("SPLR4/Products/Product/Ingredient/IngredientUNIICode"));
    ASSERT_EQ(uniis.size(), 13);
    EXPECT_EQ(uniis.first(), QStringLiteral("48A5M73Z4Q"));
    EXPECT_EQ(texts(settings, QStringLiteral("SPLR4/Products/Product/Ingredient[IngredientRole=\"ACTIM\"]/StrengthNumerator")),
              QStringList{"20"});
    EXPECT_EQ(settings.selectNodes(QStringLiteral("SPLR4/Products/Product/Ingredient")).length(), 13);
}

// A Product as a user left it, with its values and its colour, for the shipped definitions.
const QString ColouredProduct = QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<SPLR4 Word2SPLID="k0"><Products Word2SPLID="k1"><Product Word2SPLID="k2" Color="255">
<NDCProductCode Word2SPLID="k3">0071-0155</NDCProductCode><ProprietaryName Word2SPLID="k4">Mine</ProprietaryName>
<NonProprietaryName Word2SPLID="k5">mine</NonProprietaryName></Product></Products></SPLR4>)");

// The Lipitor label with the NDC code of its 80 mg product replaced by `code` (as written in
// an attribute between double quotes).
QString lipitorWithCode(const QString& code)
{
    return test::readTextFile(label(QStringLiteral("openfda-lipitor-rx"), QStringLiteral("lipitor-orig.xml")))
        .replace(QStringLiteral("code=\"0071-0158\""), QStringLiteral("code=\"") + code + QLatin1Char('"'));
}

// A picked code is compared as one text: quotes and query text in it select nothing more.
TEST_F(ReverseTransformTest, APickedCodeSelectsOnlyTheProductThatCarriesItWhateverQuotesItHolds)
{
    program.useShippedDefinitions();
    const struct {
        QString picked;
        QString inAttribute;
    } rows[] = {
        {"0071-0158' or manufacturedProduct/manufacturedProduct/code/@code!='",
         "0071-0158' or manufacturedProduct/manufacturedProduct/code/@code!='"},
        {"0071-0158\" or manufacturedProduct/manufacturedProduct/code/@code!=\"",
         "0071-0158&quot; or manufacturedProduct/manufacturedProduct/code/@code!=&quot;"},
        {"0071-0158'\" or code/@code!=\"'", "0071-0158'&quot; or code/@code!=&quot;'"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.picked.toStdString());
        const QString file = writeFile(QStringLiteral("hostile.xml"), lipitorWithCode(row.inAttribute));
        frmXMLEditor* editor = openEditor(ColouredProduct);
        PickOneScript pick({row.picked});

        importInto(editor, QStringLiteral("Product"), file);

        const xml::Document& settings = *editor->XMLDoc;
        EXPECT_EQ(texts(settings, QStringLiteral("SPLR4/Products/Product/NDCProductCode")), QStringList{row.picked});
        EXPECT_EQ(texts(settings, QStringLiteral("SPLR4/Products/Product/Ingredient/StrengthNumerator")), QStringList{"80"});
        closeLog();
    }
}

// Cancel (or the close box, or an empty pick) ends the import at the first question; a product
// the file does not hold leaves the Product as it was too.
TEST_F(ReverseTransformTest, CancelOrAPickTheFileLacksLeavesTheProductAsItWasWithItsColour)
{
    program.useShippedDefinitions();
    const QString lipitor = label(QStringLiteral("openfda-lipitor-rx"), QStringLiteral("lipitor-orig.xml"));
    const QString cancelled = QStringLiteral("Import from SPL File cancelled: ") + lipitor;
    const auto pick = [](const QString& text) {
        return [text](frmUserSelection& form) {
            form.cboUserSelection->setCurrentText(text);
            form.cmdOK->click();
        };
    };
    const struct {
        const char* answer;
        std::function<void(frmUserSelection&)> answerWith;
        bool cancels;
    } rows[] = {
        {"Cancel", [](frmUserSelection& form) { form.cmdCancel->click(); }, true},
        {"close box", [](frmUserSelection& form) { form.close(); }, true},
        {"empty OK", pick(QString()), true},
        {"code not in the file", pick(QStringLiteral("0000-0000")), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.answer);
        frmXMLEditor* editor = openEditor(ColouredProduct);
        const QString before = editor->XMLDoc->xml();
        const QColor colour = nodeBackColor(node(editor, QStringLiteral("Product")));
        int asked = 0;
        setUserSelectionAnswerForTesting([&](frmUserSelection& form) {
            ++asked;
            row.answerWith(form);
        });

        importInto(editor, QStringLiteral("Product"), lipitor);
        setUserSelectionAnswerForTesting({});

        EXPECT_EQ(asked, 1);
        EXPECT_EQ(editor->XMLDoc->xml(), before);
        EXPECT_TRUE(editor->Saved);
        EXPECT_NE(colour, QColor(Qt::white));
        EXPECT_EQ(nodeBackColor(node(editor, QStringLiteral("Product"))), colour);
        EXPECT_EQ(logHas(QStringLiteral("Information"), cancelled), row.cancels) << logText().toStdString();
        EXPECT_EQ(logText().contains(QStringLiteral(
                      "The SPL File holds no data for SPLR4/Products/Product; the element is left as it was.")),
                  !row.cancels);
        EXPECT_FALSE(logText().contains(QStringLiteral("completed")));
        closeLog();
    }
}

// What the import builds is counted as it is built: a section text of more line breaks than
// the editor opens is refused at the entry that copies it, before the copy, and names it.
TEST_F(ReverseTransformTest, ALabelSectionLargerThanTheEditorOpensIsRefusedBeforeItIsCopied)
{
    program.useShippedDefinitions();
    setEditorLimitForTesting(DocumentSize{20'000, 4'000'000, 64 * 1024 * 1024});
    QString lipitor = test::readTextFile(label(QStringLiteral("openfda-lipitor-rx"), QStringLiteral("lipitor-orig.xml")));
    lipitor.replace(lipitor.indexOf(QStringLiteral("<text>")), 6, QStringLiteral("<text>") + QStringLiteral("<br/>").repeated(30'000));
    const QString file = writeFile(QStringLiteral("breaks.xml"), lipitor);
    frmXMLEditor* editor = openEditor(QStringLiteral(
        "<SPLR4 Word2SPLID=\"k0\"><ProductLabel Word2SPLID=\"k1\"><DocumentSections Word2SPLID=\"k2\"><Section Word2SPLID=\"k3\">"
        "<SectionTitle Word2SPLID=\"k4\">Mine</SectionTitle></Section></DocumentSections></ProductLabel></SPLR4>"));
    const QString before = editor->XMLDoc->xml();

    importInto(editor, QStringLiteral("Document Sections"), file);
    setEditorLimitForTesting(std::nullopt);

    EXPECT_EQ(editor->XMLDoc->xml(), before);
    EXPECT_TRUE(editor->Saved);
    EXPECT_TRUE(logHas(QStringLiteral("Error"),
                       QStringLiteral("The data of 'Label Section' in the SPL File is larger than the editor opens (up to 20000 "
                                      "elements, 4000000 attributes and 67108864 bytes); the element is left as it was.")))
        << logText().toStdString();
    EXPECT_FALSE(logText().contains(QStringLiteral("completed")));
}

// The pieces of one import share the room: two section texts, each far under the limit,
// together count the room out. Counted as built: the settings elements kept (SPLR4,
// ProductLabel, 2), the copy of Document Sections (3), and per section its copy (2) and its
// text (1 + the breaks); each with its id.
TEST_F(ReverseTransformTest, SectionTextsThatFitOneByOneAreRefusedWhenTogetherTheyPassTheRoom)
{
    program.write(QStringLiteral("SPLR4Definitions/DefinitionSPLR4.xml"),
                  QStringLiteral("<SPLR4><ProductLabel><DocumentSections><Section><LabelText/></Section></DocumentSections>"
                                 "</ProductLabel></SPLR4>"));
    program.write(QStringLiteral("SPLR4Definitions/TransformSPLR4.xml"), QStringLiteral(R"(<Word2SPLTransform>
<Transform><Name>Label Sections</Name><Definition AllowReverseTransform="1">
  <Source>SPLR4/ProductLabel/DocumentSections</Source><Target>document/body</Target></Definition></Transform>
<Transform><Name>Label Section</Name><Definition AllowReverseTransform="1">
  <Source>SPLR4/ProductLabel/DocumentSections/Section</Source><Target>document/body/section</Target></Definition>
  <Value><Source DirectCopy="1">LabelText</Source><Target>text</Target></Value></Transform>
</Word2SPLTransform>)"));
    constexpr qint64 Breaks = 1000;
    const QString section = QStringLiteral("<section><text>A") + QStringLiteral("<br/>").repeated(Breaks) + QStringLiteral("</text></section>");
    const QString file = writeFile(QStringLiteral("two.xml"), QStringLiteral("<document xmlns=\"urn:hl7-org:v3\"><body>")
                                                                  + section.repeated(2) + QStringLiteral("</body></document>"));
    constexpr qint64 Counted = 2 + 3 + 2 * (2 + 1 + Breaks);
    for (const qint64 elements : {Counted, Counted - 1}) {
        SCOPED_TRACE(elements);
        setEditorLimitForTesting(DocumentSize{elements, 4'000'000, 64 * 1024 * 1024});
        frmXMLEditor* editor = openEditor(QStringLiteral(
            "<SPLR4 Word2SPLID=\"k0\"><ProductLabel Word2SPLID=\"k1\"><DocumentSections Word2SPLID=\"k2\"><Section Word2SPLID=\"k3\">"
            "<LabelText Word2SPLID=\"k4\">Mine</LabelText></Section></DocumentSections></ProductLabel></SPLR4>"));
        const QString before = editor->XMLDoc->xml();

        importInto(editor, QStringLiteral("Document Sections"), file);
        setEditorLimitForTesting(std::nullopt);

        const bool fits = elements == Counted;
        EXPECT_EQ(editor->XMLDoc->selectNodes(QStringLiteral("//br")).length(), fits ? 2 * Breaks : 0);
        EXPECT_EQ(editor->XMLDoc->xml() == before, !fits);
        EXPECT_EQ(logHas(QStringLiteral("Error"),
                         QStringLiteral("The data of 'Label Section' in the SPL File is larger than the editor opens (up to %1 "
                                        "elements, 4000000 attributes and 67108864 bytes); the element is left as it was.")
                             .arg(elements)),
                  !fits)
            << logText().toStdString();
        closeLog();
    }
}

TEST_F(ReverseTransformTest, EachGroupFillsAFreshCopyOfTheTemplateBeforeTheDefinitionElement)
{
    veldra::test::ExpectSkippedErrors skipped;  // 'Sub/Deep' is no element name; values without a node are skipped
    const xml::Document definition =
        documentFrom(QStringLiteral("<SPLR4><Items><Item><Name/><Code/><Note>keep</Note><Flag a=\"1\"/></Item></Items></SPLR4>"));
    const xml::Document transformation = documentFrom(QStringLiteral(R"(<Word2SPLTransform><Transform><Name>Items</Name>
<Definition AllowReverseTransform="1"><Source>SPLR4/Items/Item</Source><Target>//item</Target></Definition>
<Value><Source>Name</Source><Target>name</Target></Value>
<Value><Source>Code</Source><Target Attribute="code">code</Target></Value>
<Value DenyReverseTransform="1"><Source>Note</Source><Target>name</Target></Value>
<Value><Source>Sub/Deep</Source><Target>name</Target></Value>
</Transform></Word2SPLTransform>)"));
    const xml::Document spl = documentFrom(QStringLiteral(
        "<document xmlns=\"urn:hl7-org:v3\"><item><name>A</name><code code=\"c1\"/></item>"
        "<item><code code=\"c2\"/></item><item><name>C</name><code/></item></document>"));
    xml::Node items = definition.selectSingleNode(QStringLiteral("SPLR4/Items"));

    ShowLogWindow(true);
    EditorRoom room;
    ReverseTransformRecurse(items, definition, spl, transformation, room);

    // The definition element, the pattern of the copies, is gone although it held a value.
    const xml::NodeList copies = items.childNodes();
    ASSERT_EQ(copies.length(), 3);
    // The copies stand in group order; what group 2 lacked is missing in its copy only.
    EXPECT_EQ(childNames(copies.item(2)), QStringList({"Name", "Code", "Note", "Flag"}));
    EXPECT_EQ(copies.item(2).selectSingleNode(QStringLiteral("Name")).text(), QStringLiteral("C"));
    EXPECT_EQ(copies.item(2).selectSingleNode(QStringLiteral("Code")).text(), QString());
    EXPECT_EQ(childNames(copies.item(1)), QStringList({"Code", "Note", "Flag"}));
    EXPECT_EQ(copies.item(1).selectSingleNode(QStringLiteral("Code")).text(), QStringLiteral("c2"));
    EXPECT_EQ(copies.item(0).selectSingleNode(QStringLiteral("Name")).text(), QStringLiteral("A"));
    EXPECT_EQ(copies.item(0).selectSingleNode(QStringLiteral("Note")).text(), QStringLiteral("keep"));

    EXPECT_TRUE(logHas(QStringLiteral("Warning"), QStringLiteral("No data available in SPL file for 'Name'")));
    EXPECT_TRUE(logHas(QStringLiteral("Warning"), QStringLiteral("No data available in SPL file for Code")));
    EXPECT_TRUE(logHas(QStringLiteral("Processing"), QStringLiteral("Code = c1")));
    EXPECT_FALSE(logText().contains(QStringLiteral("Note =")));
    EXPECT_TRUE(logText().contains(QStringLiteral("Cannot Reverse Transform: Items, Sub/Deep >>> ")));

    RemoveEmptyNodes(items);
    EXPECT_EQ(childNames(copies.item(1)), QStringList({"Code", "Note"}));
}

// What the build writes around a value comes back off it, so a rebuild writes it once; a
// node whose value lacks it was written by another mapping of the same target and is passed by.
// A joined mapping reads every node at its target, in order.
TEST_F(ReverseTransformTest, AffixedMappingsReadTheValueThatCarriesThemWithoutThemAndJoinedOnesReadAll)
{
    const xml::Document definition =
        documentFrom(QStringLiteral("<SPLR4><Items><Item><Phone/><Mail/><Weight/><Kinds/></Item></Items></SPLR4>"));
    const xml::Document transformation = documentFrom(QStringLiteral(R"x(<Word2SPLTransform><Transform><Name>Items</Name>
<Definition AllowReverseTransform="1"><Source>SPLR4/Items/Item</Source><Target>//item</Target></Definition>
<Value><Source>Phone</Source><Target Attribute="value" Prefix="tel:">telecom</Target></Value>
<Value><Source>Mail</Source><Target Attribute="value" Prefix="mailto:">telecom</Target></Value>
<Value><Source>Weight</Source><Target Prefix="(" PostFix=" kg)">weight</Target></Value>
<Value><Source>Kinds</Source><Target Attribute="value" Join=" ">telecom</Target></Value>
</Transform></Word2SPLTransform>)x"));
    const xml::Document spl = documentFrom(QStringLiteral(
        "<document xmlns=\"urn:hl7-org:v3\">"
        "<item><telecom value=\"mailto:a@example.com\"/><telecom value=\"tel:+1-555;ext=2\"/><weight>(12 kg)</weight></item>"
        "<item><telecom value=\"mailto:tel:\"/><telecom/><weight>(3 lb)</weight><weight>( kg)</weight></item></document>"));
    xml::Node items = definition.selectSingleNode(QStringLiteral("SPLR4/Items"));

    ShowLogWindow(true);
    EditorRoom room;
    ReverseTransformRecurse(items, definition, spl, transformation, room);

    const xml::NodeList copies = items.childNodes();
    ASSERT_EQ(copies.length(), 2);
    const auto valuesOf = [](const xml::Node& copy) {
        QStringList values;
        for (const xml::Node& child : copy.childNodes())
            values << child.nodeName() + QLatin1Char('=') + child.text();
        return values;
    };
    EXPECT_EQ(valuesOf(copies.item(0)),
              QStringList({"Phone=+1-555;ext=2", "Mail=a@example.com", "Weight=12", "Kinds=mailto:a@example.com tel:+1-555;ext=2"}));
    // No telecom of the second item is a telephone number; an empty value within the affixes
    // is a value.
    EXPECT_EQ(valuesOf(copies.item(1)), QStringList({"Mail=tel:", "Weight=", "Kinds=mailto:tel: "}));
    EXPECT_TRUE(logHas(QStringLiteral("Warning"), QStringLiteral("No data available in SPL file for 'Phone'")));
}

TEST_F(ReverseTransformTest, AWholeElementCopyBringsSPLMarkupBackWithItsEmptyParts)
{
    const xml::Document definition =
        documentFrom(QStringLiteral("<SPLR4><Sections><Section><Title/><LabelText/><component/></Section></Sections></SPLR4>"));
    const xml::Document transformation = documentFrom(QStringLiteral(R"(<Word2SPLTransform><Transform><Name>Section</Name>
<Definition AllowReverseTransform="1"><Source>SPLR4/Sections/Section</Source><Target>//section</Target></Definition>
<Value><Source>Title</Source><Target>title</Target></Value>
<Value><Source DirectCopy="1">LabelText</Source><Target>text</Target></Value>
<Value><Source DirectCopy="1">.</Source><Target>component</Target></Value>
<Value><Source DirectCopy="1">Sub/Deep</Source><Target>title</Target></Value>
</Transform></Word2SPLTransform>)"));
    const xml::Document spl = documentFrom(QStringLiteral(
        "<document xmlns=\"urn:hl7-org:v3\"><section><title>A</title>"
        "<text><paragraph>See <renderMultiMedia referencedObject=\"m1\"/></paragraph><br/></text>"
        "<component><observationMedia ID=\"m1\"><value><reference value=\"a.jpg\"/></value></observationMedia></component>"
        "</section><section><title>B</title></section></document>"));
    xml::Node sections = definition.selectSingleNode(QStringLiteral("SPLR4/Sections"));

    ShowLogWindow(true);
    EditorRoom room;
    ReverseTransformRecurse(sections, definition, spl, transformation, room);
    RemoveEmptyNodes(sections);

    const xml::NodeList copies = sections.childNodes();
    ASSERT_EQ(copies.length(), 2);
    EXPECT_EQ(childNames(copies.item(1)), QStringList{"Title"});
    // The text comes back whole, with the picture's reference and the line break, which hold
    // no text; the component is appended to the section.
    const xml::Node first = copies.item(0);
    EXPECT_EQ(childNames(first), QStringList({"Title", "LabelText", "component"}));
    EXPECT_FALSE(first.selectSingleNode(QStringLiteral("LabelText/text/paragraph/renderMultiMedia[@referencedObject='m1']")).isNull());
    EXPECT_FALSE(first.selectSingleNode(QStringLiteral("LabelText/text/br")).isNull());
    EXPECT_EQ(first.selectSingleNode(QStringLiteral("component/observationMedia/value/reference/@value")).text(),
              QStringLiteral("a.jpg"));
    EXPECT_TRUE(logHas(QStringLiteral("Processing"), QStringLiteral("LabelText = <text>")));
    EXPECT_TRUE(logHas(QStringLiteral("Warning"), QStringLiteral("No data available in SPL file for 'Label Text'")));
    EXPECT_TRUE(logText().contains(QStringLiteral("Cannot Reverse Transform: Section, Sub/Deep >>> ")));
}

TEST_F(ReverseTransformTest, OnePickServesEveryEntryAndCancelEndsTheRun)
{
    const xml::Document transformation = documentFrom(QStringLiteral(R"(<Word2SPLTransform>
<Transform><Name>A</Name><Definition AllowReverseTransform="1"><Source>SPLR4/A</Source><Target>//p</Target>
  <ReverseTransformUserSelect Info="Pick one">//p/@id</ReverseTransformUserSelect>
  <ReverseTransformUserSelection>//p[@id="$USERSELECTION"]/x | //q[@id="$USERSELECTION"]</ReverseTransformUserSelection></Definition>
  <Value><Source>X</Source><Target>.</Target></Value></Transform>
<Transform><Name>B</Name><Definition AllowReverseTransform="1"><Source>SPLR4/B</Source><Target>//p</Target>
  <ReverseTransformUserSelect>//p/@id</ReverseTransformUserSelect>
  <ReverseTransformUserSelection>//p[@id="$userselection"]/x</ReverseTransformUserSelection></Definition>
  <Value><Source>Y</Source><Target>.</Target></Value></Transform>
</Word2SPLTransform>)"));
    const xml::Document spl = documentFrom(QStringLiteral(
        "<document><p id=\"1\"><x>one</x></p><p id=\"2\"><x>two</x></p><q id=\"2\">q-two</q></document>"));
    auto run = [&] {
        const xml::Document definition = documentFrom(QStringLiteral("<SPLR4><A><X/></A><B><Y/></B></SPLR4>"));
        xml::Node root = definition.documentElement();
        UserSelection.clear();
        EditorRoom room;
        ReverseTransformRecurse(root, definition, spl, transformation, room);
        return texts(definition, QStringLiteral("SPLR4/A/X")) + QStringList{"|"} + texts(definition, QStringLiteral("SPLR4/B/Y"));
    };

    {
        PickOneScript pick({QStringLiteral("2")});
        // Both placeholders are replaced; the lower-case one is no placeholder and selects nothing.
        EXPECT_EQ(run(), QStringList({"two", "q-two", "|", ""}));
        EXPECT_EQ(pick.infos, QStringList{"Pick one"});
        EXPECT_EQ(pick.choices.value(0), QStringList({"1", "2"}));
    }
    {
        // A Cancel is not asked again: without a pick every entry that needs one would find
        // nothing.
        PickOneScript pick({std::nullopt, QStringLiteral("1")});
        EXPECT_THROW(run(), ReverseTransformCancelled);
        EXPECT_EQ(pick.infos, QStringList({"Pick one"}));
    }
}

TEST_F(ReverseTransformTest, RefusalsAndAnswersLeaveTheDocumentAsItWas)
{
    frmXMLEditor* editor = openEditor(Settings);
    const QString before = editor->XMLDoc->xml();
    const QString lipitor = label(QStringLiteral("openfda-lipitor-rx"), QStringLiteral("lipitor-orig.xml"));

    importInto(editor, QStringLiteral("Products"), lipitor);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Data cannot be imported for: 'Products'"));
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Warning);

    ui.answers.push_back(ui::Answer::No);
    importInto(editor, QStringLiteral("General Data"), lipitor);

    ui.openFiles.push_back(std::nullopt);
    ImportDataFromSPLFile(editor, editor->TreeView);

    EXPECT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.fileRequests.last().filter, QStringLiteral("Existing SPL File (*.xml)"));
    EXPECT_EQ(logText(), QString());
    EXPECT_EQ(editor->XMLDoc->xml(), before);
    EXPECT_TRUE(editor->Saved);
}

TEST_F(ReverseTransformTest, AFileThatCannotBeLoadedOrHoldsNoDataChangesNothingAndSaysWhy)
{
    frmXMLEditor* editor = openEditor(Settings);
    const QString before = editor->XMLDoc->xml();
    const QString broken = writeFile(QStringLiteral("broken.xml"), QStringLiteral("<document><id></document>"));
    const QString noAuthor = writeFile(QStringLiteral("no-author.xml"),
                                       QStringLiteral("<document xmlns=\"urn:hl7-org:v3\"><id root=\"x\"/></document>"));

    importInto(editor, QStringLiteral("General Data"), broken);
    EXPECT_TRUE(logText().contains(QStringLiteral("Cannot load ") + broken));
    importInto(editor, QStringLiteral("Labeler"), noAuthor);
    EXPECT_TRUE(logText().contains(QStringLiteral("The SPL File holds no data for SPLR4/Labeler")));

    EXPECT_EQ(editor->XMLDoc->xml(), before);
    EXPECT_TRUE(editor->Saved);
    EXPECT_TRUE(logHas(QStringLiteral("Error"), QStringLiteral("Reverse Transform from existing SPL File failed.")));
    EXPECT_FALSE(logText().contains(QStringLiteral("completed")));

    // With Show Log unchecked the log cannot say why: a message box does.
    main->mnuShowLogging->trigger();
    for (const QString& file : {broken, noAuthor}) {
        ui.messages.clear();
        importInto(editor, QStringLiteral("Labeler"), file);
        ASSERT_EQ(ui.messages.size(), 2) << "the question and the failure";
        EXPECT_TRUE(ui.messages.at(1).text.contains(file == broken ? QStringLiteral("Cannot load ") + broken
                                                                   : QStringLiteral("The SPL File holds no data")));
        EXPECT_TRUE(ui.messages.at(1).text.endsWith(QStringLiteral("Reverse Transform from existing SPL File failed.")));
        EXPECT_EQ(ui.messages.at(1).icon, ui::Icon::Critical);
    }
    EXPECT_EQ(editor->XMLDoc->xml(), before);
}

TEST_F(ReverseTransformTest, PickOneDialogTakesTheTextOnOkAndEnterAndNothingOnCancel)
{
    frmUserSelection form;
    form.cboUserSelection->addItems({"0071-0155", "0071-0156"});

    form.cboUserSelection->setCurrentIndex(1);
    form.cmdOK->click();
    EXPECT_EQ(UserSelection, QStringLiteral("0071-0156"));

    form.cmdCancel->click();
    EXPECT_EQ(UserSelection, QString());

    form.cboUserSelection->setCurrentText(QStringLiteral("typed"));
    QTest::keyClick(&form, Qt::Key_Return);
    EXPECT_EQ(UserSelection, QStringLiteral("typed"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Select Data to Import"));
    EXPECT_EQ(form.cmdOK->text(), QStringLiteral("&OK"));
}

} // namespace

// The import as the user starts it from the menu, on the element's node, open or closed: the
// element that took the place of the one it started on is the current, selected and open node
// afterwards, so the next command acts on it and not on the document's root.
TEST_F(ReverseTransformTest, TheImportedElementIsSelectedAndOpenAfterwards)
{
    installMenuHooks();
    const QString lipitor = label(QStringLiteral("openfda-lipitor-rx"), QStringLiteral("lipitor-orig.xml"));
    const struct {
        const char* caption;
        const char* element;
        bool openBefore;
    } rows[] = {{"General Data", "SPLR4/GeneralData", true}, {"Labeler", "SPLR4/Labeler", false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.caption);
        frmXMLEditor* editor = openEditor(Settings);
        select(editor, QLatin1String(row.caption))->setExpanded(row.openBefore);
        ui.openFiles.push_back(lipitor);

        main->mnuSPLR4ReverseTransform->trigger();

        ASSERT_TRUE(logHas(QStringLiteral("Information"), QStringLiteral("Import from SPL File completed: ") + lipitor));
        QTreeWidgetItem* current = editor->TreeView->currentItem();
        ASSERT_NE(current, nullptr);
        EXPECT_EQ(nodeCaption(current), QLatin1String(row.caption));
        EXPECT_EQ(elementBehind(current, *editor->XMLDoc), editor->XMLDoc->selectSingleNode(QLatin1String(row.element)));
        EXPECT_EQ(editor->TreeView->selectedItems(), QList<QTreeWidgetItem*>({current}));
        EXPECT_TRUE(current->isExpanded());
        closeLog();
    }
}
