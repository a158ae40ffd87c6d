#include "splbuilder/clsSPL.h"

#include "app/log/Log.h"
#include "app/window/frmMain.h"
#include "platform/core/Skip.h"
#include "codesystems/clsLOINC.h"
#include "splbuilder/SplNodes.h"

#include <memory>
#include <vector>

namespace veldra {

namespace {

const QString loincOid = QStringLiteral("2.16.840.1.113883.6.1");
const QString unclassifiedCode = QStringLiteral("42229-5");
const QString unclassifiedName = QStringLiteral("SPL UNCLASSIFIED SECTION");

// Holds the lookup in the main window for the length of the pass, so that the LOINC picker and
// Esc in the log window reach it, and always releases it: on an error as on the normal path
// the connection is closed and the main window no longer refers to it.
class LookupInMainWindow {
public:
    explicit LookupInMainWindow(std::shared_ptr<clsLOINC> lookup) : lookup_(std::move(lookup))
    {
        if (frmMain* main = mainForm())
            main->TargetLOINC = lookup_;
    }
    ~LookupInMainWindow()
    {
        lookup_->Destroy();
        if (frmMain* main = mainForm(); main && main->TargetLOINC == lookup_)
            main->TargetLOINC.reset();
    }
    LookupInMainWindow(const LookupInMainWindow&) = delete;
    LookupInMainWindow& operator=(const LookupInMainWindow&) = delete;

private:
    std::shared_ptr<clsLOINC> lookup_;
};

bool hasTitledSection(const xml::Node& component)
{
    const xml::Node section = spl::childElement(component, "section");
    return section && spl::childElement(section, "title");
}

// The components whose sections get a code: the subsections of a top-level component of the
// builder's own document, after the component itself when the template did not have it, or
// the settings document's label-section component itself.
std::vector<xml::Node> codedComponents(const xml::Node& component, bool ownDocument, const QStringList& addedTitles)
{
    if (!ownDocument)
        return {component};
    std::vector<xml::Node> coded;
    const xml::Node section = spl::childElement(component, "section");
    if (addedTitles.contains(spl::childElement(section, "title").text(), Qt::CaseSensitive))
        coded.push_back(component);
    for (xml::Node child = section.firstChild(); child; child = child.nextSibling())
        if (spl::isElement(child, "component"))
            coded.push_back(child);
    return coded;
}

void writeCode(const xml::Node& component, const QString& code, const QString& name)
{
    const xml::Node element = spl::requiredNode(component, QStringLiteral("section/code"));
    spl::setExistingAttribute(element, QStringLiteral("codeSystem"), loincOid);
    spl::setExistingAttribute(element, QStringLiteral("code"), code.isEmpty() ? unclassifiedCode : code);
    spl::setExistingAttribute(element, QStringLiteral("displayName"), code.isEmpty() ? unclassifiedName : name);
}

void codeSection(clsLOINC& lookup, const xml::Node& component)
{
    QString code, name, system;
    if (lookup.Cancel) {
        QString id;
        skip([&] { id = spl::childElement(component, "section").getAttribute(QStringLiteral("ID")); });
        WriteLog(log_category::Warning, id + QStringLiteral(" LOINC unclassified"));
    }
    if (!hasTitledSection(component))
        return;
    if (!lookup.Cancel) {
        const QString title = spl::requiredNode(component, QStringLiteral("section/title")).text();
        lookup.GetCodeAndName(spl::withoutSectionNumber(title), code, name, system, true);
    }
    writeCode(component, code, name);
}

} // namespace

bool clsSPL::ProcessLoincCodes(xml::Document* SPLR4Document)
{
    bool cancelled = false;
    WriteLog(logSeparator(), QString(), true);
    WriteLog(log_category::Information, QStringLiteral("Start loading LOINC Codes"));
    try {
        auto lookup = std::make_shared<clsLOINC>();
        const LookupInMainWindow held(lookup);
        lookup->Initialize();
        const bool ownDocument = SPLR4Document == nullptr;
        const xml::NodeList components =
            ownDocument ? spl::requiredNode(document(), QStringLiteral("document/component/structuredBody")).childNodes()
                        : SPLR4Document->selectNodes(QStringLiteral("SPLR4/ProductLabel/DocumentSections/Section/component"));
        for (const xml::Node& component : components) {
            if (component.nodeType() != xml::NodeType::Element || !hasTitledSection(component))
                continue;
            for (const xml::Node& coded : codedComponents(component, ownDocument, AddedSectionTitles))
                codeSection(*lookup, coded);
        }
        cancelled = lookup->Cancel;
        LoincLoadingCancelled = LoincLoadingCancelled || cancelled;
        WriteLog(log_category::Information, cancelled ? QStringLiteral("Loading LOINC Codes Cancelled")
                                                          : QStringLiteral("Loading LOINC Codes completed"));
    } catch (const std::exception& e) {
        WriteLog(log_category::Error,
                 QStringLiteral("Error Loading LOINC Codes - ") + toVbError(e, spl::errorSource).text());
    }
    return !cancelled;
}

} // namespace veldra
