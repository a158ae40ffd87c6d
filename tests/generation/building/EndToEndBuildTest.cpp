// Settings documents written from real labels build into SPL that the schema accepts, that
// the FDA stylesheet renders, and that holds the label's data.
#include "generation/BuildTestSupport.h"
#include "generation/SettingsFromSPL.h"

#include "editor/document/SettingsDocument.h"
#include "editor/document/ValueChecks.h"
#include "generation/building/TransformSPLR4ToSPL.h"
#include "platform/xml/resources/SchemaValidator.h"
#include "platform/xml/resources/XsltProcessor.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <QFileInfo>
#include <QSet>

using namespace veldra;
using namespace veldra::test;

namespace {

const QString stylesheet = QStringLiteral("http://www.accessdata.fda.gov/spl/stylesheet/spl.xsl");

QSet<QString> attributes(const xml::Document& doc, const QString& query, const QString& name)
{
    QSet<QString> values;
    for (const xml::Node& node : doc.selectNodes(query))
        if (!node.getAttribute(name).isEmpty())
            values.insert(node.getAttribute(name));
    return values;
}

// What identifies an ingredient of a product: its UNII code and its strength.
QSet<QString> ingredients(const xml::Document& doc)
{
    QSet<QString> result;
    for (const xml::Node& product : doc.selectNodes("//section[code/@code='48780-1']/subject/manufacturedProduct/manufacturedProduct")) {
        const QString ndc = product.selectSingleNode("code").getAttribute("code");
        for (const xml::Node& ingredient : product.selectNodes("ingredient")) {
            const xml::Node numerator = ingredient.selectSingleNode("quantity/numerator");
            result.insert(ndc + ' ' + ingredient.getAttribute("classCode") + ' '
                          + ingredient.selectSingleNode("ingredientSubstance/code").getAttribute("code") + ' '
                          + (numerator.isNull() ? QString() : numerator.getAttribute("value") + numerator.getAttribute("unit")));
        }
    }
    return result;
}

// Each product's name as its text and its suffix.
QStringList productNames(const xml::Document& doc)
{
    QStringList names;
    for (const xml::Node& name : doc.selectNodes("//section[code/@code='48780-1']/subject/manufacturedProduct/manufacturedProduct/name")) {
        const xml::Node text = name.selectSingleNode("text()");
        const xml::Node suffix = name.selectSingleNode("suffix");
        names << (text.isNull() ? QString() : text.text().simplified()) + " | " + (suffix.isNull() ? QString() : suffix.text().simplified());
    }
    return names;
}

// Each approval's id: the root says what kind of number the extension is.
QSet<QString> approvals(const xml::Document& doc)
{
    QSet<QString> ids;
    for (const xml::Node& id : doc.selectNodes("//subjectOf/approval/id"))
        ids.insert(id.getAttribute("root") + ' ' + id.getAttribute("extension"));
    return ids;
}

QString textAt(const xml::Document& doc, const QString& query)
{
    const xml::Node node = doc.selectSingleNode(query);
    return node.isNull() ? QString() : node.text().simplified();
}

struct SectionFacts {
    QString code;
    QString title;
    QString text;
    bool operator==(const SectionFacts&) const = default;
};

QList<SectionFacts> labelSections(const xml::Document& doc)
{
    QList<SectionFacts> sections;
    for (const xml::Node& section : doc.selectNodes("document/component/structuredBody/component/section[not(code/@code='48780-1')]")) {
        const xml::Node title = section.selectSingleNode("title");
        const xml::Node text = section.selectSingleNode("text");
        sections.append({section.selectSingleNode("code").getAttribute("code"),
                         title.isNull() ? QString() : title.text().simplified(),
                         text.isNull() ? QString() : text.text().simplified()});
    }
    return sections;
}

class EndToEndBuildTest : public BuildLogTest {
protected:
    // The schema and stylesheet resolve to the shared fixtures for every test (TestMain).

