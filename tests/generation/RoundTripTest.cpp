#include "generation/CheckingTestSupport.h"
#include "generation/KitLabel.h"

#include "app/log/Log.h"
#include "editor/document/SettingsDocument.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "generation/crosscheck/CrossCheck.h"
#include "generation/reverse/ImportDataFromSPLFile.h"
#include "generation/building/TransformSPLR4ToSPL.h"
#include "generation/reverse/frmUserSelection.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/resources/SchemaValidator.h"
#include "support/Fixtures.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// The kit label with two more kits after its own, alike but for their NDC labeler codes and
// names, so that the order of a label's kits shows in its rebuild.
QString threeKitLabel()
{
    const QString label = test::kitLabel();
    const QString end = QStringLiteral("</subject>");
    const qsizetype first = label.indexOf(QStringLiteral("<subject>"));
    const qsizetype last = label.indexOf(end) + end.size();
    const QString kit = label.mid(first, last - first);
    QString kits = kit;
    for (const QString& n : {QStringLiteral("2"), QStringLiteral("3")})
        kits += QString(kit)
                    .replace(QStringLiteral("\"12345-"), QStringLiteral("\"1234") + n + QLatin1Char('-'))
                    .replace(QStringLiteral("<name>Injection Kit</name>"), QStringLiteral("<name>Injection Kit ") + n + QStringLiteral("</name>"));
    return QString(label).replace(first, last - first, kits);
}

QStringList texts(const xml::Node& context, const QString& query)
{
    QStringList all;
    for (const xml::Node& node : context.selectNodes(query))
        if (const QString text = node.text().simplified(); !text.isEmpty())
            all << text;
    return all;
}

// Attributes proper: a namespace declaration that a copied element brings along repeats the
// namespace it stands in and says nothing (canonical form drops it too).
bool hasAttributes(const xml::Node& element)
{
    for (const xml::Node& attribute : element.attributes())
        if (!attribute.nodeName().startsWith(QLatin1String("xmlns")))
            return true;
    return false;
}

void dropLayout(const xml::Node& element)
{
    for (const xml::Node& child : element.childNodes()) {
        const bool edge = child.previousSibling().isNull() || child.nextSibling().isNull();
        if (child.nodeType() == xml::NodeType::Text && edge && child.text().trimmed().isEmpty())
            element.removeChild(child);
        else if (child.nodeType() == xml::NodeType::Element) {
            dropLayout(child);  // first, so a wrapper of nothing but empty elements is empty too
            if (!child.hasChildNodes() && !hasAttributes(child))
                element.removeChild(child);
        }
    }
}

