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
#include <QRegularExpression>
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

void dropLayout(const xml::Node& element)
{
    for (const xml::Node& child : element.childNodes()) {
        const bool edge = child.previousSibling().isNull() || child.nextSibling().isNull();
        if (child.nodeType() == xml::NodeType::Text && edge && child.text().trimmed().isEmpty())
            element.removeChild(child);
        else if (child.nodeType() == xml::NodeType::Element && !child.hasChildNodes() && child.attributes().length() == 0)
            element.removeChild(child);
        else if (child.nodeType() == xml::NodeType::Element)
            dropLayout(child);
    }
}

// Differences between a label and its rebuild that are not losses, each with its reason.
// - Ids the build draws afresh: every GUID id root, and the ID attribute of each section
//   (the build gives every section one; the label's own are not kept).
// - Layout whitespace: blank text that opens or closes an element's content is the indentation
//   of the file's writer, not text of the label (blanks between inline elements are kept).
// - Empty elements without attributes (an empty title): they hold nothing, and a settings
//   document cannot tell them from absent ones.
// - Where the pictures' observationMedia elements stand: the build gathers them per section
//   in its own order; they are compared as a set, not in place.
void normalise(const xml::Document& spl)
{
    static const QRegularExpression guid(
        QStringLiteral("^[0-9a-fA-F]{8}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{12}$"));
    for (const xml::Node& id : spl.selectNodes(QStringLiteral("//id[@root]")))
        if (guid.match(id.getAttribute(QStringLiteral("root"))).hasMatch())
            id.setAttribute(QStringLiteral("root"), QStringLiteral("GUID"));
    for (const xml::Node& section : spl.selectNodes(QStringLiteral("//section[@ID]")))
        section.removeAttribute(QStringLiteral("ID"));
    dropLayout(spl.documentElement());
}

// The canonical text of a subtree: names with their namespaces, attributes sorted, text as it
// stands; observationMedia elements left out (compared apart).
QString canonical(const xml::Node& node)
{
    if (node.nodeType() == xml::NodeType::Text || node.nodeType() == xml::NodeType::CData)
        return node.text().toHtmlEscaped();
    if (node.nodeType() != xml::NodeType::Element || node.localName() == QLatin1String("observationMedia"))
        return QString();
    QStringList attributes;
    for (const xml::Node& attribute : node.attributes())
        if (!attribute.nodeName().startsWith(QLatin1String("xmlns")))
            attributes << attribute.nodeName() + QStringLiteral("=\"") + attribute.text().toHtmlEscaped() + QLatin1Char('"');
    attributes.sort();
    QString text = QLatin1Char('<') + node.localName() + (attributes.isEmpty() ? QString() : QLatin1Char(' ') + attributes.join(QLatin1Char(' '))) + QLatin1Char('>');
    for (const xml::Node& child : node.childNodes())
        text += canonical(child);
    return text + QStringLiteral("</") + node.localName() + QLatin1Char('>');
}

// The path of the first place where two subtrees differ, with both sides; empty when alike.
QString firstDifference(const xml::Node& original, const xml::Node& rebuilt, const QString& path)
{
    if (canonical(original) == canonical(rebuilt))
        return QString();
    const auto children = [](const xml::Node& node) {
        QList<xml::Node> kept;
        for (const xml::Node& child : node.childNodes())
            if (!canonical(child).isEmpty())
                kept << child;
        return kept;
    };
    const QList<xml::Node> a = children(original);
    const QList<xml::Node> b = children(rebuilt);
    for (qsizetype i = 0; i < qMin(a.size(), b.size()); ++i) {
        if (a[i].nodeType() == xml::NodeType::Element && b[i].nodeType() == xml::NodeType::Element
            && a[i].localName() == b[i].localName()) {
            const QString below = firstDifference(a[i], b[i], path + QLatin1Char('/') + a[i].localName() + QStringLiteral("[%1]").arg(i));
            if (!below.isEmpty())
                return below;
        } else if (canonical(a[i]) != canonical(b[i])) {
            return path + QStringLiteral("[%1]").arg(i) + QStringLiteral("\n      original: ") + canonical(a[i]).left(240)
                + QStringLiteral("\n      rebuilt:  ") + canonical(b[i]).left(240);
        }
    }
    return path + QStringLiteral("\n      original: ") + canonical(original).left(240) + QStringLiteral("\n      rebuilt:  ")
        + canonical(rebuilt).left(240) + (a.size() != b.size() ? QStringLiteral(" (%1 vs %2 children)").arg(a.size()).arg(b.size()) : QString());
}

