// The build looks its target paths, clone marks and transformation entries up through
// indexes; the plain queries over the whole document are the reference. Both roads must
// write the same SPL file for real labels and for a label with many products.
#include "generation/BuildTestSupport.h"
#include "generation/SettingsFromSPL.h"

#include "editor/document/SettingsDocument.h"
#include "generation/building/BuildIndex.h"
#include "generation/building/TransformSPLR4ToSPL.h"
#include "platform/xml/tree/NodeList.h"
#include "support/Fixtures.h"
#include "support/HostileValues.h"
#include "support/TempDir.h"

#include <QFile>
#include <QRegularExpression>

using namespace veldra;
using namespace veldra::test;

namespace {

// Ids the build draws afresh differ between two builds of one document.
QString withoutFreshIds(QString spl)
{
    static const QRegularExpression guid(QStringLiteral("[0-9a-fA-F]{8}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{12}"));
    return spl.replace(guid, QStringLiteral("GUID"));
}

QString built(const xml::Document& settings, const QString& file, bool indexed)
{
    setIndexedLookups(indexed);
    TransformSPLR4ToSPL(settings, file);
    setIndexedLookups(true);
    QFile out(file);
    EXPECT_TRUE(out.open(QIODevice::ReadOnly)) << file.toStdString();
    return withoutFreshIds(QString::fromUtf8(out.readAll()));
}

// A label whose first product is cloned, with fresh ids, to `products` products.
xml::Document withProducts(const xml::Document& label, int products)
{
    xml::Document settings;
    settings.loadXml(label.xml());
    const xml::Node first = settings.selectSingleNode(QStringLiteral("/SPLR4/Products/Product"));
    for (int i = 1; i < products; ++i) {
        const xml::Node clone = first.cloneNode(true);
        first.parentNode().appendChild(clone);
        AssignWord2SPLIDs(clone);
    }
    return settings;
}

// Empties every value below the settings element.
void clearValues(const xml::Node& element)
{
    for (const xml::Node& child : element.childNodes()) {
        if (child.nodeType() == xml::NodeType::Text)
            child.setText(QString());
        else if (child.nodeType() == xml::NodeType::Element)
            clearValues(child);
    }
}

// Section text as a settings document may hold it, copied whole into the label: empty default
// namespace declarations, a prefixed namespace, CDATA, xml:space, blanks between inline
// elements, layout between block elements, and adjacent and empty text as edits leave them.
// The finish must settle all of it as reading the written text back does. `extraText` goes
// into one more paragraph.
xml::Document withCraftedSectionText(const xml::Document& label, const QString& extraText)
{
    xml::Document settings;
    settings.loadXml(label.xml());
    const xml::Node oldText = settings.selectSingleNode(QStringLiteral("//DocumentSections/Section/LabelText/text"));
    EXPECT_FALSE(oldText.isNull());
    xml::Document crafted;
    EXPECT_TRUE(crafted.loadXml(QStringLiteral(
        "<text xmlns=\"urn:hl7-org:v3\"><paragraph xmlns=\"\">Take <content styleCode=\"bold\">two</content>"
        "<content>tablets</content> daily.<br xmlns=\"\"/></paragraph><paragraph><![CDATA[x < y]]></paragraph>"
        "<x:note xmlns:x=\"urn:example\" x:kind=\"a\" xml:lang=\"en\">note</x:note>"
        "<list xml:space=\"preserve\"><item>a</item></list><paragraph>FIRST</paragraph><paragraph/></text>")));
    const xml::Node text = crafted.documentElement();
    const xml::NodeList paragraphs = text.selectNodes(QStringLiteral("*"));
    const xml::Node inlines = paragraphs.item(0);
    inlines.insertBefore(crafted.createTextNode(QStringLiteral(" ")), inlines.childNodes().item(2));
    paragraphs.item(1).appendChild(crafted.createTextNode(QStringLiteral(" z")));
    text.insertBefore(crafted.createTextNode(QStringLiteral("\n  ")), paragraphs.item(1));
    paragraphs.item(3).insertBefore(crafted.createTextNode(QStringLiteral("\n  ")), paragraphs.item(3).firstChild());
    const xml::Node adjacent = paragraphs.item(4);
    adjacent.appendChild(crafted.createTextNode(QString()));
    adjacent.appendChild(crafted.createTextNode(QStringLiteral("SECOND")));
    paragraphs.item(5).appendChild(crafted.createTextNode(extraText));
    const xml::Node copied = settings.importNode(text, true);
    oldText.parentNode().replaceChild(copied, oldText);
    AssignWord2SPLIDs(copied);
    return settings;
}

class IndexedBuildTest : public BuildLogTest {
protected:
    QString expectSameFile(const xml::Document& settings, const QString& what)
    {
        SCOPED_TRACE(what.toStdString());
        const QString indexed = built(settings, out.file(QStringLiteral("indexed.xml")), true);
        const QString plain = built(settings, out.file(QStringLiteral("plain.xml")), false);
        EXPECT_FALSE(indexed.isEmpty());
        EXPECT_EQ(indexed, plain);
        return indexed;
    }

    ProgramFolderCopy program;
    TempDir out;
};

} // namespace