// Differences between a label and its rebuild that are not losses, each with its reason.
// - Ids the build draws afresh: every GUID id root, and the ID attribute of each section
//   (the build gives every section one; the label's own are not kept).
// - Layout whitespace: blank text that opens or closes an element's content is the indentation
//   of the file's writer, not text of the label (blanks between inline elements are kept).
// - Empty elements without attributes (an empty title, an empty registrant), and wrappers of
//   nothing else: they hold nothing, and a settings document cannot tell them from absent ones.
// - Where the pictures' observationMedia elements stand: the build gathers them per section
//   in its own order; they are compared as a set, not in place.
// - The unit "1" of a denominator: it is the unit a denominator has when it names none.
void normalise(const xml::Document& spl)
{
    for (const xml::Node& denominator : spl.selectNodes(QStringLiteral("//denominator[@unit='1']")))
        denominator.removeAttribute(QStringLiteral("unit"));
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

// The blocks of a label that must come back alike: the title, the author (labeler,
// registrant, establishments and their business operations), each product, each top-level
// section, in document order.
QList<QPair<QString, xml::Node>> blocksOf(const xml::Document& spl)
{
    QList<QPair<QString, xml::Node>> blocks;
    for (const char* name : {"title", "author"}) {
        const xml::Node block = spl.selectSingleNode(QStringLiteral("/document/") + QLatin1String(name));
        if (!block.isNull())
            blocks.append({QLatin1String(name), block});
    }
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

    QList<QTreeWidgetItem*> nodesCaptioned(const frmXMLEditor* editor, const QString& caption)
    {
        QList<QTreeWidgetItem*> nodes;
        editor->TreeView->forEachNode([&](QTreeWidgetItem* item) {
            if (nodeCaption(item) == caption)
                nodes << item;
        });
        return nodes;
    }

    void importInto(frmXMLEditor* editor, QTreeWidgetItem* target, const QString& splFile)
    {
        ASSERT_NE(target, nullptr);
        editor->TreeView->selectNode(target);
        ui.openFiles.push_back(splFile);
        ImportDataFromSPLFile(editor, editor->TreeView);
        for (const QString& line : logText().split(QLatin1Char('\n')))
            if (line.contains(QStringLiteral(" is not imported")))
                notImported << line;
    }

    // The log's lines that named something of a label an import left out.
    QStringList notImported;

    // The product data section's own fields (their import brings the first product along),
    // then one Product element per product of the label, each imported with its own pick.
    void importProducts(frmXMLEditor* editor, const xml::Document& spl, const QString& splFile)
    {
        const QStringList codes = texts(spl.asNode(), ProductSection + QStringLiteral("/subject/manufacturedProduct/manufacturedProduct/code/@code"));
        {
            PickProduct pick(codes.value(0));
            importInto(editor, node(editor, QStringLiteral("Products")), splFile);
        }
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
        return editor;
    }

    // Builds the settings into an SPL file that must validate, and adds to `report` the first
    // difference of every block of the label that the rebuild does not hold alike, and any
    // difference the cross-check of the label with its rebuild finds.
    void buildAndCompare(const frmXMLEditor* editor, const Label& label, const QString& originalFile, const xml::Document& spl,
                         QStringList& report)
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
        // The cross-check of the label with its rebuild finds nothing either.
        closeLog();
        CompareSPLFiles(originalFile, QStringLiteral("Label"), built, QStringLiteral("Rebuild"), true);
        if (!logText().contains(QStringLiteral("There are no differences between SPL Files")))
            report << crossCheckDifferences(label.file);
        if (mediaOf(original) != mediaOf(rebuilt))
            report << label.file + QStringLiteral(": pictures differ\n      original: ") + mediaOf(original).join(QStringLiteral(" | ")).left(300)
                    + QStringLiteral("\n      rebuilt:  ") + mediaOf(rebuilt).join(QStringLiteral(" | ")).left(300);
    }

    // The differences the cross-check logged, one report line each, with both values.
    static QStringList crossCheckDifferences(const QString& file)
    {
        static const QString different = QStringLiteral(" is different");
        const QStringList lines = logText().split(QLatin1Char('\n'));
        QStringList found;
        for (qsizetype i = 0; i + 2 < lines.size(); ++i)
            if (lines[i].endsWith(different))
                found << file + QStringLiteral(": cross-check differs at ") + lines[i].mid(15).chopped(different.size())
                             + QStringLiteral("\n      ") + lines[i + 1] + QStringLiteral("\n      ") + lines[i + 2];
        return found;
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
        buildAndCompare(editor, label, original, spl, report);
        closeLog();
    }
    EXPECT_TRUE(report.isEmpty()) << report.size() << " differences\n" << report.join(QLatin1Char('\n')).toStdString();
    // What comes back whole was held whole: the import names nothing as left out.
    EXPECT_EQ(notImported, QStringList());
}

// The kits come back in the label's order, the parts each with its own ingredients, routes
// and packages in all their levels, the document builds with the kit pair, and the parts stand
// after the kit's packages as the schema wants.
TEST_F(RoundTripTest, AKitComesBackWithItsPartsAndBuildsAsAKit)
{
    const QString original = dir.file(QStringLiteral("kit-label.xml"));
    test::writeTextFile(original, threeKitLabel());
    ASSERT_TRUE(xml::SchemaValidator().validateFile(original).isValid());
    xml::Document spl;
    ASSERT_TRUE(spl.load(original));

    frmXMLEditor* editor = importLabel(spl, original);
    EXPECT_EQ(editor->XMLDoc->selectNodes(QStringLiteral("//KitPart/Ingredient[IngredientUNIICode!='']")).length(), 9);
    // The contact's telephone and e-mail come back as typed, without the prefix the build adds.
    EXPECT_EQ(editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/Labeler/ContactParty/Telephone")).text(),
              QStringLiteral("+1-207-555-0100;ext=12"));
    EXPECT_EQ(editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/Registrant/ContactParty/Email")).text(),
              QStringLiteral("registration@example.com"));
    QStringList report;
    buildAndCompare(editor, {QStringLiteral("kit"), QStringLiteral("kit-label.xml")}, original, spl, report);
    EXPECT_TRUE(report.isEmpty()) << report.size() << " differences\n" << report.join(QLatin1Char('\n')).toStdString();
    // What comes back whole was held whole: the import names nothing as left out.
    EXPECT_EQ(notImported, QStringList());
}