    // Builds the settings document and checks that the result is valid SPL that renders.
    xml::Document buildValid(const xml::Document& settings, const QString& name)
    {
        const QString file = out.file(name);
        TransformSPLR4ToSPL(settings, file);
        EXPECT_TRUE(QFileInfo::exists(file)) << logText().toStdString();
        const xml::SchemaCheck check = xml::SchemaValidator().validateFile(file);
        EXPECT_TRUE(check.isValid()) << check.reason.toStdString() << " line " << check.line << ": "
                                     << check.sourceText.toStdString();
        EXPECT_TRUE(logHas("Information", "XML File is valid against FDA SPL Schema."));
        const xml::XsltResult html = xml::XsltProcessor().transformFile(stylesheet, file);
        EXPECT_TRUE(html.ok()) << html.problem.toStdString();
        xml::Document built;
        EXPECT_TRUE(built.load(file));
        return built;
    }

    // The label's own data comes through the round trip settings -> SPL.
    void expectSameLabelData(const xml::Document& built, const xml::Document& original)
    {
        for (const QString item : {"id", "setId"})
            EXPECT_EQ(attributes(built, "document/" + item, "root"), attributes(original, "document/" + item, "root"));
        EXPECT_EQ(attributes(built, "document/code", "code"), attributes(original, "document/code", "code"));
        EXPECT_EQ(attributes(built, "document/effectiveTime", "value"), attributes(original, "document/effectiveTime", "value"));
        EXPECT_EQ(textAt(built, "document/title"), textAt(original, "document/title"));
        EXPECT_EQ(textAt(built, "document/author/assignedEntity/representedOrganization/name"),
                  textAt(original, "document/author/assignedEntity/representedOrganization/name"));

        const QString products = "//section[code/@code='48780-1']/subject/manufacturedProduct/manufacturedProduct/";
        EXPECT_EQ(attributes(built, products + "code", "code"), attributes(original, products + "code", "code"));
        EXPECT_EQ(productNames(built), productNames(original));
        EXPECT_EQ(approvals(built), approvals(original));
        EXPECT_EQ(ingredients(built), ingredients(original));
        EXPECT_EQ(attributes(built, products + "asContent//containerPackagedProduct/code", "code"),
                  attributes(original, products + "asContent//containerPackagedProduct/code", "code"));
        EXPECT_EQ(labelSections(built), labelSections(original));
    }