// The blocks of a label that must come back alike: the title, each product, each top-level
// section, in document order.
QList<QPair<QString, xml::Node>> blocksOf(const xml::Document& spl)
{
    QList<QPair<QString, xml::Node>> blocks;
    const xml::Node title = spl.selectSingleNode(QStringLiteral("/document/title"));
    if (!title.isNull())
        blocks.append({QStringLiteral("title"), title});
    int n = 0;
    for (const xml::Node& product : spl.selectNodes(ProductSection + QStringLiteral("/subject")))
        blocks.append({QStringLiteral("product %1").arg(n++), product});
    n = 0;
    for (const xml::Node& section : spl.selectNodes(QStringLiteral("/document/component/structuredBody/component/section[not(code/@code='48780-1')]")))
        blocks.append({QStringLiteral("section %1 (%2)").arg(n++).arg(section.selectSingleNode(QStringLiteral("code")).getAttribute(QStringLiteral("code"))), section});
    return blocks;
}

QStringList mediaOf(const xml::Document& spl)
{
    QStringList media;
    for (const xml::Node& node : spl.selectNodes(QStringLiteral("//observationMedia"))) {
        const xml::Node copy = node.cloneNode(true);
        const auto unwrap = [](const xml::Node& n) {
            QString text;
            for (const xml::Node& c : n.childNodes())
                text += canonical(c);
            return text;
        };
        media << node.getAttribute(QStringLiteral("ID")) + QLatin1Char(' ') + unwrap(copy);
    }
    media.sort();
    return media;
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
        ImportDataFromSPLFile(*editor, *editor->TreeView);
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

    // Imports every group the vocabulary offers into a new settings document: the header, the
    // labeler, the registrant with its establishments, every product and the label sections.
    frmXMLEditor* importLabel(const xml::Document& spl, const QString& splFile)
    {
        frmXMLEditor* editor = newSettings();
        for (const char* group : {"General Data", "Labeler", "Registrant"})
            importInto(editor, node(editor, QLatin1String(group)), splFile);
        importProducts(editor, spl, splFile);
        importInto(editor, node(editor, QStringLiteral("Document Sections")), splFile);
        for (const char* group : {"Ingredient", "Package", "Route Of Administration", "Section", "Establishment"})
            restoreOrder(editor, QLatin1String(group));
        return editor;
    }

    // Builds the settings into an SPL file that must validate, and adds to `report` the first
    // difference of every block of the label that the rebuild does not hold alike.
    void buildAndCompare(const frmXMLEditor* editor, const Label& label, const xml::Document& spl, QStringList& report)
    {
        const QString built = dir.file(label.folder + QStringLiteral("/") + label.file);
        QDir().mkpath(dir.file(label.folder));
        TransformSPLR4ToSPL(*editor->XMLDoc, built);
        xml::Document rebuilt;
        ASSERT_TRUE(rebuilt.load(built)) << logText().toStdString();

        const xml::SchemaCheck check = xml::SchemaValidator().validateFile(built);
        EXPECT_TRUE(check.isValid()) << check.reason.toStdString() << " line " << check.line;

        xml::Document original;
        original.loadXml(spl.xml());
        normalise(original);
        normalise(rebuilt);
        const auto expected = blocksOf(original);
        const auto actual = blocksOf(rebuilt);
        QStringList names;
        for (const auto& [name, block] : expected) {
            names << name;
            const auto match = std::find_if(actual.cbegin(), actual.cend(), [&](const auto& b) { return b.first == name; });
            if (match == actual.cend()) {
                report << label.file + QStringLiteral(": ") + name + QStringLiteral(" missing from the rebuild");
                continue;
            }
            const QString difference = firstDifference(block, match->second, block.localName());
            if (!difference.isEmpty())
                report << label.file + QStringLiteral(": ") + name + QStringLiteral(" differs at ") + difference;
        }
        for (const auto& [name, block] : actual)
            if (!names.contains(name))
                report << label.file + QStringLiteral(": the rebuild has a block the label lacks: ") + name;
        if (mediaOf(original) != mediaOf(rebuilt))
            report << label.file + QStringLiteral(": pictures differ\n      original: ") + mediaOf(original).join(QStringLiteral(" | ")).left(300)
                    + QStringLiteral("\n      rebuilt:  ") + mediaOf(rebuilt).join(QStringLiteral(" | ")).left(300);
    }

    static QString fixtureLabel(const Label& label)
    {
        return test::fixture(QStringLiteral("spl-documents/") + label.folder + QLatin1Char('/') + label.file);
    }
};

TEST_F(RoundTripTest, EveryFixtureLabelComesBackWholeFromItsSettingsDocument)
{
    QStringList report;
    for (const Label& label : DrugLabels) {
        SCOPED_TRACE(label.file.toStdString());
        const QString original = fixtureLabel(label);
        xml::Document spl;
        ASSERT_TRUE(spl.load(original));

        frmXMLEditor* editor = importLabel(spl, original);
        buildAndCompare(editor, label, spl, report);
        closeLog();
    }
    EXPECT_TRUE(report.isEmpty()) << report.size() << " differences\n" << report.join(QLatin1Char('\n')).toStdString();
}

} // namespace