TEST_F(IndexedBuildTest, RealLabelsAndALabelOfManyProductsBuildAsWithPlainQueries)
{
    NoLogging = true;
    int labels = 0;
    for (const QString& file : splDocumentFiles()) {
        xml::Document settings;
        try {
            settings = settingsFromSPL(file);
        } catch (const std::exception&) {
            continue;  // not a label of products (a labeler code request)
        }
        expectSameFile(settings, file);
        ++labels;
    }
    EXPECT_GE(labels, 8);
    const xml::Document lipitor = settingsFromSPL(fixture(QStringLiteral("spl-documents/openfda-lipitor-rx/lipitor-orig.xml")));
    expectSameFile(withProducts(lipitor, 12), QStringLiteral("12 products"));
    // A filled kit part chooses the kit's template and transformation.
    const xml::Document kit = withProducts(lipitor, 3);
    const xml::Node part = kit.selectSingleNode(QStringLiteral("/SPLR4/Products/Product/KitAssembly/KitPart"));
    ASSERT_FALSE(part.isNull());
    part.selectSingleNode(QStringLiteral("ProprietaryName")).setText(QStringLiteral("Part A"));
    part.selectSingleNode(QStringLiteral("PartQuantity")).setText(QStringLiteral("2"));
    EXPECT_TRUE(expectSameFile(kit, QStringLiteral("kit")).contains(QStringLiteral("Part A")));
    // Two packages sharing a Word2SPLID: the second is written into the copy made for the
    // first, in an outer level the first left empty.
    const xml::Document shared = withProducts(lipitor, 1);
    const xml::NodeList packages = shared.selectNodes(QStringLiteral("/SPLR4/Products/Product/Package"));
    ASSERT_GE(packages.length(), 2);
    clearValues(packages.item(0).selectSingleNode(QStringLiteral("OuterPackage")));
    packages.item(1).setAttribute(QStringLiteral("Word2SPLID"), packages.item(0).getAttribute(QStringLiteral("Word2SPLID")));
    packages.item(1).selectSingleNode(QStringLiteral("OuterPackage/NDCPackageCode")).setText(QStringLiteral("0071-0155-99"));
    EXPECT_TRUE(expectSameFile(shared, QStringLiteral("shared package id")).contains(QStringLiteral("0071-0155-99")));
    // Attribute values the indexed road writes from the settings' bytes, beside one that
    // changes as text (a leading byte order mark, which reading it as text drops) and is
    // written after a prefix.
    const xml::Document unusual = withProducts(lipitor, 2);
    unusual.selectSingleNode(QStringLiteral("/SPLR4/Products/Product/NDCProductCode"))
        .setText(QStringLiteral("0071-\u00C4\u2122-\U0001D11E"));
    unusual.selectSingleNode(QStringLiteral("/SPLR4/Labeler/ContactParty/Telephone")).setText(QStringLiteral("\uFEFF+1-555-0100"));
    const QString unusualValues = expectSameFile(unusual, QStringLiteral("unusual values"));
    EXPECT_TRUE(unusualValues.contains(QStringLiteral("0071-\u00C4\u2122-\U0001D11E")));
    EXPECT_TRUE(unusualValues.contains(QStringLiteral("\"tel:+1-555-0100\"")));
    // Build marks holding quotes and query text are looked up as one text on both roads.
    const xml::Document marked = withProducts(lipitor, 2);
    int mark = 0;
    for (const xml::Node& element : marked.selectNodes(QStringLiteral("//*[@Word2SPLID]"))) {
        element.setAttribute(QStringLiteral("Word2SPLID"), hostileQueryValues().at(mark % hostileQueryValues().size()) + QString::number(mark));
        ++mark;
    }
    EXPECT_TRUE(expectSameFile(marked, QStringLiteral("quoted marks")).contains(QStringLiteral("0071-0155")));
    const QString settled = expectSameFile(withCraftedSectionText(lipitor, QStringLiteral("plain")), QStringLiteral("crafted text"));
    for (const char* part : {"FIRSTSECOND", "<![CDATA[x < y]]> z", "<x:note", "<content>tablets</content> daily."})
        EXPECT_TRUE(settled.contains(QLatin1String(part))) << part;
    // Text that reads like a declaration is written, and read back, as it always was.
    expectSameFile(withCraftedSectionText(lipitor, QStringLiteral("reads xmlns=\"\" here")), QStringLiteral("declaration text"));
    NoLogging = false;
}

// Both roads also say the same, line for line: among the lines, the warnings of pictures the
// SPL refers to but the folders lack, once each, in the order of the document.
TEST_F(IndexedBuildTest, ALabelWithPicturesLogsAsWithPlainQueries)
{
    const xml::Document settings = settingsFromSPL(fixture(QStringLiteral("spl-documents/openfda-lipitor-rx/lipitor-orig.xml")));
    const QString file = out.file(QStringLiteral("label.xml"));
    const auto logOf = [&](bool indexed) {
        closeLog();
        setIndexedLookups(indexed);
        TransformSPLR4ToSPL(settings, file);
        setIndexedLookups(true);
        QStringList lines = logText().split(QLatin1Char('\n'));
        lines.removeIf([](const QString& line) { return line.contains(QStringLiteral("Operation Completed")); });
        return lines;
    };
    const QStringList indexed = logOf(true);
    EXPECT_GE(indexed.filter(QStringLiteral("is not beside the SPL File")).size(), 5);
    EXPECT_EQ(indexed, logOf(false));
}
