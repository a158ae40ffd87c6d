#include "splbuilder/clsSPL.h"

#include "app/log/Log.h"
#include "app/shared/SharedProcedures.h"
#include "platform/xml/tree/Lookup.h"
#include "splbuilder/SplNodes.h"

#include <QCoreApplication>
#include <algorithm>
#include <vector>

namespace veldra {

namespace {

const QString topLevelComponents = QStringLiteral("document/component/structuredBody/component");
const QString recentMajorChanges = QStringLiteral("RECENT MAJOR CHANGES");

// The components below `node` whose section is titled exactly `title`: only a section's own
// title counts, so body text that reads like a title removes nothing.
void collectTitledComponents(const xml::Node& node, const QString& title, std::vector<xml::Node>& found)
{
    if (node.nodeType() != xml::NodeType::Element && node.nodeType() != xml::NodeType::Document)
        return;
    if (spl::isElement(node, "title") && node.text() == title) {
        const xml::Node section = node.parentNode();
        const xml::Node component = section ? section.parentNode() : xml::Node();
        if (spl::isElement(section, "section") && spl::isElement(component, "component"))
            found.push_back(component);
        return;
    }
    for (xml::Node child = node.firstChild(); child; child = child.nextSibling())
        collectTitledComponents(child, title, found);
}

QString sectionTitle(const xml::Node& component)
{
    const xml::Node section = spl::childElement(component, "section");
    return xml::textOf(section ? spl::childElement(section, "title") : xml::Node());
}

// The remembered title a section carries, compared in any letter case as the title search
// that filled it does; empty when the label has no such heading.
bool isRemembered(const QStringList& remembered, const QString& title)
{
    return remembered.contains(title, Qt::CaseInsensitive);
}

} // namespace

void clsSPL::FinalizeSPLR4()
{
    RemoveSubSectionTemplateByTitle(document().childNodes(), QStringLiteral("$SubSection"));
    RemoveEmptyExcerpts();
    ProcessLoincCodes(nullptr);
    ProcessIDRoot();
    RemoveUnusedSections(true);
}

void clsSPL::RemoveSubSectionTemplateByTitle(const xml::NodeList& TargetNodes, const QString& SectionTitle)
{
    std::vector<xml::Node> components;
    for (const xml::Node& node : TargetNodes)
        collectTitledComponents(node, SectionTitle, components);
    for (const xml::Node& component : components)
        if (const xml::Node parent = component.parentNode())
            parent.removeChild(component);
}

void clsSPL::RemoveEmptyExcerpts()
{
    const xml::Node body = spl::requiredNode(document(), QStringLiteral("document/component/structuredBody"));
    for (const xml::Node& component : body.childNodes()) {
        if (component.nodeType() != xml::NodeType::Element)
            continue;
        const xml::Node section = spl::childElement(component, "section");
        const xml::Node excerpt = section ? spl::childElement(section, "excerpt") : xml::Node();
        QCoreApplication::processEvents();
        if (!excerpt)
            continue;
        const xml::Node highlight = spl::childElement(excerpt, "highlight");
        const xml::Node text = highlight ? highlight.selectSingleNode(QStringLiteral(".//text")) : xml::Node();
        if (!text || !text.text().trimmed().isEmpty())
            continue;
        if (highlight.childNodes().length() == 1)
            section.removeChild(excerpt);
        else
            spl::requiredNode(component, QStringLiteral("section//highlight")).removeChild(text);
    }
}

void clsSPL::ProcessIDRoot()
{
    WriteLog(logSeparator(), QString(), true);
    WriteLog(log_category::Information, QStringLiteral("Adding ID root GUIDS"));
    try {
        RecurseIDRoot(spl::requiredNode(document(), QStringLiteral("document")));
        WriteLog(log_category::Information, QStringLiteral("Adding ID root GUIDS completed"));
    } catch (const std::exception& e) {
        WriteLog(log_category::Error,
                 QStringLiteral("Error adding ID root GUIDS - ") + toVbError(e, spl::errorSource).text());
    }
}

void clsSPL::RecurseIDRoot(const xml::Node& Node)
{
    for (xml::Node child = Node.firstChild(); child; child = child.nextSibling()) {
        if (child.hasChildNodes())
            RecurseIDRoot(child);
        else if (child.nodeType() == xml::NodeType::Element && child.nodeName() == QLatin1String("id"))
            spl::setExistingAttribute(child, QStringLiteral("root"), NewGUID());
    }
}

void clsSPL::RemoveUnusedSections(bool Sort)
{
    const xml::Node body = spl::requiredNode(document(), QStringLiteral("document/component/structuredBody"));
    for (const xml::Node& component : document().selectNodes(topLevelComponents + QStringLiteral("[section/title]"))) {
        const QString title = sectionTitle(component);
        if (!isRemembered(RememberedSectionTitles, title)) {
            body.removeChild(component);
            continue;
        }
        if (title == recentMajorChanges) {
            const xml::Node section = spl::childElement(component, "section");
            if (const xml::Node text = spl::childElement(section, "text"))
                section.removeChild(text);
        }
    }
    if (!Sort)
        return;
    // Titles are compared in code, not through a path literal, so any title sorts. Each
    // remembered title moves the first section of that title not moved yet: a section moves
    // once, where its title was first remembered (a later remembered title in other letter
    // case would otherwise move it behind the sections between the two), and a heading that
    // repeats a title moves the section it opened.
    std::vector<xml::Node> moved;
    for (const QString& remembered : RememberedSectionTitles) {
        for (const xml::Node& component : body.childNodes()) {
            if (spl::isElement(component, "component")
                && sectionTitle(component).compare(remembered, Qt::CaseInsensitive) == 0
                && spl::childElement(spl::childElement(component, "section"), "title")
                && std::find(moved.begin(), moved.end(), component) == moved.end()) {
                body.appendChild(component);
                moved.push_back(component);
                break;
            }
        }
    }
}

} // namespace veldra
