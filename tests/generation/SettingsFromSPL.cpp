#include "generation/SettingsFromSPL.h"

#include "app/shared/SharedProcedures.h"
#include "editor/document/SettingsDocument.h"
#include "platform/core/AppPaths.h"

#include <stdexcept>

namespace veldra::test {

namespace {

// Also used by the build benchmark, so failures are exceptions rather than test assertions.
void require(bool condition, const QString& what)
{
    if (!condition)
        throw std::runtime_error(what.toStdString());
}

xml::Document load(const QString& path)
{
    xml::Document document;
    require(document.load(path), path + QStringLiteral(": ") + document.parseError().reason);
    return document;
}

QString attribute(const xml::Node& context, const QString& query, const QString& name)
{
    const xml::Node node = context.selectSingleNode(query);
    return node.isNull() ? QString() : node.getAttribute(name);
}

QString text(const xml::Node& context, const QString& query)
{
    const xml::Node node = context.selectSingleNode(query);
    return node.isNull() ? QString() : node.text().simplified();
}

class SettingsWriter {
public:
    SettingsWriter()
        : definition_(load(app_paths::inProgram(QStringLiteral("SPLR4Definitions/DefinitionSPLR4.xml"))))
    {
        require(settings_.loadXml(definition_.xml()), QStringLiteral("the definition does not copy"));
    }

    xml::Document finish()
    {
        AssignWord2SPLIDs(settings_.documentElement());
        for (const xml::Node& guid : settings_.selectNodes(QStringLiteral("//*[@ConstraintDataType='GUID']")))
            if (guid.text().isEmpty())
                guid.setText(NewGUID());
        return settings_;
    }

    xml::Node at(const QString& path) const { return settings_.selectSingleNode(path); }

    // A copy of a node of the SPL file, for appending below a settings element.
    xml::Node adopt(const xml::Node& splNode) const { return settings_.importNode(splNode, true); }

    // Writes `value` into the element at `path` below `group`; empty values are left alone.
    static void set(const xml::Node& group, const QString& path, const QString& value)
    {
        const xml::Node element = group.selectSingleNode(path);
        require(!element.isNull(), QStringLiteral("no settings element ") + path);
        if (!value.isEmpty())
            element.setText(value);
    }

    // Removes the groups at `path` (element path of the settings document) so that fresh ones
    // can be added.
    void clear(const QString& path)
    {
        for (const xml::Node& group : settings_.selectNodes(path))
            group.parentNode().removeChild(group);
    }

    // A fresh group for the element path `path` from the definition, below `parent` after the
    // groups of the same name, as the editor's Add places it.
    xml::Node add(const xml::Node& parent, const QString& path)
    {
        const xml::Node pattern = definition_.selectSingleNode(path);
        require(!pattern.isNull(), QStringLiteral("no definition element ") + path);
        const xml::NodeList siblings = parent.selectNodes(pattern.nodeName());
        const xml::Node copy = settings_.importNode(pattern, true);
        if (siblings.length() == 0)
            return parent.appendChild(copy);
        return parent.insertBefore(copy, siblings.item(siblings.length() - 1).nextSibling());
    }

