#include "generation/reverse/ProductDataNotHeld.h"

#include "app/log/Log.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Lookup.h"

#include <QHash>

namespace veldra {

namespace {

const QString ProductSubjects =
    QStringLiteral("document/component/structuredBody/component/section[code/@code='48780-1']/subject");

// The settings elements whose import reads each kind of SPL element named here.
const QString ProductPath = QStringLiteral("SPLR4/Products/Product");
const QString PackagePath = QStringLiteral("SPLR4/Products/Product/Package");
const QString PartPath = QStringLiteral("SPLR4/Products/Product/KitAssembly/KitPart");
const QString PartPackagePath = QStringLiteral("SPLR4/Products/Product/KitAssembly/KitPart/Package");

// How many of the subjectOf items of one SPL element the settings hold.
struct Holding {
    int approvals;
    int marketingActs;
    bool characteristicOfEachKind;  // false: none
};

const Holding ProductHolding{1, 1, true};
const Holding PackageHolding{0, 1, true};
const Holding PartHolding{1, 1, false};
const Holding PartPackageHolding{0, 0, false};

// A package and its outer packages, as the settings nest them.
constexpr int PackageLevels = 3;

bool isRead(const QString& importedPath, const QString& settingsPath)
{
    return settingsPath == importedPath || settingsPath.startsWith(importedPath + QLatin1Char('/'));
}

void warnNotHeld(const QString& where, const QString& what)
{
    WriteLog(log_category::Warning,
             where + QStringLiteral(": ") + what + QStringLiteral(" is not imported; the settings document has no place for it"));
}

// "Product 12345-678 (Injection Kit)", "part 2 (Swab)": a number or code with the name.
QString named(const QString& thing, const QString& name)
{
    return name.isEmpty() ? thing : thing + QStringLiteral(" (") + name + QLatin1Char(')');
}

// The items past the first `held`, numbered when there are several.
void warnBeyond(const xml::NodeList& items, int held, const QString& item, const QString& where)
{
    for (int i = held; i < items.length(); ++i)
        warnNotHeld(where, items.length() > 1 ? item + QStringLiteral(" %1").arg(i + 1) : item);
}

void warnCharacteristics(const xml::Node& holder, bool oneOfEachKind, const QString& where)
{
    QHash<QString, int> seen;
    for (const xml::Node& characteristic : holder.selectNodes(QStringLiteral("subjectOf/characteristic"))) {
        const QString kind = characteristic.selectSingleNode(QStringLiteral("code")).getAttribute(QStringLiteral("code"));
        const int count = ++seen[kind];
        if (!oneOfEachKind || count > 1)
            warnNotHeld(where, QStringLiteral("characteristic ") + kind + (count > 1 ? QStringLiteral(" %1").arg(count) : QString()));
    }
}

void warnBeyondHolding(const xml::Node& holder, const Holding& holding, const QString& where)
{
    warnBeyond(holder.selectNodes(QStringLiteral("subjectOf/approval")), holding.approvals, QStringLiteral("approval"), where);
    warnBeyond(holder.selectNodes(QStringLiteral("subjectOf/marketingAct")), holding.marketingActs,
               QStringLiteral("marketing act"), where);
    warnCharacteristics(holder, holding.characteristicOfEachKind, where);
}

// `content` is the asContent of one package; each outer package is the asContent of the
// container before it. A level past the last one held is named with everything inside it.
void warnPackage(const xml::Node& content, const Holding& holding, const QString& where)
{
    xml::Node level = content;
    for (int depth = 0; !level.isNull(); ++depth) {
        const QString outer = QStringLiteral("outer package %1").arg(depth);
        if (depth == PackageLevels) {
            warnNotHeld(where, named(outer, xml::textAt(level, QStringLiteral("containerPackagedProduct/formCode/@displayName"))));
            return;
        }
        warnBeyondHolding(level, holding, depth == 0 ? where : where + QStringLiteral(", ") + outer);
        level = level.selectSingleNode(QStringLiteral("containerPackagedProduct/asContent"));
    }
}

void warnPackages(const xml::Node& product, const QString& query, const Holding& holding, const QString& where)
{
    int number = 0;
    for (const xml::Node& content : product.selectNodes(query))
        warnPackage(content, holding, where + QStringLiteral(", package %1").arg(++number));
}

void warnParts(const xml::Node& product, const QString& importedPath, const QString& where)
{
    int number = 0;
    for (const xml::Node& part : product.selectNodes(QStringLiteral("part"))) {
        const QString partName = where + QStringLiteral(", ") + named(QStringLiteral("part %1").arg(++number),
                                                                      xml::textAt(part, QStringLiteral("partProduct/name")).simplified());
        if (isRead(importedPath, PartPath))
            warnBeyondHolding(part, PartHolding, partName);
        if (isRead(importedPath, PartPackagePath))
            warnPackages(part, QStringLiteral("partProduct/asContent"), PartPackageHolding, partName);
    }
}

void warnProduct(const xml::Node& subject, const QString& productCode, const QString& importedPath)
{
    const xml::Node role = subject.selectSingleNode(QStringLiteral("manufacturedProduct"));
    const xml::Node product = role.selectSingleNode(QStringLiteral("manufacturedProduct"));
    const QString where =
        named(QStringLiteral("Product ") + productCode, xml::textAt(product, QStringLiteral("name/text()")).simplified());
    if (isRead(importedPath, ProductPath))
        warnBeyondHolding(role, ProductHolding, where);
    if (isRead(importedPath, PackagePath))
        warnPackages(product, QStringLiteral("asContent"), PackageHolding, where);
    warnParts(product, importedPath, where);
}

} // namespace

void LogProductDataNotHeld(const xml::Document& spl, const QString& productCode, const QString& importedPath)
{
    if (productCode.isEmpty())
        return;
    for (const xml::Node& subject : spl.selectNodes(ProductSubjects))
        if (xml::textAt(subject, QStringLiteral("manufacturedProduct/manufacturedProduct/code/@code")) == productCode)
            warnProduct(subject, productCode, importedPath);
}

} // namespace veldra
