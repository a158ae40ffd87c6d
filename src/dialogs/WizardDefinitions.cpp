#include "dialogs/WizardDefinitions.h"

#include "platform/core/AppPaths.h"
#include "platform/xml/tree/Document.h"

namespace veldra {

namespace {

bool isElement(const xml::Node& node, const QString& name)
{
    return node.nodeType() == xml::NodeType::Element && node.nodeName() == name;
}

// A value element: empty, or holding text first.
bool holdsValue(const xml::Node& node)
{
    return !node.hasChildNodes() || node.firstChild().nodeType() == xml::NodeType::Text;
}

std::vector<xml::Node> childElements(const xml::Node& parent, const QString& name)
{
    std::vector<xml::Node> found;
    for (const xml::Node& child : parent.childNodes())
        if (isElement(child, name))
            found.push_back(child);
    return found;
}

} // namespace

QString wizardDefinitionsFile()
{
    return app_paths::inProgram(QStringLiteral("SPLR4Definitions/Wizards.xml"));
}

QStringList enabledWizardNames(const xml::Document& wizards)
{
    QStringList names;
    for (const xml::Node& name : wizards.selectNodes(QStringLiteral("//Wizard[@Enabled=1]/Name")))
        names << name.text();
    return names;
}

std::vector<xml::Node> wizardsNamed(const xml::Document& wizards, const QString& name)
{
    std::vector<xml::Node> found;
    for (const xml::Node& wizard : wizards.selectNodes(QStringLiteral("//Wizard"))) {
        for (const xml::Node& wizardName : childElements(wizard, QStringLiteral("Name"))) {
            if (wizardName.text() == name) {
                found.push_back(wizard);
                break;
            }
        }
    }
    return found;
}

xml::Node wizardUI(const xml::Document& wizards, const QString& name)
{
    for (const xml::Node& wizard : wizardsNamed(wizards, name)) {
        const std::vector<xml::Node> ui = childElements(wizard, QStringLiteral("UI"));
        if (!ui.empty())
            return ui.front();
    }
    return {};
}

std::vector<xml::Node> wizardTargets(const xml::Document& wizards, const QString& name, const QString& fieldName)
{
    std::vector<xml::Node> targets;
    for (const xml::Node& wizard : wizardsNamed(wizards, name))
        for (const xml::Node& instructions : childElements(wizard, QStringLiteral("Instructions")))
            for (const xml::Node& field : childElements(instructions, fieldName))
                for (const xml::Node& target : childElements(field, QStringLiteral("Target")))
                    targets.push_back(target);
    return targets;
}

std::vector<xml::Node> wizardRowElements(const xml::Node& ui)
{
    if (ui.isNull())
        return {};
    if (holdsValue(ui))
        return {ui};
    std::vector<xml::Node> rows;
    for (const xml::Node& child : ui.childNodes())
        if (child.nodeType() == xml::NodeType::Element && holdsValue(child))
            rows.push_back(child);
    return rows;
}

} // namespace veldra
