#include "generation/CheckingTestSupport.h"

#include "app/Log.h"
#include "editor/Reorder.h"
#include "editor/SettingsDocument.h"
#include "editor/TreeView.h"
#include "generation/reverse/ImportDataFromSPLFile.h"
#include "generation/build/TransformSPLR4ToSPL.h"
#include "generation/reverse/frmUserSelection.h"
#include "platform/xml/Document.h"
#include "platform/xml/SchemaValidator.h"
#include "support/Fixtures.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

const QString ProductSection = QStringLiteral("/document/component/structuredBody/component/section[code/@code='48780-1']");

struct Label {
    QString folder;
    QString file;
};

// The drug labels among the fixture SPL documents.
const QList<Label> DrugLabels = {
    {QStringLiteral("openfda-lipitor-rx"), QStringLiteral("lipitor-orig.xml")},
    {QStringLiteral("openfda-lipitor-repackager"), QStringLiteral("lipitor-repack.xml")},
    {QStringLiteral("openfda-cough-otc"), QStringLiteral("cough.xml")},
    {QStringLiteral("openfda-no-title-rx"), QStringLiteral("no-title.xml")},
    {QStringLiteral("openfda-sunscreen-otc"), QStringLiteral("a4e3211d-f25b-4e3e-b39d-028de892f165.xml")},
    {QStringLiteral("openfda-viagra-rx-with-images"), QStringLiteral("64f8040f-938d-4236-8e22-c838c9b5f8da.xml")},
    {QStringLiteral("pharmadb-rogaine-otc-with-image"), QStringLiteral("ab36b844-19de-4340-b32b-5e3abdaa5895.xml")}};

QStringList texts(const xml::Node& context, const QString& query)
{
    QStringList all;
    for (const xml::Node& node : context.selectNodes(query))
        if (const QString text = node.text().simplified(); !text.isEmpty())
            all << text;
    return all;
}

// What a label says, field by field: name -> values in document order.
QList<QPair<QString, QStringList>> fieldsOf(const xml::Document& spl)
{
    QList<QPair<QString, QStringList>> fields = {
        {QStringLiteral("document type"), texts(spl.documentElement(), QStringLiteral("code/@code"))
                                              + texts(spl.documentElement(), QStringLiteral("code/@displayName"))},
        {QStringLiteral("title"), texts(spl.documentElement(), QStringLiteral("title"))}};
    for (const xml::Node& product : spl.selectNodes(ProductSection + QStringLiteral("/subject/manufacturedProduct"))) {
        const QString code = product.selectSingleNode(QStringLiteral("manufacturedProduct/code/@code")).text();
        const auto field = [&](const QString& name, const QString& query) {
            fields.append({QStringLiteral("product %1 %2").arg(code, name), texts(product, query)});
        };
        field(QStringLiteral("name"), QStringLiteral("manufacturedProduct/name"));
        field(QStringLiteral("dosage form"), QStringLiteral("manufacturedProduct/formCode/@code"));
        field(QStringLiteral("routes"), QStringLiteral("consumedIn/substanceAdministration/routeCode/@code"));
        field(QStringLiteral("ingredient names"), QStringLiteral("manufacturedProduct/ingredient/ingredientSubstance/name"));
        field(QStringLiteral("ingredient UNII codes"), QStringLiteral("manufacturedProduct/ingredient/ingredientSubstance/code/@code"));
        field(QStringLiteral("strengths"), QStringLiteral("manufacturedProduct/ingredient/quantity/numerator/@value"));
        field(QStringLiteral("strength units"), QStringLiteral("manufacturedProduct/ingredient/quantity/numerator/@unit"));
        field(QStringLiteral("package NDC codes"), QStringLiteral("manufacturedProduct/asContent//containerPackagedProduct/code/@code"));
        field(QStringLiteral("package quantities"), QStringLiteral("manufacturedProduct/asContent//quantity/numerator/@value"));
    }
    const QString sections = QStringLiteral("/document/component/structuredBody/component/section[not(code/@code='48780-1')]");
    fields.append({QStringLiteral("section codes"), texts(spl.asNode(), sections + QStringLiteral("/code/@code") + QStringLiteral(" | ") + sections + QStringLiteral("//section/code/@code"))});
    fields.append({QStringLiteral("section titles"), texts(spl.asNode(), QStringLiteral("//section[not(code/@code='48780-1')]/title"))});
    fields.append({QStringLiteral("section texts"), texts(spl.asNode(), QStringLiteral("//section[not(code/@code='48780-1')]/text"))});
    fields.append({QStringLiteral("images"), texts(spl.asNode(), QStringLiteral("//observationMedia/value/reference/@value"))});
    return fields;
}