    // The first group below `parent` named `name` for the first item, a new one for the others.
    xml::Node group(const xml::Node& parent, const QString& path, int index)
    {
        const QString name = path.section(QLatin1Char('/'), -1);
        if (index == 0) {
            const xml::Node existing = parent.selectSingleNode(name);
            if (!existing.isNull())
                return existing;
        }
        return add(parent, path);
    }

private:
    xml::Document definition_;
    xml::Document settings_;
};

void writeGeneralData(SettingsWriter& w, const xml::Node& spl)
{
    const xml::Node general = w.at(QStringLiteral("SPLR4/GeneralData"));
    w.set(general, "DocumentID", attribute(spl, "id", "root"));
    w.set(general, "SetID", attribute(spl, "setId", "root"));
    w.set(general, "VersionNumber", attribute(spl, "versionNumber", "value"));
    w.set(general, "EffectiveTime", attribute(spl, "effectiveTime", "value"));
    w.set(general, "DocumentTypeCode", attribute(spl, "code", "code"));
    w.set(general, "DocumentTypeDisplayName", attribute(spl, "code", "displayName"));
    w.set(general, "Title", text(spl, "title"));
}

void writeOrganizations(SettingsWriter& w, const xml::Node& spl)
{
    const xml::Node labeler = spl.selectSingleNode("author/assignedEntity/representedOrganization");
    const xml::Node labelerGroup = w.at("SPLR4/Labeler");
    w.set(labelerGroup, "LabelerName", text(labeler, "name"));
    w.set(labelerGroup, "LabelerDUNSNumber", attribute(labeler, "id", "extension"));

    const xml::Node registrant = labeler.selectSingleNode("assignedEntity/assignedOrganization");
    w.clear("SPLR4/Registrant/Establishment");
    if (registrant.isNull())
        return;
    const xml::Node registrantGroup = w.at("SPLR4/Registrant");
    w.set(registrantGroup, "RegistrantName", text(registrant, "name"));
    w.set(registrantGroup, "RegistrantDUNSNumber", attribute(registrant, "id", "extension"));
    for (const xml::Node& establishment : registrant.selectNodes("assignedEntity")) {
        const xml::Node group = w.add(registrantGroup, "SPLR4/Registrant/Establishment");
        w.set(group, "EstablishmentName", text(establishment, "assignedOrganization/name"));
        w.set(group, "EstablishmentDUNSNumber", attribute(establishment, "assignedOrganization/id", "extension"));
        int index = 0;
        for (const xml::Node& operation : establishment.selectNodes("performance/actDefinition")) {
            const xml::Node op = w.group(group, "SPLR4/Registrant/Establishment/BusinessOperation", index++);
            w.set(op, "BusinessOperationCode", attribute(operation, "code", "code"));
            w.set(op, "BusinessOperationDisplayName", attribute(operation, "code", "displayName"));
            w.set(op, "NDCProductCode", attribute(operation, "product/manufacturedProduct/manufacturedMaterialKind/code", "code"));
        }
    }
}

void writePackage(SettingsWriter& w, const xml::Node& group, const xml::Node& content, int depth)
{
    w.set(group, "PackageQuantity", attribute(content, "quantity/numerator", "value"));
    w.set(group, "PackageQuantityUnit", attribute(content, "quantity/numerator", "unit"));
    w.set(group, "NDCPackageCode", attribute(content, "containerPackagedProduct/code", "code"));
    w.set(group, "PackagingFormCode", attribute(content, "containerPackagedProduct/formCode", "code"));
    w.set(group, "PackagingFormDisplayName", attribute(content, "containerPackagedProduct/formCode", "displayName"));
    const xml::Node outer = content.selectSingleNode("containerPackagedProduct/asContent");
    if (!outer.isNull() && depth < 2)
        writePackage(w, group.selectSingleNode("OuterPackage"), outer, depth + 1);
}

void writeCharacteristic(SettingsWriter& w, const xml::Node& product, const xml::Node& spl, const QString& code,
                         const QString& group)
{
    const xml::Node value =
        spl.selectSingleNode("subjectOf/characteristic[code/@code='" + code + "']/value");
    if (value.isNull())
        return;
    const xml::Node target = product.selectSingleNode("Characteristics/" + group);
    w.set(target, "NCICode", value.getAttribute("code"));
    w.set(target, "NCIDisplayName", value.getAttribute("displayName"));
    if (!target.selectSingleNode("OriginalText").isNull())
        w.set(target, "OriginalText", text(value, "originalText"));
}

void writeProduct(SettingsWriter& w, const xml::Node& group, const xml::Node& spl)
{
    const xml::Node inner = spl.selectSingleNode("manufacturedProduct");
    w.set(group, "NDCProductCode", attribute(inner, "code", "code"));
    const xml::Node name = inner.selectSingleNode("name");
    w.set(group, "ProprietaryName", name.isNull() ? QString() : name.firstChild().text().simplified());
    w.set(group, "ProprietaryNameSuffix", text(inner, "name/suffix"));
    w.set(group, "DosageFormCode", attribute(inner, "formCode", "code"));
    w.set(group, "DosageFormDisplayName", attribute(inner, "formCode", "displayName"));
    w.set(group, "NonProprietaryName", text(inner, "asEntityWithGeneric/genericMedicine/name"));
    w.set(group, "SourceNDCProductCode", attribute(inner, "asEquivalentEntity/definingMaterialKind/code", "code"));

    int index = 0;
    for (const xml::Node& ingredient : inner.selectNodes("ingredient")) {
        const xml::Node item = w.group(group, "SPLR4/Products/Product/Ingredient", index++);
        w.set(item, "IngredientRole", ingredient.getAttribute("classCode"));
        w.set(item, "IngredientName", text(ingredient, "ingredientSubstance/name"));
        w.set(item, "IngredientUNIICode", attribute(ingredient, "ingredientSubstance/code", "code"));
        const QString numerator = attribute(ingredient, "quantity/numerator", "value");
        w.set(item, "StrengthNumerator", numerator);
        if (!numerator.isEmpty()) {
            w.set(item, "StrengthNumeratorUnit", attribute(ingredient, "quantity/numerator", "unit"));
            w.set(item, "StrengthDenominator", attribute(ingredient, "quantity/denominator", "value"));
            w.set(item, "StrengthDenominatorUnit", attribute(ingredient, "quantity/denominator", "unit"));
        }
        w.set(item, "ActiveMoiety/MoietyName", text(ingredient, "ingredientSubstance/activeMoiety/activeMoiety/name"));
        w.set(item, "ActiveMoiety/MoietyUNIICode",
              attribute(ingredient, "ingredientSubstance/activeMoiety/activeMoiety/code", "code"));
    }
    index = 0;
    for (const xml::Node& content : inner.selectNodes("asContent"))
        writePackage(w, w.group(group, "SPLR4/Products/Product/Package", index++), content, 0);
    index = 0;
    for (const xml::Node& route : spl.selectNodes("consumedIn/substanceAdministration/routeCode")) {
        const xml::Node item = w.group(group, "SPLR4/Products/Product/RouteOfAdministration", index++);
        w.set(item, "NCICode", route.getAttribute("code"));
        w.set(item, "NCIDisplayName", route.getAttribute("displayName"));
    }

    const xml::Node marketing = group.selectSingleNode("Marketing");
    w.set(marketing, "NCIMarketingCategoryCode", attribute(spl, "subjectOf/approval/code", "code"));
    w.set(marketing, "NCIMarketingCategoryDisplayName", attribute(spl, "subjectOf/approval/code", "displayName"));
    w.set(marketing, "ApplicationNumber", attribute(spl, "subjectOf/approval/id", "extension"));
    w.set(marketing, "MarketingStatus", attribute(spl, "subjectOf/marketingAct/statusCode", "code"));
    w.set(marketing, "MarketingStartDate", attribute(spl, "subjectOf/marketingAct/effectiveTime/low", "value"));
    w.set(marketing, "MarketingEndDate", attribute(spl, "subjectOf/marketingAct/effectiveTime/high", "value"));
    w.set(group, "DEASchedule/NCICode", attribute(spl, "subjectOf/policy/code", "code"));
    w.set(group, "DEASchedule/NCIDisplayName", attribute(spl, "subjectOf/policy/code", "displayName"));

    writeCharacteristic(w, group, spl, "SPLCOLOR", "ProductColor");
    writeCharacteristic(w, group, spl, "SPLSHAPE", "ProductShape");
    writeCharacteristic(w, group, spl, "SPLFLAVOR", "ProductFlavor");
    const QString characteristic = "subjectOf/characteristic[code/@code='%1']/value";
    w.set(group, "Characteristics/SizeValue", attribute(spl, characteristic.arg("SPLSIZE"), "value"));
    w.set(group, "Characteristics/SizeUnit", attribute(spl, characteristic.arg("SPLSIZE"), "unit"));
    w.set(group, "Characteristics/Score", attribute(spl, characteristic.arg("SPLSCORE"), "value"));
    w.set(group, "Characteristics/Imprint", text(spl, characteristic.arg("SPLIMPRINT")));
}

void writeProducts(SettingsWriter& w, const xml::Node& spl)
{
    w.clear("SPLR4/Products/Product");
    const xml::Node products = w.at("SPLR4/Products");
    const xml::Node section = spl.selectSingleNode("component/structuredBody/component/section[code/@code='48780-1']");
    if (section.isNull())
        return;
    w.set(products, "ProductDataSectionID", attribute(section, "id", "root"));
    for (const xml::Node& product : section.selectNodes("subject/manufacturedProduct"))
        writeProduct(w, w.add(products, "SPLR4/Products/Product"), product);
}

// The section as the Word import leaves it: its fields, its text under LabelText, its
// highlights under Excerpt and its subsections and images as component elements.
void writeSection(SettingsWriter& w, const xml::Node& group, const xml::Node& section)
{
    w.set(group, "SectionCode", attribute(section, "code", "code"));
    w.set(group, "SectionName", attribute(section, "code", "displayName"));
    w.set(group, "SectionTitle", text(section, "title"));
    w.set(group, "SectionID", attribute(section, "id", "root"));
    w.set(group, "EffectiveTime", attribute(section, "effectiveTime", "value"));
    w.set(group, "ReferenceID", section.getAttribute("ID"));
    const xml::Node sectionText = section.selectSingleNode("text");
    if (!sectionText.isNull())
        group.selectSingleNode("LabelText").appendChild(w.adopt(sectionText));
    const xml::Node highlights = section.selectSingleNode("excerpt/highlight/text");
    if (!highlights.isNull())
        group.selectSingleNode("Excerpt").appendChild(w.adopt(highlights));
    for (const xml::Node& component : section.selectNodes("component"))
        group.appendChild(w.adopt(component));
}

void writeSections(SettingsWriter& w, const xml::Node& spl)
{
    w.clear("SPLR4/ProductLabel/DocumentSections/Section");
    const xml::Node sections = w.at("SPLR4/ProductLabel/DocumentSections");
    for (const xml::Node& section : spl.selectNodes("component/structuredBody/component/section[not(code/@code='48780-1')]"))
        writeSection(w, w.add(sections, "SPLR4/ProductLabel/DocumentSections/Section"), section);
}

} // namespace

xml::Document settingsFromSPL(const QString& splFile)
{
    const xml::Document spl = load(splFile);
    SettingsWriter writer;
    const xml::Node document = spl.documentElement();
    writeGeneralData(writer, document);
    writeOrganizations(writer, document);
    writeProducts(writer, document);
    writeSections(writer, document);
    return writer.finish();
}

xml::Document newSettingsDocument()
{
    SettingsWriter writer;
    return writer.finish();
}

} // namespace veldra::test
