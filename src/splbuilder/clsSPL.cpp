#include "splbuilder/clsSPL.h"

#include "app/log/Log.h"
#include "app/shared/SharedProcedures.h"
#include "platform/xml/tree/Cursor.h"
#include "splbuilder/LabelTemplates.h"
#include "splbuilder/SplNodes.h"

#include <libxml/tree.h>
#include <algorithm>
#include <vector>
namespace veldra {

namespace {

const QString subSectionNotFound = QStringLiteral("< not found in SPL template");
const QString loincOid = QStringLiteral("2.16.840.1.113883.6.1");

bool isElementNamed(const xml::Cursor& node, QByteArrayView name)
{
    return node.isElement() && QByteArrayView(node.localName()) == name;
}

// Whether the title element's text, lowered, reads loweredTitle. A title of plain ASCII text
// nodes (nearly every title) is compared byte by byte without building a string: the search
// runs for every paragraph a label pours in, over every section of the skeleton. Any other
// title takes the general road, whose lowering rules hold for the whole of Unicode.
bool titleTextReads(const xml::Cursor& title, const QString& loweredTitle)
{
    qsizetype length = 0;
    bool plain = true;
    for (xml::Cursor child = title.firstChild(); child && plain; child = child.nextSibling()) {
        if (child.type() != xml::NodeType::Text) {
            plain = false;
            break;
        }
        for (const char* at = child.value(); *at; ++at, ++length) {
            const auto c = static_cast<unsigned char>(*at);
            if (c >= 0x80) {
                plain = false;
                break;
            }
            const char16_t lowered = c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
            if (length >= loweredTitle.size() || loweredTitle.at(length).unicode() != lowered)
                return false;
        }
    }
    if (plain)
        return length == loweredTitle.size();
    return title.text().toLower() == loweredTitle;
}

// A section's own title, compared in any letter case; an empty title is never a match.
bool titleReads(const xml::Cursor& section, const QString& loweredTitle)
{
    if (loweredTitle.isEmpty())
        return false;
    const xml::Cursor title = section.child("title");
    return title && titleTextReads(title, loweredTitle);
}

// The walk runs on a cursor rather than on node handles, which cost a reference count for
// each node passed.
void searchSections(const xml::Cursor& node, const QString& loweredTitle, const QString& loweredSubTitle,
                    xml::Cursor& found)
{
    // Narrative text holds no sections: the search passes over it, so its cost does not
    // grow with the text already added.
    if (found || !node.isElement() || isElementNamed(node, "text"))
        return;
    if (isElementNamed(node, "section") && titleReads(node, loweredTitle)) {
        if (loweredSubTitle.isEmpty()) {
            found = node;
            return;
        }
        // The subsection is sought inside this section only; when it is not there, a later
        // section of the same title may hold it.
        for (xml::Cursor child = node.firstChild(); child && !found; child = child.nextSibling())
            searchSections(child, loweredSubTitle, QString(), found);
        if (found)
            return;
    }
    for (xml::Cursor child = node.firstChild(); child && !found; child = child.nextSibling())
        searchSections(child, loweredTitle, loweredSubTitle, found);
}

// A section as the template writes one: identifier, the unclassified code, title and body text.
xml::Node newSection(const xml::Document& doc, const QString& id, const QString& title)
{
    const xml::Node section = doc.createElement(QStringLiteral("section"));
    section.setAttribute(QStringLiteral("ID"), id);
    section.appendChild(doc.createElement(QStringLiteral("id"))).setAttribute(QStringLiteral("root"), QString());
    const xml::Node code = section.appendChild(doc.createElement(QStringLiteral("code")));
    code.setAttribute(QStringLiteral("code"), QStringLiteral("42229-5"));
    code.setAttribute(QStringLiteral("codeSystem"), loincOid);
    code.setAttribute(QStringLiteral("displayName"), QStringLiteral("SPL UNCLASSIFIED SECTION"));
    section.appendChild(doc.createElement(QStringLiteral("title"))).setText(title);
    section.appendChild(doc.createElement(QStringLiteral("text")));
    return section;
}

xml::Node wrappedInComponent(const xml::Document& doc, const xml::Node& section)
{
    const xml::Node component = doc.createElement(QStringLiteral("component"));
    component.appendChild(section);
    return component;
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
    AddedSectionTitles.clear();
    lastSubSection_ = xml::Node();
    lastSection_ = xml::Node();
    openedSectionTitles_.clear();
    Document.emplace();
    loadLabelTemplate(*Document, QStringLiteral("TEMPLATE_SPL.xml"));
    CheckDocumentParseStatus();
    TitleBoxedWarning(BoxedWarningTitle);
}

void clsSPL::TitleBoxedWarning(const QString& BoxedWarningTitle)
{
    spl::requiredNode(document(), QStringLiteral("//section[@ID='BOXED-WARNING-SECTION']/title")).setText(BoxedWarningTitle);
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
        if (node.nodeType() != xml::NodeType::Element)
            continue;
        xml::Cursor found;
        searchSections(xml::Cursor(node), title, subTitle, found);
        if (found)
            FoundNode = found.node();
    }
}

xml::Node clsSPL::findSection(const QString& SectionTitle, const QString& SubSectionTitle) const
{
    if (const xml::Node opened = openedSubSection(SectionTitle, SubSectionTitle))
        return opened;
    xml::Node found;
    // A heading's section is the top-level one of its title, also when a subsection earlier
    // in the document reads the same.
    if (const xml::Node top = topLevelSection(SectionTitle)) {
        if (SubSectionTitle.isEmpty())
            return top;
        GetSectionByTitle(top.childNodes(), SubSectionTitle, QString(), found);
        if (found)
            return found;
    }
    GetSectionByTitle(document().childNodes(), SectionTitle, SubSectionTitle, found);
    return found;
}

xml::Node clsSPL::topLevelSection(const QString& SectionTitle) const
{
    const QString lowered = SectionTitle.toLower();
    if (lastSection_ && lastSection_.ownerDocument() == document() && titleReads(xml::Cursor(lastSection_), lowered))
        return lastSection_;
    const xml::Node body = spl::requiredNode(document(), QStringLiteral("document/component/structuredBody"));
    for (xml::Node component = body.firstChild(); component; component = component.nextSibling())
        if (const xml::Node section = spl::childElement(component, "section"); section && titleReads(xml::Cursor(section), lowered))
            return section;
    return {};
}

// Repeated subsection titles are common (each section its "Pregnancy"): content goes to the
// subsection that was opened last under that title, not the first one that reads alike.
xml::Node clsSPL::openedSubSection(const QString& SectionTitle, const QString& SubSectionTitle) const
{
    if (!lastSubSection_ || SubSectionTitle.isEmpty() || !(lastSubSection_.ownerDocument() == document()))
        return {};
    const xml::Node parent = lastSubSection_.parentNode().parentNode();
    if (!parent || !titleReads(xml::Cursor(lastSubSection_), SubSectionTitle.toLower())
        || !titleReads(xml::Cursor(parent), SectionTitle.toLower()))
        return {};
    return lastSubSection_;
}

bool clsSPL::AddSubSection(QString& SectionTitle, QString& SectionSubTitle)
{
    StripControlChars(SectionTitle);
    StripControlChars(SectionSubTitle);
    const xml::Node section = findSection(SectionTitle, QString());
    if (!section) {
        WriteLog(log_category::Error, QStringLiteral("Document Section >") + SectionTitle + subSectionNotFound);
        return false;
    }
    const xml::Node copy = spl::requiredNode(section, QStringLiteral("component")).cloneNode(true);
    const xml::Node subSection = spl::requiredNode(copy, QStringLiteral("section"));
    spl::requiredNode(subSection, QStringLiteral("title")).setText(SectionSubTitle);
    // A repeated title keeps the label valid with a numbered ID; links name the first.
    const QString id = FirstUnusedKey(MakeSectionKey(SectionSubTitle),
                                      [this](const QString& key) { return AddedSubSectionIDs.contains(key); });
    subSection.setAttribute(QStringLiteral("ID"), id);
    if (id != MakeSectionKey(SectionSubTitle))
        WriteLog(log_category::Information, QStringLiteral("     A subsection with title '") + SectionSubTitle
                                                    + QStringLiteral("' already exists; this one has the ID ") + id);
    AddedSubSectionIDs.append(id);
    section.appendChild(copy);
    lastSubSection_ = subSection;
    return true;
}

bool clsSPL::HasTopLevelSection(const QString& SectionTitle) const
{
    return !topLevelSection(SectionTitle).isNull();
}

void clsSPL::AddSection(QString& SectionTitle)
{
    StripControlChars(SectionTitle);
    const xml::Document& doc = document();
    const QString id = MakeSectionKey(SectionTitle);
    const xml::Node section = newSection(doc, id, SectionTitle);
    const xml::Node excerpt = section.appendChild(doc.createElement(QStringLiteral("excerpt")));
    excerpt.appendChild(doc.createElement(QStringLiteral("highlight"))).appendChild(doc.createElement(QStringLiteral("text")));
    section.appendChild(wrappedInComponent(doc, newSection(doc, id + QStringLiteral("-SUBSECTION"), QStringLiteral("$SubSection"))));
    spl::requiredNode(doc, QStringLiteral("document/component/structuredBody")).appendChild(wrappedInComponent(doc, section));
    AddedSectionTitles.append(SectionTitle);
    lastSection_ = section;
}

clsSPL::OpenedSection clsSPL::OpenSection(QString& SectionTitle)
{
    StripControlChars(SectionTitle);
    const xml::Node earlier = topLevelSection(SectionTitle);
    const bool repeated = openedSectionTitles_.contains(SectionTitle, Qt::CaseInsensitive);
    openedSectionTitles_.append(SectionTitle);
    if (earlier && !repeated) {
        lastSection_ = earlier;
        return OpenedSection::Template;
    }
    if (!earlier) {
        if (const xml::Node named = templateSectionNamedIn(SectionTitle)) {
            addSectionCodedAs(SectionTitle, named);
            return OpenedSection::Variant;
        }
        AddSection(SectionTitle);
        return OpenedSection::Added;
    }
    if (AddedSectionTitles.contains(SectionTitle, Qt::CaseSensitive))
        AddSection(SectionTitle);
    else
        addSectionCodedAs(SectionTitle, earlier);
    return OpenedSection::Repeated;
}

void clsSPL::addSectionCodedAs(QString& SectionTitle, const xml::Node& model)
{
    AddSection(SectionTitle);
    // Coded here, so the LOINC pass leaves it as it is.
    AddedSectionTitles.removeLast();
    const xml::Node code = spl::requiredNode(lastSection_, QStringLiteral("code"));
    const xml::Node modelCode = spl::requiredNode(model, QStringLiteral("code"));
    for (const QString& attribute : {QStringLiteral("code"), QStringLiteral("codeSystem"), QStringLiteral("displayName")})
        code.setAttribute(attribute, modelCode.getAttribute(attribute));
}

// The template section a heading names with more words: "7 DRUG INTERACTIONS" with a typed
// section number, "PRINCIPAL DISPLAY PANEL - 10 mg Bottle Label" with the particulars of one
// of several package labels. The longest template title so named wins.
xml::Node clsSPL::templateSectionNamedIn(const QString& SectionTitle) const
{
    static const QStringList dashes{QStringLiteral(" - "), QStringLiteral(" \u2013 "), QStringLiteral(" \u2014 ")};
    const QString lowered = SectionTitle.toLower();
    const QString unnumbered = spl::withoutSectionNumber(lowered);
    const auto names = [&](const QString& title) {
        if (unnumbered == title && unnumbered != lowered)
            return true;
        return std::any_of(dashes.begin(), dashes.end(),
                           [&](const QString& dash) { return unnumbered.startsWith(title + dash); });
    };
    xml::Node best;
    qsizetype bestLength = 0;
    const xml::Node body = spl::requiredNode(document(), QStringLiteral("document/component/structuredBody"));
    for (xml::Node component = body.firstChild(); component; component = component.nextSibling()) {
        const xml::Node section = spl::childElement(component, "section");
        const xml::Node title = section ? spl::childElement(section, "title") : xml::Node();
        const QString text = title ? title.text().trimmed() : QString();
        if (text.isEmpty() || AddedSectionTitles.contains(text, Qt::CaseSensitive) || text.size() <= bestLength
            || !names(text.toLower()))
            continue;
        best = section;
        bestLength = text.size();
    }
    return best;
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