// Answers every pick-one question with `code`.
class PickProduct {
public:
    explicit PickProduct(const QString& code)
    {
        setUserSelectionAnswerForTesting([code](frmUserSelection& form) {
            form.cboUserSelection->setCurrentText(code);
            form.cmdOK->click();
        });
    }
    ~PickProduct() { setUserSelectionAnswerForTesting({}); }
};

class RoundTripTest : public test::CheckingTest {
protected:
    RoundTripTest() { program.useShippedDefinitions(); }

    // A new settings document of the shipped definition, in an editor window, with its ids.
    frmXMLEditor* newSettings()
    {
        frmXMLEditor* editor = openEditor(
            test::readTextFile(program.file(QStringLiteral("SPLR4Definitions/DefinitionSPLR4.xml"))), QStringLiteral("Label.xml"));
        editor->TreeView->selectNode(editor->TreeView->rootNode());
        CreateGUIDs(*editor);
        return editor;
    }

    // The reverse import lists repeated groups last first; the editor's Change Sort Order puts
    // them back in the order of the label.
    void restoreOrder(frmXMLEditor* editor, const QString& caption)
    {
        if (QTreeWidgetItem* first = node(editor, caption); first && nodeCaption(first) == caption) {
            editor->TreeView->selectNode(first);
            ReverseSortOrder(*editor, *editor->TreeView);
        }
    }

    void importInto(frmXMLEditor* editor, QTreeWidgetItem* target, const QString& splFile)
    {
        ASSERT_NE(target, nullptr);
        editor->TreeView->selectNode(target);
        ui.openFiles.push_back(splFile);
        ImportDataFromSPLFile(editor, editor->TreeView);
    }

    QList<QTreeWidgetItem*> nodesCaptioned(const frmXMLEditor* editor, const QString& caption)
    {
        QList<QTreeWidgetItem*> nodes;
        editor->TreeView->forEachNode([&](QTreeWidgetItem* item) {
            if (nodeCaption(item) == caption)
                nodes << item;
        });
        return nodes;
    }

    // One Product element per product of the label, each imported with its own pick.
    void importProducts(frmXMLEditor* editor, const xml::Document& spl, const QString& splFile)
    {
        const QStringList codes = texts(spl.asNode(), ProductSection + QStringLiteral("/subject/manufacturedProduct/manufacturedProduct/code/@code"));
        const xml::Node products = editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/Products"));
        const xml::Node pattern = products.selectSingleNode(QStringLiteral("Product"));
        for (qsizetype i = 1; i < codes.size(); ++i)
            products.appendChild(pattern.cloneNode(true));
        editor->RefreshXML(false);
        for (qsizetype i = 0; i < codes.size(); ++i) {
            PickProduct pick(codes[i]);
            importInto(editor, nodesCaptioned(editor, QStringLiteral("Product")).value(int(i)), splFile);
        }
    }

    // Names the label as the existing SPL file whose sections the build takes over, less its
    // product data section, which the build makes from the settings.
    static void mergeSectionsOf(const xml::Document& settings, const xml::Document& spl, const QString& splFile)
    {
        const xml::Node merge = settings.selectSingleNode(QStringLiteral("SPLR4/ProductLabel/ProductLabelFromExistingSPL"));
        merge.selectSingleNode(QStringLiteral("SPLFileName")).setText(splFile);
        merge.selectSingleNode(QStringLiteral("OmitSections/SectionName"))
            .setText(spl.selectSingleNode(ProductSection + QStringLiteral("/code/@displayName")).text());
    }

