#include "generation/building/CharacteristicOrder.h"

#include "generation/building/PathSteps.h"
#include "generation/building/TransformItems.h"
#include "platform/xml/tree/Document.h"

#include <QHash>
#include <QStringList>
#include <algorithm>
#include <vector>

namespace veldra {

namespace {

// The built products by the clone identifier ("Product " & Word2SPLID) of their settings element.
QHash<QString, xml::Node> builtProducts(const xml::Document& target)
{
    QHash<QString, xml::Node> products;
    for (const xml::Node& subject :
         allMatches(target, QStringLiteral("document/component/structuredBody/component/section/subject[@Word2SPLID]")))
        products.insert(subject.getAttribute(Word2SPLIDAttribute), subject);
    return products;
}

void orderCharacteristics(const xml::Node& product, const QStringList& order)
{
    std::vector<xml::Node> places;
    for (const xml::Node& subjectOf : allMatches(product, QStringLiteral("manufacturedProduct/subjectOf[characteristic]")))
        places.push_back(subjectOf);
    const auto rank = [&](const xml::Node& subjectOf) {
        const qsizetype at = order.indexOf(firstMatch(subjectOf, QStringLiteral("characteristic/code")).getAttribute(QStringLiteral("code")));
        return at < 0 ? order.size() : at;
    };
    std::vector<xml::Node> ordered = places;
    std::stable_sort(ordered.begin(), ordered.end(), [&](const xml::Node& a, const xml::Node& b) { return rank(a) < rank(b); });
    // Copies first: a node moved into an earlier slot would leave its own slot behind.
    std::vector<xml::Node> copies;
    for (const xml::Node& subjectOf : ordered)
        copies.push_back(subjectOf.cloneNode(true));
    for (std::size_t i = 0; i < places.size(); ++i)
        places[i].parentNode().replaceChild(copies[i], places[i]);
}

} // namespace

void OrderCharacteristicsAsListed(const xml::Document& settings, const xml::Document& target)
{
    QHash<QString, xml::Node> products;
    for (const xml::Node& product : allMatches(settings, QStringLiteral("SPLR4/Products/Product"))) {
        const xml::Node list = firstMatch(product, QStringLiteral("Characteristics/CharacteristicOrder"));
        const QStringList order = list.isNull() ? QStringList() : list.text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (order.isEmpty())
            continue;
        if (products.isEmpty())
            products = builtProducts(target);
        const xml::Node built = products.value(product.nodeName() + QLatin1Char(' ') + product.getAttribute(Word2SPLIDAttribute));
        if (!built.isNull())
            orderCharacteristics(built, order);
    }
}

} // namespace veldra