    ProgramFolderCopy program;
    TempDir out;
};

TEST_F(EndToEndBuildTest, AnRxLabelWithSeveralProductsBuildsIntoValidSPLWithItsData)
{
    const QString label = fixture("spl-documents/openfda-lipitor-rx/lipitor-orig.xml");
    const xml::Document built = buildValid(settingsFromSPL(label), "lipitor.xml");
    xml::Document original;
    ASSERT_TRUE(original.load(label));
    expectSameLabelData(built, original);
    EXPECT_EQ(built.selectNodes("//section[code/@code='48780-1']/subject").length(), 4);
}

TEST_F(EndToEndBuildTest, PostProcessingListsEveryPackageInOnePackageLabelSection)
{
    const xml::Document settings = settingsFromSPL(fixture("spl-documents/openfda-lipitor-rx/lipitor-orig.xml"));
    settings.selectSingleNode("SPLR4/ProductLabel/WordDocument/PostprocessProductLabel").setText("Yes");
    const xml::Document built = buildValid(settings, "listing.xml");

    const xml::NodeList listings = built.selectNodes("//section[@ID='PACKAGE-LABEL-LISTING']");
    ASSERT_EQ(listings.length(), 1);
    const xml::NodeList items = listings.item(0).selectNodes("text/list/item");
    EXPECT_EQ(items.length(), settings.selectNodes("SPLR4/Products/Product/Package").length());
    EXPECT_EQ(items.item(0).selectSingleNode("content").text(), "NDC 0071-0155-23");
    EXPECT_EQ(items.item(0).selectSingleNode("content[1]").text(), "BOTTLE");
}

TEST_F(EndToEndBuildTest, AnOTCLabelBuildsIntoValidSPLWithItsData)
{
    const QString label = fixture("spl-documents/openfda-cough-otc/cough.xml");
    const xml::Document built = buildValid(settingsFromSPL(label), "cough.xml");
    xml::Document original;
    ASSERT_TRUE(original.load(label));
    expectSameLabelData(built, original);
}

TEST_F(EndToEndBuildTest, ARepackagerLabelBuildsIntoValidSPLWithItsSourceProducts)
{
    const QString label = fixture("spl-documents/openfda-lipitor-repackager/lipitor-repack.xml");
    const xml::Document built = buildValid(settingsFromSPL(label), "repack.xml");
    xml::Document original;
    ASSERT_TRUE(original.load(label));
    expectSameLabelData(built, original);
    const QString source = "//manufacturedProduct/manufacturedProduct/asEquivalentEntity/definingMaterialKind/code";
    EXPECT_EQ(attributes(built, source, "code"), attributes(original, source, "code"));
    EXPECT_FALSE(attributes(built, source, "code").isEmpty());
}

TEST_F(EndToEndBuildTest, TheOtherFixtureLabelsBuildIntoValidSPLWithTheirData)
{
    for (const char* file : {"openfda-viagra-rx-with-images/64f8040f-938d-4236-8e22-c838c9b5f8da.xml",
                             "openfda-sunscreen-otc/a4e3211d-f25b-4e3e-b39d-028de892f165.xml",
                             "pharmadb-rogaine-otc-with-image/ab36b844-19de-4340-b32b-5e3abdaa5895.xml",
                             "openfda-no-title-rx/no-title.xml"}) {
        SCOPED_TRACE(file);
        closeLog();
        const QString label = fixture(QStringLiteral("spl-documents/") + file);
        const xml::Document built = buildValid(settingsFromSPL(label), QFileInfo(label).fileName());
        xml::Document original;
        ASSERT_TRUE(original.load(label));
        expectSameLabelData(built, original);
    }
}

// The product data section's code carries the name the settings give it (an older label's,
// say); settings without one, those saved before it existed among them, keep the current
// name. The section has one code either way.
TEST_F(EndToEndBuildTest, TheProductDataSectionIsNamedAsTheSettingsSayOrByItsCurrentName)
{
    const QString current = "SPL PRODUCT DATA ELEMENTS SECTION";
    const struct {
        const char* setting;  // nullptr: the settings document lacks the element
        QString expected;
    } cases[] = {{nullptr, current}, {"", current}, {"SPL LISTING DATA ELEMENTS SECTION", "SPL LISTING DATA ELEMENTS SECTION"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting ? c.setting : "(absent)");
        closeLog();
        const xml::Document settings = settingsFromSPL(fixture("spl-documents/openfda-cough-otc/cough.xml"));
        const xml::Node name = settings.selectSingleNode("SPLR4/Products/ProductDataSectionName");
        if (c.setting)
            name.setText(c.setting);
        else
            name.parentNode().removeChild(name);
        const xml::Document built = buildValid(settings, "named.xml");
        QStringList names;
        for (const xml::Node& code : built.selectNodes("//section[code/@code='48780-1']/code"))
            names << code.getAttribute("displayName");
        EXPECT_EQ(names, QStringList{c.expected});
    }
}

// A product's characteristics come in the order its settings list them, in the places the
// characteristics hold among the product's subjectOf elements; those not listed follow in the
// template's order, which a product without a list keeps.
TEST_F(EndToEndBuildTest, AProductsCharacteristicsAreBuiltInTheOrderItsSettingsList)
{
    const struct {
        const char* list;
        QStringList expected;
    } cases[] = {{"", {"approval", "marketingAct", "SPLCOLOR", "SPLSCORE", "SPLSHAPE", "SPLSIZE", "SPLIMPRINT"}},
                 {"SPLCOLOR SPLSIZE  SPLSHAPE SPLSCORE SPLIMPRINT",
                  {"approval", "marketingAct", "SPLCOLOR", "SPLSIZE", "SPLSHAPE", "SPLSCORE", "SPLIMPRINT"}},
                 {"SPLIMPRINT SPLFLAVOR", {"approval", "marketingAct", "SPLIMPRINT", "SPLCOLOR", "SPLSCORE", "SPLSHAPE", "SPLSIZE"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        closeLog();
        const xml::Document settings = settingsFromSPL(fixture("spl-documents/openfda-no-title-rx/no-title.xml"));
        settings.selectSingleNode("SPLR4/Products/Product/Characteristics/CharacteristicOrder").setText(c.list);
        const xml::Document built = buildValid(settings, "ordered.xml");
        QStringList subjects;
        for (const xml::Node& subjectOf : built.selectNodes("//section[code/@code='48780-1']/subject[0]/manufacturedProduct/subjectOf")) {
            const xml::Node code = subjectOf.selectSingleNode("characteristic/code");
            subjects << (code.isNull() ? subjectOf.firstChild().nodeName() : code.getAttribute("code"));
        }
        EXPECT_EQ(subjects, c.expected);
    }
}

void fillKitPart(const xml::Node& part, const QString& ndc, const QString& name, const QString& unii, const QString& strength)
{
    const QList<QPair<QString, QString>> values = {
        {"PartQuantity", "1"}, {"NDCProductCode", ndc}, {"ProprietaryName", name}, {"NonProprietaryName", name.toLower()},
        {"DosageFormCode", "C42998"}, {"DosageFormDisplayName", "TABLET"},
        {"RouteOfAdministration/NCICode", "C38288"}, {"RouteOfAdministration/NCIDisplayName", "ORAL"},
        {"Ingredient/IngredientName", name.toUpper()}, {"Ingredient/IngredientUNIICode", unii},
        {"Ingredient/StrengthNumerator", strength}, {"Package/PackageQuantity", "10"},
        {"Package/PackagingFormCode", "C43168"}, {"Package/PackagingFormDisplayName", "BLISTER PACK"},
        {"Marketing/NCIMarketingCategoryCode", "C73584"}, {"Marketing/NCIMarketingCategoryDisplayName", "ANDA"},
        {"Marketing/ApplicationNumber", "ANDA076477"}, {"Marketing/MarketingStartDate", "20100101"}};
    for (const auto& [path, value] : values)
        part.selectSingleNode(path).setText(value);
}

TEST_F(EndToEndBuildTest, AKitOfTwoPartsBuildsWithTheKitTemplate)
{
    const xml::Document settings = settingsFromSPL(fixture("spl-documents/openfda-cough-otc/cough.xml"));
    const xml::Node product = settings.selectSingleNode("SPLR4/Products/Product");
    product.selectSingleNode("DosageFormCode").setText("C47916");
    product.selectSingleNode("DosageFormDisplayName").setText("KIT");
    const xml::Node first = product.selectSingleNode("KitAssembly/KitPart");
    fillKitPart(first, "0067-1111", "Acetaminophen", "362O9ITL9D", "500");
    const xml::Node second = first.parentNode().insertBefore(first.cloneNode(true), first.nextSibling());
    AssignWord2SPLIDs(second);
    fillKitPart(second, "0067-2222", "Ibuprofen", "WK2XYI10QM", "200");
    // The second part as a document saved before a part's package had outer packages holds it.
    second.selectSingleNode("Package").removeChild(second.selectSingleNode("Package/OuterPackage"));

    const xml::Document built = buildValid(settings, "kit.xml");
    const xml::NodeList parts = built.selectNodes("//manufacturedProduct/manufacturedProduct/part");
    ASSERT_EQ(parts.length(), 2);
    EXPECT_EQ(parts.item(0).selectSingleNode("partProduct/code").getAttribute("code"), "0067-1111");
    EXPECT_EQ(parts.item(1).selectSingleNode("partProduct/ingredient/ingredientSubstance/code").getAttribute("code"),
              "WK2XYI10QM");
    EXPECT_EQ(parts.item(1).selectSingleNode("partProduct/asContent/containerPackagedProduct/formCode").getAttribute("code"),
              "C43168");
    EXPECT_EQ(parts.item(0).selectSingleNode("subjectOf/approval/id").getAttribute("extension"), "ANDA076477");
    // Outer packages left empty, or absent, leave the part's package in one level.
    for (const xml::Node& part : parts)
        EXPECT_TRUE(part.selectSingleNode("partProduct/asContent/containerPackagedProduct/asContent").isNull());
    EXPECT_TRUE(logHas("Information", "Loading SPL Template"));
}

// A new document filled in part: groups the user left empty, or that hold only their starting
// values, leave nothing in the SPL, however many of them there are.
TEST_F(EndToEndBuildTest, ANewDocumentFilledInPartBuildsIntoValidSPLWithWhatWasFilled)
{
    const xml::Document settings = newSettingsDocument();
    const auto fill = [&](const xml::Node& group, const QList<QPair<QString, QString>>& values) {
        for (const auto& [path, value] : values)
            group.selectSingleNode(path).setText(value);
    };
    fill(settings.documentElement(), {{"GeneralData/EffectiveTime", "20240115"}, {"GeneralData/Title", "Acmex & Co"},
                                      {"Labeler/LabelerName", "Acme"}, {"Labeler/LabelerDUNSNumber", "123456789"}});
    const xml::Node product = settings.selectSingleNode("SPLR4/Products/Product");
    const xml::Node emptyProduct = product.parentNode().appendChild(newSettingsDocument().selectSingleNode("SPLR4/Products/Product"));
    AssignWord2SPLIDs(emptyProduct);
    const xml::Node emptyIngredient = product.insertBefore(product.selectSingleNode("Ingredient").cloneNode(true), product.selectSingleNode("Package"));
    AssignWord2SPLIDs(emptyIngredient);
    fill(product, {{"NDCProductCode", "12345-678"}, {"ProprietaryName", "Acmex"}, {"ProprietaryNameSuffix", "XR"},
                   {"NonProprietaryName", "acmetamol"}, {"DosageFormCode", "C42998"}, {"DosageFormDisplayName", "TABLET"},
                   {"Ingredient/IngredientName", "ACMETAMOL"}, {"Ingredient/IngredientUNIICode", "ABC1234567"},
                   {"Ingredient/StrengthNumerator", "10"}, {"Marketing/NCIMarketingCategoryCode", "C200263"},
                   {"Marketing/NCIMarketingCategoryDisplayName", "OTC Monograph Drug"},
                   {"Marketing/ApplicationNumber", "M013"}, {"Marketing/MarketingStartDate", "20240101"}});

    const xml::Document built = buildValid(settings, "partial.xml");
    EXPECT_EQ(built.selectSingleNode("document/title").text().simplified(), "Acmex & Co");
    const QString section = "document/component/structuredBody/component/section";
    const xml::NodeList products = built.selectNodes(section + "/subject/manufacturedProduct");
    ASSERT_EQ(products.length(), 1);
    EXPECT_EQ(productNames(built), QStringList({"Acmex | XR"}));
    EXPECT_EQ(products.item(0).selectNodes("manufacturedProduct/ingredient").length(), 1);
    EXPECT_TRUE(products.item(0).selectSingleNode("manufacturedProduct/asContent").isNull());
    EXPECT_EQ(approvals(built), QSet<QString>({"2.16.840.1.113883.3.9421 M013"}));
    EXPECT_EQ(built.selectNodes(section).length(), 1); // the label section the user left empty is gone
    EXPECT_TRUE(built.selectSingleNode("document/author//assignedEntity/assignedOrganization").isNull());
    EXPECT_FALSE(logText().contains("TargetModification"));
}

TEST_F(EndToEndBuildTest, ANewDocumentWithTestValuesBuildsIntoValidSPL)
{
    const xml::Document settings = newSettingsDocument();
    FillTestValues(settings);
    const xml::Document built = buildValid(settings, "new.xml");
    EXPECT_EQ(built.selectNodes("//section[code/@code='48780-1']/subject").length(), 1);
    EXPECT_EQ(built.selectNodes("//part").length(), 1);
}

} // namespace