    // Reverse entries that bring the label sections themselves into the settings document:
    // the Document Sections group as a whole, and each section's text, highlights,
    // subsections and pictures copied whole (as the build copies them into the SPL file).
    // Entries the program folder's file already has are left as they are.
    // Imports the header, the labeler and every product of the label into a new settings document.
    frmXMLEditor* importLabelData(const xml::Document& spl, const QString& splFile)
    {
        frmXMLEditor* editor = newSettings();
        for (const char* group : {"General Data", "Labeler"})
            importInto(editor, node(editor, QLatin1String(group)), splFile);
        importProducts(editor, spl, splFile);
        for (const char* group : {"Ingredient", "Package", "Route Of Administration"})
            restoreOrder(editor, QLatin1String(group));
        return editor;
    }

    // Builds the settings into an SPL file that must validate, and adds to `report` every field
    // of the label that the built file does not hold alike.
    void buildAndCompare(const frmXMLEditor* editor, const Label& label, const xml::Document& spl, QStringList& report)
    {
        const QString built = dir.file(label.folder + QStringLiteral("/") + label.file);
        QDir().mkpath(dir.file(label.folder));
        TransformSPLR4ToSPL(*editor->XMLDoc, built);
        xml::Document rebuilt;
        ASSERT_TRUE(rebuilt.load(built)) << logText().toStdString();

        const xml::SchemaCheck check = xml::SchemaValidator().validateFile(built);
        EXPECT_TRUE(check.isValid()) << check.reason.toStdString() << " line " << check.line;

        const auto actual = fieldsOf(rebuilt);
        for (const auto& [field, values] : fieldsOf(spl)) {
            QStringList got;
            for (const auto& [name, rebuiltValues] : actual)
                if (name == field)
                    got = rebuiltValues;
            if (got != values)
                report << QStringLiteral("%1: %2\n    original: %3\n    rebuilt:  %4")
                              .arg(label.file, field, values.join(QStringLiteral(" | ")).left(300),
                                   got.join(QStringLiteral(" | ")).left(300));
        }
    }

    static QString fixtureLabel(const Label& label)
    {
        return test::fixture(QStringLiteral("spl-documents/") + label.folder + QLatin1Char('/') + label.file);
    }
};

TEST_F(RoundTripTest, EveryFixtureDrugLabelComesBackFromItsSettingsDocument)
{
    QStringList report;
    for (const Label& label : DrugLabels) {
        SCOPED_TRACE(label.file.toStdString());
        const QString original = fixtureLabel(label);
        xml::Document spl;
        ASSERT_TRUE(spl.load(original));

        frmXMLEditor* editor = importLabelData(spl, original);
        mergeSectionsOf(*editor->XMLDoc, spl, original);
        buildAndCompare(editor, label, spl, report);
        closeLog();
    }
    EXPECT_TRUE(report.isEmpty()) << report.join(QLatin1Char('\n')).toStdString();
}

TEST_F(RoundTripTest, LabelSectionsComeBackThroughTheSettingsDocumentWithWholeElementEntries)
{
    QStringList report;
    for (const Label& label : DrugLabels) {
        SCOPED_TRACE(label.file.toStdString());
        const QString original = fixtureLabel(label);
        xml::Document spl;
        ASSERT_TRUE(spl.load(original));

        frmXMLEditor* editor = importLabelData(spl, original);
        importInto(editor, node(editor, QStringLiteral("Document Sections")), original);
        restoreOrder(editor, QStringLiteral("Section"));
        buildAndCompare(editor, label, spl, report);
        closeLog();
    }
    EXPECT_TRUE(report.isEmpty()) << report.join(QLatin1Char('\n')).toStdString();
}

} // namespace
