#include "splbuilder/clsSPL.h"

#include "app/log/Log.h"
#include "platform/xml/tree/Cursor.h"
#include "splbuilder/SplNodes.h"
#include "splbuilder/StructuredDataFrame.h"

namespace veldra {

namespace {

// The product block follows the SPL product model the schema validates: the product entity
// is the manufacturedProduct inside the manufacturedProduct role, its ingredients are
// ingredient elements (class ACTIB or IACT) holding an ingredientSubstance, and its packages
// are asContent elements holding a containerPackagedProduct. The schema orders a product's
// ingredients after its generic name and before its packages.
const QString productRole = QStringLiteral("subject/manufacturedProduct");
const QString product = QStringLiteral("subject/manufacturedProduct/manufacturedProduct");
const QString packagePrototype = QStringLiteral("subject//manufacturedProduct//asContent");
const QString activePrototype = QStringLiteral("subject//ingredient[@classCode='ACTIB']");
const QString inactivePrototype = QStringLiteral("subject//ingredient[@classCode='IACT']");
const QString failurePrefix = QStringLiteral("Product data template loading failed: ");

void setText(const xml::Node& from, const QString& path, const QString& text)
{
    spl::requiredNode(from, path).setText(text);
}

void setAttributes(const xml::Node& from, const QString& path, const QList<std::pair<QString, QString>>& values)
{
    const xml::Node element = spl::requiredNode(from, path);
    for (const auto& [name, value] : values)
        spl::setExistingAttribute(element, name, value);
}

// Cells 3 to 10 of an ingredient or package row: the strength or package size.
void writeQuantity(const xml::Node& element, const StructuredRow& row)
{
    const QString code = QStringLiteral("code"), value = QStringLiteral("value"), unit = QStringLiteral("unit"),
                  displayName = QStringLiteral("displayName");
    setAttributes(element, QStringLiteral("quantity//numerator"), {{value, cellText(row, 3)}, {unit, cellText(row, 4)}});
    setAttributes(element, QStringLiteral("quantity//numerator//translation"),
                  {{code, cellText(row, 5)}, {displayName, cellText(row, 6)}, {value, cellText(row, 3)}});
    setAttributes(element, QStringLiteral("quantity//denominator"), {{value, cellText(row, 7)}, {unit, cellText(row, 8)}});
    setAttributes(element, QStringLiteral("quantity//denominator//translation"),
                  {{code, cellText(row, 9)}, {displayName, cellText(row, 10)}, {value, cellText(row, 7)}});
}

void writeProductFields(const xml::Document& fragment, const QString& tradeName, const QString& genericName,
                        const QString& formCode, const QString& formName, const QString& routeCode,
                        const QString& routeName)
{
    const xml::Node root = fragment.asNode();
    WriteLog(log_category::Processing, QStringLiteral("Trade Name: ") + tradeName);
    setText(root, product + QStringLiteral("/name"), tradeName);
    WriteLog(log_category::Processing, QStringLiteral("Generic Name: ") + genericName);
    setText(root, product + QStringLiteral("/asEntityWithGeneric/genericMedicine/name"), genericName);
    WriteLog(log_category::Processing,
             QStringLiteral("Administrative Form (NCI Thesaurus): ") + formCode + QLatin1Char('-') + formName);
    setAttributes(root, product + QStringLiteral("/formCode"),
                  {{QStringLiteral("code"), formCode}, {QStringLiteral("displayName"), formName}});
    WriteLog(log_category::Processing,
             QStringLiteral("Administrative Route (NCI Thesaurus): ") + routeCode + QLatin1Char('-') + routeName);
    setAttributes(root, QStringLiteral("subject//consumedIn//substanceAdministration//routeCode"),
                  {{QStringLiteral("code"), routeCode}, {QStringLiteral("displayName"), routeName}});
}

struct IngredientCounts {
    int active = 0;
    int inactive = 0;
};

// Fills the ingredient fragment: the first row of a role fills that role's prototype, each
// later one a copy of it (as the first row left it) appended to the fragment.
IngredientCounts fillIngredients(const xml::Document& ingredients, const StructuredRows& rows)
{
    IngredientCounts counts;
    const xml::Node root = spl::requiredNode(ingredients, QStringLiteral("subject"));
    const xml::Node active = spl::requiredNode(ingredients, activePrototype);
    const xml::Node inactive = spl::requiredNode(ingredients, inactivePrototype);
    const qsizetype count = rows.size();
    for (qsizetype i = 0; i < count; ++i) {
        const StructuredRow& row = rows.at(i);
        const QString role = cellText(row, 2);
        const bool isActive = role == QLatin1String("Active");
        if (!isActive && role != QLatin1String("Inactive")) {
            WriteLog(log_category::Error, QStringLiteral("Ingredient Role not specified: ") + cellText(row, 0));
            continue;
        }
        int& counter = isActive ? counts.active : counts.inactive;
        const xml::Node& prototype = isActive ? active : inactive;
        ++counter;
        const xml::Node current = counter > 1 ? prototype.cloneNode(true) : prototype;
        WriteLog(log_category::Processing, (isActive ? QStringLiteral("Active ingredient: ") : QStringLiteral("Inactive ingredient: "))
                                                   + cellText(row, 0) + QStringLiteral("(Code: ") + cellText(row, 1)
                                                   + QLatin1Char(')'));
        setAttributes(current, QStringLiteral("ingredientSubstance//code"), {{QStringLiteral("code"), cellText(row, 1)}});
        setText(current, QStringLiteral("ingredientSubstance//name"), cellText(row, 0));
        writeQuantity(current, row);
        if (counter > 1)
            root.appendChild(current);
    }
    return counts;
}

// The ingredients of that class in the fragment (below its subject), in document order.
QList<xml::Node> ingredientsOfClass(const xml::Document& ingredients, const char* classCode)
{
    QList<xml::Node> found;
    xml::forEachElement(xml::Cursor(ingredients.asNode()).child("subject"), [&](const xml::Cursor& element) {
        if (element.isNamed("ingredient") && element.attribute("classCode").textUtf8() == classCode)
            found.append(element.node());
    });
    return found;
}

// Moves the ingredients into the product, actives first, in front of its packages.
void moveIngredients(const xml::Document& ingredients, const xml::Document& productFragment, const IngredientCounts& counts)
{
    const xml::Node medicine = spl::requiredNode(productFragment, product);
    const xml::Node packages = spl::requiredNode(productFragment, packagePrototype);
    if (counts.active < 1)
        WriteLog(log_category::Error, QStringLiteral("No active ingredients defined - SPL may not be accepted by FDA"));
    else
        for (const xml::Node& ingredient : ingredientsOfClass(ingredients, "ACTIB"))
            medicine.insertBefore(ingredient, packages);
    if (counts.inactive < 1)
        WriteLog(log_category::Error, QStringLiteral("No inactive ingredients defined - SPL may not be accepted by FDA"));
    else
        for (const xml::Node& ingredient : ingredientsOfClass(ingredients, "IACT"))
            medicine.insertBefore(ingredient, packages);
}

void fillPackages(const xml::Document& productFragment, const StructuredRows& rows)
{
    const xml::Node medicine = spl::requiredNode(productFragment, product);
    const xml::Node prototype = spl::requiredNode(productFragment, packagePrototype);
    const qsizetype count = rows.size();
    for (qsizetype i = 0; i < count; ++i) {
        const StructuredRow& row = rows.at(i);
        // Each later row fills a copy of the prototype as the first row left it.
        const xml::Node package = i > 0 ? prototype.cloneNode(true) : prototype;
        WriteLog(log_category::Processing, QStringLiteral("Package Code: ") + cellText(row, 0) + QLatin1Char('-')
                                                   + cellText(row, 1) + QLatin1Char('-') + cellText(row, 2));
        setAttributes(package, QStringLiteral("containerPackagedProduct//code"), {{QStringLiteral("code"), cellText(row, 0)}});
        setAttributes(package, QStringLiteral("containerPackagedProduct//formCode"),
                      {{QStringLiteral("code"), cellText(row, 1)}, {QStringLiteral("displayName"), cellText(row, 2)}});
        WriteLog(log_category::Processing, QStringLiteral("Package Size: ") + cellText(row, 3) + QLatin1Char(' ')
                                                   + cellText(row, 4) + QLatin1Char('/') + cellText(row, 7)
                                                   + QLatin1Char(' ') + cellText(row, 8));
        WriteLog(log_category::Processing,
                 QStringLiteral("Package Size coded: ") + cellText(row, 3) + QLatin1Char(' ') + cellText(row, 5)
                     + QLatin1Char(' ') + cellText(row, 6) + QLatin1Char('/') + cellText(row, 7) + QLatin1Char(' ')
                     + cellText(row, 9) + QLatin1Char(' ') + cellText(row, 10));
        writeQuantity(package, row);
        if (i > 0)
            medicine.appendChild(package);
    }
}

} // namespace

void clsSPL::AddStructuredDataProductDataAndIngredients(
    const StructuredRows& Ingredients, const StructuredRows& Packaging, const QString& ProductTradeName,
    const QString& ProductGenericName, const QString& ProductNCIAdministrativeFormCode,
    const QString& ProductNCIAdministrativeFormName, const QString& ProductNCIAdministrativeRouteCode,
    const QString& ProductNCIAdministrativeRouteName)
{
    spl::openBuilderLog(QStringLiteral("Start processing Product Data"));
    if (Ingredients.isEmpty())
        WriteLog(log_category::Error, QStringLiteral("No ingredients defined - SPL may not be accepted by FDA"));
    if (Packaging.isEmpty())
        WriteLog(log_category::Error, QStringLiteral("No packaging defined - SPL may not be accepted by FDA"));
    const std::optional<xml::Document> productFragment =
        spl::loadFragment(QStringLiteral("TEMPLATE_STRUCTURED_DATA_PRODUCT.xml"), failurePrefix);
    if (!productFragment)
        return;
    const std::optional<xml::Document> ingredients =
        spl::loadFragment(QStringLiteral("TEMPLATE_STRUCTURED_DATA_INGREDIENTS.xml"), failurePrefix);
    if (!ingredients)
        return;
    writeProductFields(*productFragment, ProductTradeName, ProductGenericName, ProductNCIAdministrativeFormCode,
                       ProductNCIAdministrativeFormName, ProductNCIAdministrativeRouteCode,
                       ProductNCIAdministrativeRouteName);
    const IngredientCounts counts = fillIngredients(*ingredients, Ingredients);
    moveIngredients(*ingredients, *productFragment, counts);
    fillPackages(*productFragment, Packaging);

    if (!Document) {
        WriteLog(log_category::Warning, QStringLiteral("Product Data cannot be added cause document is not initialized"));
        return;
    }
    // One step: a block whose product could not be taken is not inserted half made.
    spl::MovePhase moves;
    moves.attempt([&] {
        const xml::Node subject = Document->createElement(QStringLiteral("subject"));
        subject.appendChild(spl::requiredNode(*productFragment, productRole));
        const xml::Node section = spl::requiredSectionPart(*Document, QStringLiteral("HOW-SUPPLIED-STORAGE-AND-HANDLING"));
        section.insertBefore(subject, spl::descendantPath(section, {QStringLiteral("excerpt")}));
    });
    moves.report(QStringLiteral("Adding product Data failed: "), QStringLiteral("Product Data successfully processed"));
}

} // namespace veldra
