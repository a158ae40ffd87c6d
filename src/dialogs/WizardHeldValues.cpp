#include "dialogs/WizardHeldValues.h"

#include "dialogs/DefinitionAttribute.h"
#include "dialogs/WizardApply.h"
#include "dialogs/WizardDefinitions.h"
#include "platform/xml/tree/Document.h"

#include <QStringList>

namespace veldra {

namespace {

xml::NodeList selectedOrNone(const xml::Document& settings, const xml::Node& target)
{
    try {
        return settings.selectNodes(target.text().trimmed());
    } catch (const std::exception&) {
        return {};  // Apply reports a path that is no valid query
    }
}

// The texts the field's targets read in the settings document, in document order.
QStringList heldTexts(const xml::Document& wizards, const QString& wizardName, const xml::Node& element,
                      const xml::Document& settings)
{
    const qsizetype numberLength = element.text().size();
    QStringList held;
    for (const xml::Node& target : wizardTargets(wizards, wizardName, element.nodeName())) {
        const QString action = wizardTargetAction(target);
        for (const xml::Node& node : selectedOrNone(settings, target)) {
            const QString text = node.text();
            if (action == QLatin1String("Copy"))
                held << text;
            else if (action == QLatin1String("FolderID") && numberLength > 0 && text.size() > numberLength)
                held << text.right(numberLength);
        }
    }
    return held;
}

} // namespace

std::optional<QString> wizardHeldValue(const xml::Document& wizards, const QString& wizardName, const xml::Node& element,
                                       const xml::Document& settings)
{
    if (element.nodeName() == QLatin1String("GUID") || definitionAttribute(element, "KeepDefault") == QLatin1String("1"))
        return std::nullopt;
    const QStringList held = heldTexts(wizards, wizardName, element, settings);
    if (held.isEmpty())
        return std::nullopt;
    for (const QString& text : held)
        if (text != held.first())
            return QString();
    if (held.first().isEmpty())
        return std::nullopt;
    return held.first();
}

} // namespace veldra
