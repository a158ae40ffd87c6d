#include "splbuilder/clsSPL.h"

#include "app/log/Log.h"
#include "platform/xml/tree/Cursor.h"
#include "splbuilder/SplNodes.h"
#include "splbuilder/StructuredDataFrame.h"

#include <functional>

namespace veldra {

namespace {

const QString schedulePath = QStringLiteral("TEMPLATE//subjectOf//policy[@classCode='DEADrugSchedule']");

// One entry of the fragment: whether it is kept, its lines, and how it is filled.
struct Entry {
    bool kept;
    QString valuesLine;
    QString notDefinedLine;
    std::function<xml::Node(const xml::Document&)> subjectOf;  // the entry's subjectOf
    std::function<void(const xml::Document&)> fill;
};

xml::Node characteristicCode(const xml::Document& fragment, const QString& code)
{
    return spl::requiredNode(fragment, QStringLiteral("TEMPLATE//subjectOf//characteristic//code[@code='") + code
                                           + QStringLiteral("']"));
}

// The element after the characteristic's code that carries its value.
xml::Node valueElement(const xml::Document& fragment, const QString& code)
{
    const xml::Node value = characteristicCode(fragment, code).nextSibling();
    if (value.isNull())
        throw VbError(err::XmlNode, spl::errorSource, QStringLiteral("element not found: value of characteristic ") + code);
    return value;
}

Entry characteristic(const QString& code, const QString& label, bool kept, const QString& shown,
                     std::function<void(const xml::Node&)> fillValue)
{
    return {kept, QStringLiteral("Dosage Characteristic ") + label + QStringLiteral(": ") + shown,
            QStringLiteral("Dosage Characteristic ") + label + QStringLiteral(" - not defined"),
            [code](const xml::Document& fragment) { return characteristicCode(fragment, code).parentNode().parentNode(); },
            [code, fillValue](const xml::Document& fragment) { fillValue(valueElement(fragment, code)); }};
}

std::function<void(const xml::Node&)> valueAttribute(const QString& value)
{
    return [value](const xml::Node& element) { spl::setExistingAttribute(element, QStringLiteral("value"), value); };
}

std::function<void(const xml::Node&)> codedValue(const QString& code, const QString& displayName, const QString& originalText)
{
    return [=](const xml::Node& element) {
        spl::setExistingAttribute(element, QStringLiteral("code"), code);
        spl::setExistingAttribute(element, QStringLiteral("displayName"), displayName);
        const xml::Node first = element.firstChild();
        if (first.isNull())
            throw VbError(err::XmlNode, spl::errorSource, QStringLiteral("element not found: original text of ") + code);
        first.setText(originalText);
    };
}

// The entries the fragment keeps (every subjectOf below its TEMPLATE), in document order.
QList<xml::Node> keptEntries(const xml::Document& fragment)
{
    QList<xml::Node> kept;
    xml::forEachElement(xml::Cursor(fragment.asNode()).child("TEMPLATE"), [&](const xml::Cursor& element) {
        if (element.isNamed("subjectOf"))
            kept.append(element.node());
    });
    return kept;
}

} // namespace

void clsSPL::AddStructuredDataDosageCharacteristics(
    const QString& DEAScheduleCode, const QString& DEAScheduleDisplayName, const QString& DosageCharacteristicImprint,
    const QString& DosageCharacteristicSymbol, const QString& DosageCharacteristicCoating,
    const QString& DosageCharacteristicSize, const QString& DosageCharacteristicShapeDisplayName,
    const QString& DosageCharacteristicNCIShapeCode, const QString& DosageCharacteristicShapeOriginalText,
    const QString& DosageCharacteristicNCIScoreCode, const QString& DosageCharacteristicColorDisplayName,
    const QString& DosageCharacteristicNCIColorCode, const QString& DosageCharacteristicColorOriginalText)
{
    spl::openBuilderLog(QStringLiteral("Start processing Dosage Characteristics and DEA Schedule"));
    const std::optional<xml::Document> fragment = spl::loadFragment(
        QStringLiteral("TEMPLATE_STRUCTURED_DATA_DOSAGE_CHARACTERISTICS.xml"),
        QStringLiteral("Dosage Characteristics and DEA Schedule - template loading failed: "));
    if (!fragment)
        return;

    const Entry schedule{
        !DEAScheduleCode.isEmpty(), QStringLiteral("DEA Schedule: ") + DEAScheduleCode + QLatin1Char('-') + DEAScheduleDisplayName,
        QStringLiteral("DEA Schedule - not defined"),
        [](const xml::Document& f) { return spl::requiredNode(f, schedulePath).parentNode(); },
        [&](const xml::Document& f) {
            const xml::Node code = spl::requiredNode(f, schedulePath + QStringLiteral("//code"));
            spl::setExistingAttribute(code, QStringLiteral("code"), DEAScheduleCode);
            spl::setExistingAttribute(code, QStringLiteral("displayName"), DEAScheduleDisplayName);
        }};
    const QList<Entry> entries{
        schedule,
        characteristic(QStringLiteral("SPLIMPRINT"), QStringLiteral("Imprint"), !DosageCharacteristicImprint.isEmpty(),
                       DosageCharacteristicImprint,
                       [&](const xml::Node& value) { value.setText(DosageCharacteristicImprint); }),
        characteristic(QStringLiteral("SPLSYMBOL"), QStringLiteral("Symbol"), !DosageCharacteristicSymbol.isEmpty(),
                       DosageCharacteristicSymbol, valueAttribute(DosageCharacteristicSymbol)),
        characteristic(QStringLiteral("SPLCOATING"), QStringLiteral("Coating"), !DosageCharacteristicCoating.isEmpty(),
                       DosageCharacteristicCoating, valueAttribute(DosageCharacteristicCoating)),
        characteristic(QStringLiteral("SPLSIZE"), QStringLiteral("Size"), !DosageCharacteristicSize.isEmpty(),
                       DosageCharacteristicSize, valueAttribute(DosageCharacteristicSize)),
        characteristic(QStringLiteral("SPLSHAPE"), QStringLiteral("Shape"),
                       !DosageCharacteristicShapeDisplayName.isEmpty() && !DosageCharacteristicNCIShapeCode.isEmpty(),
                       DosageCharacteristicNCIShapeCode + QLatin1Char('-') + DosageCharacteristicShapeDisplayName
                           + QLatin1Char('-') + DosageCharacteristicShapeOriginalText,
                       codedValue(DosageCharacteristicNCIShapeCode, DosageCharacteristicShapeDisplayName,
                                  DosageCharacteristicShapeOriginalText)),
        characteristic(QStringLiteral("SPLCOLOR"), QStringLiteral("Color"),
                       !DosageCharacteristicColorDisplayName.isEmpty() && !DosageCharacteristicNCIColorCode.isEmpty(),
                       DosageCharacteristicNCIColorCode + QLatin1Char('-') + DosageCharacteristicColorDisplayName
                           + QLatin1Char('-') + DosageCharacteristicColorOriginalText,
                       codedValue(DosageCharacteristicNCIColorCode, DosageCharacteristicColorDisplayName,
                                  DosageCharacteristicColorOriginalText)),
        characteristic(QStringLiteral("SPLSCORE"), QStringLiteral("NCI Score Code"), !DosageCharacteristicNCIScoreCode.isEmpty(),
                       DosageCharacteristicNCIScoreCode, valueAttribute(DosageCharacteristicNCIScoreCode)),
    };
    const xml::Node templateRoot = spl::requiredNode(*fragment, QStringLiteral("TEMPLATE"));
    for (const Entry& entry : entries) {
        if (entry.kept) {
            WriteLog(log_category::Information, entry.valuesLine);
            entry.fill(*fragment);
        } else {
            WriteLog(log_category::Warning, entry.notDefinedLine);
            templateRoot.removeChild(entry.subjectOf(*fragment));
        }
    }
    if (!Document) {
        WriteLog(log_category::Warning,
                 QStringLiteral("Dosage Characteristics and DEA Schedule - cannot be added cause document is not initialized"));
        return;
    }
    // A failure of any entry is reported, not only one of the last. The product, once found,
    // is kept: moving the entries in leaves it where it was.
    spl::MovePhase moves;
    const QList<xml::Node> kept = keptEntries(*fragment);
    xml::Node product;
    for (const xml::Node& subjectOf : kept) {
        moves.attempt([&] {
            if (!product)
                product = spl::requiredSectionPart(*Document, QStringLiteral("HOW-SUPPLIED-STORAGE-AND-HANDLING"),
                                                   {QStringLiteral("subject"), QStringLiteral("manufacturedProduct")});
            product.insertBefore(subjectOf, spl::childElement(product, "consumedIn"));
        });
    }
    if (moves.failed() || !kept.isEmpty())
        moves.report(QStringLiteral("Adding Dosage Characteristics and DEA Schedule failed: "),
                     QStringLiteral("Dosage Characteristics and DEA Schedule - successfully processed"));
    else
        WriteLog(log_category::Information, QStringLiteral("No Dosage Characteristics and DEA Schedule defined"));
}

} // namespace veldra
