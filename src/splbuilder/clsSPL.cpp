#include "splbuilder/clsSPL.h"

#include "app/Log.h"
#include "app/SharedProcedures.h"
#include "splbuilder/LabelTemplates.h"
#include "splbuilder/SplNodes.h"

namespace veldra {

namespace {

const QString subSectionNotFound = QStringLiteral("< not found in SPL template");

// A section's own title, compared in any letter case; an empty title is never a match.
bool titleReads(const xml::Node& section, const QString& loweredTitle)
{
    if (loweredTitle.isEmpty())
        return false;
    const xml::Node title = spl::childElement(section, "title");
    return title && title.text().toLower() == loweredTitle;
}

void searchSections(const xml::Node& node, const QString& loweredTitle, const QString& loweredSubTitle,
                    xml::Node& found)
{
    // Narrative text holds no sections: the search passes over it, so its cost does not
    // grow with the text already added.
    if (found || node.nodeType() != xml::NodeType::Element || spl::isElement(node, "text"))
        return;
    if (spl::isElement(node, "section") && titleReads(node, loweredTitle)) {
        if (loweredSubTitle.isEmpty()) {
            found = node;
            return;
        }
        // The subsection is sought inside this section only; when it is not there, a later
        // section of the same title may hold it.
        for (xml::Node child = node.firstChild(); child && !found; child = child.nextSibling())
            searchSections(child, loweredSubTitle, QString(), found);
        if (found)
            return;
    }
    for (xml::Node child = node.firstChild(); child && !found; child = child.nextSibling())
        searchSections(child, loweredTitle, loweredSubTitle, found);
}

} // namespace

const xml::Document& clsSPL::document() const
{
    if (!Document)
        throw VbError(err::XmlNode, spl::errorSource, QStringLiteral("the SPL document has not been initialized"));
    return *Document;
}

void clsSPL::Initialize(const QString& BoxedWarningTitle)
{
    AddedSubSectionIDs.clear();
    RememberedSectionTitles.clear();
    Document.emplace();
    Document->load(labelTemplatePath(QStringLiteral("TEMPLATE_SPL.xml")));
    CheckDocumentParseStatus();
    spl::requiredNode(*Document, QStringLiteral("//section[@ID='BOXED-WARNING-SECTION']/title")).setText(BoxedWarningTitle);
}

void clsSPL::OpenDocument(const QString& TargetFileName)
{
    Document.emplace();
    Document->load(TargetFileName);
    CheckDocumentParseStatus();
}

void clsSPL::CheckDocumentParseStatus() const
{
    const xml::ParseError& error = document().parseError();
    if (error.ok())
        return;
    throw VbError(error.errorCode, QStringLiteral("MSXML"),
                  error.reason + QStringLiteral("\r\nLine:") + QString::number(error.line) + QStringLiteral("\r\n")
                      + error.srcText);
}

void clsSPL::RememberSectionInformation(QString& SectionTitle)
{
    StripControlChars(SectionTitle);
    if (!RememberedSectionTitles.contains(SectionTitle, Qt::CaseSensitive))
        RememberedSectionTitles.append(SectionTitle);
}

void clsSPL::GetSectionByTitle(const xml::NodeList& TargetNodes, const QString& SectionTitle,
                               const QString& SubSectionTitle, xml::Node& FoundNode) const
{
    const QString title = SectionTitle.toLower();
    const QString subTitle = SubSectionTitle.toLower();
    for (const xml::Node& node : TargetNodes) {
        if (FoundNode)
            return;
        searchSections(node, title, subTitle, FoundNode);
    }
}

xml::Node clsSPL::findSection(const QString& SectionTitle, const QString& SubSectionTitle) const
{
    xml::Node found;
    GetSectionByTitle(document().childNodes(), SectionTitle, SubSectionTitle, found);
    return found;
}

bool clsSPL::AddSubSection(QString& SectionTitle, QString& SectionSubTitle)
{
    StripControlChars(SectionTitle);
    StripControlChars(SectionSubTitle);
    const xml::Node section = findSection(SectionTitle, QString());
    if (!section) {
        WriteLog(QStringLiteral("Error"), QStringLiteral("Document Section >") + SectionTitle + subSectionNotFound);
        return false;
    }
    const xml::Node copy = spl::requiredNode(section, QStringLiteral("component")).cloneNode(true);
    const xml::Node subSection = spl::requiredNode(copy, QStringLiteral("section"));
    spl::requiredNode(subSection, QStringLiteral("title")).setText(SectionSubTitle);
    const QString id = MakeSectionKey(SectionSubTitle);
    subSection.setAttribute(QStringLiteral("ID"), id);
    if (AddedSubSectionIDs.contains(id, Qt::CaseSensitive))
        WriteLog(QStringLiteral("Error"), QStringLiteral("     A subsection with title '") + SectionSubTitle
                                              + QStringLiteral("' already exists. Please choose a different title."));
    else
        AddedSubSectionIDs.append(id);
    section.appendChild(copy);
    return true;
}

void clsSPL::LoadSectionsSubSections(QStringList& Target) const
{
    RecurseLoadSectionsSubSections(spl::requiredNode(document(), QStringLiteral("document")), Target);
}

void clsSPL::RecurseLoadSectionsSubSections(const xml::Node& Node, QStringList& Target) const
{
    for (xml::Node child = Node.firstChild(); child; child = child.nextSibling()) {
        if (spl::isElement(child, "section") && child.hasAttribute(QStringLiteral("ID"))) {
            const QString id = child.getAttribute(QStringLiteral("ID"));
            Target.append(id.trimmed().isEmpty() ? QStringLiteral("N/A") : id);
        }
        if (child.hasChildNodes())
            RecurseLoadSectionsSubSections(child, Target);
    }
}

} // namespace veldra