// The pictures of a label travel with its sections: the import copies those beside the SPL
// file into the image folder. An SPL goes out with the pictures of its own folder, so a build
// into another folder warns once for each picture it refers to, naming the image folder that
// holds it; a build beside the pictures warns only of the one that is gone.
TEST_F(RoundTripTest, ImportedPicturesAreCopiedToTheImageFolderAndABuildWarnsOfThoseNotBesideIt)
{
    const Label viagra = DrugLabels.at(5);
    const QString original = fixtureLabel(viagra);
    frmXMLEditor* editor = newSettings();
    const QString images = dir.file(QStringLiteral("images"));
    editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/ProductLabel/WordDocument/ImageTargetFolder")).setText(images);
    importInto(editor, node(editor, QStringLiteral("Document Sections")), original);
    const QStringList copied = QDir(images).entryList(QDir::Files);
    EXPECT_EQ(copied.size(), 13) << logText().toStdString();
    EXPECT_TRUE(logHas(QStringLiteral("Information"), QStringLiteral("Copying File '%1' to Folder '%2'")
                                                          .arg(QFileInfo(original).dir().filePath(QStringLiteral("viagra-01.jpg")), images)));

    const auto missingWarnings = [] { return logText().split(QLatin1Char('\n')).filter(QStringLiteral("Warning        Image file '")); };
    const QString elsewhere = dir.file(QStringLiteral("out/label.xml"));
    QDir().mkpath(dir.file(QStringLiteral("out")));
    TransformSPLR4ToSPL(*editor->XMLDoc, elsewhere);
    const QStringList notBeside = missingWarnings();
    EXPECT_EQ(notBeside.size(), copied.size()) << logText().toStdString();
    for (const QString& picture : copied)
        EXPECT_EQ(notBeside.filter(QStringLiteral("'%1' is not beside the SPL File in the folder '%2'")
                                       .arg(picture, QFileInfo(elsewhere).absolutePath()))
                      .filter(QStringLiteral("it is in the image folder '%1'").arg(images))
                      .size(),
                  1)
            << picture.toStdString();
    EXPECT_TRUE(logText().contains(QStringLiteral("Operation Completed")));

    closeLog();
    const QString beside = QDir(images).filePath(QStringLiteral("label.xml"));
    TransformSPLR4ToSPL(*editor->XMLDoc, beside);
    EXPECT_TRUE(missingWarnings().isEmpty()) << logText().toStdString();
    QFile::remove(QDir(images).filePath(QStringLiteral("viagra-07.jpg")));
    TransformSPLR4ToSPL(*editor->XMLDoc, beside);
    EXPECT_EQ(missingWarnings(), QStringList(QStringLiteral("Warning        Image file 'viagra-07.jpg' is not beside the SPL File in "
                                                            "the folder '%1': the SPL File refers to a missing file")
                                                 .arg(images)));
    EXPECT_TRUE(logText().contains(QStringLiteral("Operation Completed")));
}

// Only plain file names of regular files in the label's own folder are copied: a reference
// that climbs out of the folder, or a link to a file elsewhere, is reported and left alone.
TEST_F(RoundTripTest, AnImportCopiesNoPictureFromOutsideTheLabelsFolder)
{
    const QString folder = dir.file(QStringLiteral("label"));
    QDir().mkpath(folder);
    test::writeTextFile(dir.file(QStringLiteral("secret.jpg")), QStringLiteral("not a picture of the label"));
    test::writeTextFile(QDir(folder).filePath(QStringLiteral("pic.jpg")), QStringLiteral("picture"));
    ASSERT_TRUE(QFile::link(dir.file(QStringLiteral("secret.jpg")), QDir(folder).filePath(QStringLiteral("link.jpg"))));
    QString media;
    for (const char* name : {"pic.jpg", "link.jpg", "../secret.jpg"})
        media += QStringLiteral("<component><observationMedia ID=\"m%1\"><text>x</text><value xsi:type=\"ED\" mediaType=\"image/jpeg\">"
                                "<reference value=\"%2\"/></value></observationMedia></component>")
                     .arg(media.size())
                     .arg(QLatin1String(name));
    const QString label = QDir(folder).filePath(QStringLiteral("label.xml"));
    test::writeTextFile(label, QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<document xmlns="urn:hl7-org:v3" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"><component><structuredBody>
<component><section ID="s1"><code code="51945-4" codeSystem="2.16.840.1.113883.6.1"/><title>PANEL</title>
<text><paragraph>Panel</paragraph></text>%1</section></component></structuredBody></component></document>)")
                                   .arg(media));
    frmXMLEditor* editor = newSettings();
    const QString images = dir.file(QStringLiteral("images"));
    editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/ProductLabel/WordDocument/ImageTargetFolder")).setText(images);
    importInto(editor, node(editor, QStringLiteral("Document Sections")), label);

    EXPECT_EQ(QDir(images).entryList(QDir::Files | QDir::System), QStringList{QStringLiteral("pic.jpg")});
    for (const char* name : {"link.jpg", "../secret.jpg"})
        EXPECT_TRUE(logHas(QStringLiteral("Warning"), QStringLiteral("Image file '%1' is not a file in the folder of the SPL File; not copied")
                                                          .arg(QLatin1String(name))))
            << name;
}

} // namespace
