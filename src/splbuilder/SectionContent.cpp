#include "splbuilder/clsSPL.h"

#include "app/log/Log.h"
#include "app/shared/SharedProcedures.h"
#include "splbuilder/LabelTemplates.h"
#include "splbuilder/SplNodes.h"

namespace veldra {

namespace {

const QString highlightsTitle = QStringLiteral("HIGHLIGHTS OF PRESCRIBING INFORMATION");
const QString tenBlanks(10, QLatin1Char(' '));

void logSectionNotFound(const QString& title)
{
    WriteLog(log_category::Error, QStringLiteral("Document Section >") + title + QStringLiteral("< not found in SPL template"));
}

bool isEndOfBlockMark(QString text)
{
    text.remove(QLatin1Char(' '));
    return text == QStringLiteral("/\r");
}

// The section's body text; a section without one writes into its parent's.
xml::Node bodyText(const xml::Node& section)
{
    const xml::Node text = spl::childElement(section, "text");
    if (text)
        return text;
    return spl::requiredNode(section.parentNode(), QStringLiteral("text"));
}

xml::Node highlightText(const xml::Node& section)
{
    const xml::Node excerpt = spl::requiredNode(section, QStringLiteral("excerpt"));
    return spl::requiredNode(spl::requiredNode(excerpt, QStringLiteral("highlight")), QStringLiteral("text"));
}

xml::Node parseTable(QString& text)
{
    try {
        const xml::Node table = ParseXMLFragment(text, true);
        if (table)
            return table;
    } catch (const std::exception&) {
    }
    WriteLog(log_category::Error, tenBlanks + QStringLiteral("Error adding table to document"));
    return {};
}

// The markup of one excerpt table as a copy for the document, when it is a table.
xml::Node excerptTable(const xml::Document& target, const QString& text)
{
    xml::Document parsed;
    if (!parsed.loadXml(text))
        return {};
    const xml::Node root = parsed.documentElement();
    if (!root || root.localName() != QLatin1String("table"))
        return {};
    return target.importNode(root, true);
}

} // namespace

bool clsSPL::AddSectionText(QString& SectionTitle, QString& SubSectionTitle, const QString& TextType, QString& Text,
                            bool Caption, QString& ParagraphID)
{
    if (isEndOfBlockMark(Text))
        return true;
    StripControlChars(SectionTitle);
    StripControlChars(SubSectionTitle);
    StripControlChars(Text);
    const xml::Node section = findSection(SectionTitle, SubSectionTitle);
    if (!section) {
        logSectionNotFound(SectionTitle);
        return false;
    }
    const xml::Document& doc = document();
    const xml::Node paragraph = doc.createElement(QStringLiteral("paragraph"));
    paragraph.setText(Caption ? QStringLiteral("<caption>") + Text + QStringLiteral("</caption>") : Text);
    if (!ParagraphID.isEmpty())
        ParagraphID = QStringLiteral(" ID=\"") + ParagraphID + QLatin1Char('"');

    xml::Node block;
    if (TextType == QLatin1String("Normal") || TextType == QLatin1String("LinkHTML")) {
        QString markup = QStringLiteral("<paragraph") + ParagraphID + QLatin1Char('>') + Text + QStringLiteral("</paragraph>");
        block = ParseXMLFragment(markup, true);
    } else if (TextType == QLatin1String("BulletList")) {
        block = ParseXMLFragment(Text, true);
    } else if (TextType == QLatin1String("Image")) {
        block = doc.createElement(QStringLiteral("renderMultiMedia"));
        block.setAttribute(QStringLiteral("referencedObject"), Text);
    } else if (TextType == QLatin1String("Table")) {
        block = parseTable(Text);
    } else {
        block = paragraph;
    }
    if (!block)
        return true;
    if (block.text().isEmpty() && (TextType == QLatin1String("Normal") || TextType == QLatin1String("BulletList"))) {
        QString lineBreak = QStringLiteral("<br/>");
        block = ParseXMLFragment(lineBreak, false);
    }
    bodyText(section).appendChild(block);
    return true;
}

bool clsSPL::AddSectionExcerpt(QString& SectionTitle, const QString& TextType, QString& Text, bool IsTable,
                               bool /*ContainsLink*/)
{
    if (SectionTitle.isEmpty())
        return false;
    if (SectionTitle == highlightsTitle)
        return true;
    StripControlChars(SectionTitle);
    StripControlChars(Text);
    const xml::Document& doc = document();
    const xml::Node table = IsTable ? excerptTable(doc, Text) : xml::Node();
    const xml::Node section = findSection(SectionTitle, QString());
    if (!section) {
        logSectionNotFound(SectionTitle);
        return false;
    }
    xml::Node block = table;
    if (!block) {
        block = doc.createElement(QStringLiteral("paragraph"));
        block.setText(Text);
    }
    if (Text.isEmpty())
        return true;
    if (!IsTable) {
        QString markup = QStringLiteral("<paragraph>") + Text + QStringLiteral("</paragraph>");
        if (const xml::Node parsed = ParseXMLFragment(markup, true))
            block = parsed;
        else  // one bad highlight must not cost the label: its text goes in as it reads
            WriteLog(log_category::Warning, tenBlanks + QStringLiteral("Excerpt added as plain text"));
    }
    block.setAttribute(QStringLiteral("styleCode"),
                       TextType == QLatin1String("BulletList") ? QStringLiteral("Bullet") : QStringLiteral("normal"));
    highlightText(section).appendChild(block);
    return true;
}

void clsSPL::AddSectionImage(QString& SectionTitle, QString& SubSectionTitle, const QString& ImageID,
                             const QString& ImageFileName)
{
    StripControlChars(SectionTitle);
    StripControlChars(SubSectionTitle);
    const xml::Node section = findSection(SectionTitle, SubSectionTitle);
    if (!section) {
        WriteLog(log_category::Error, QStringLiteral("Document Section >") + SectionTitle + QStringLiteral("<->")
                                              + SubSectionTitle + QStringLiteral("< not found."));
        return;
    }
    xml::Document image;
    if (!loadLabelTemplate(image, QStringLiteral("TEMPLATE_MM_IMAGE.xml"))) {
        const xml::ParseError& error = image.parseError();
        throw VbError(error.errorCode, QStringLiteral("MSXML"), error.reason);
    }
    const xml::Node root = spl::requiredNode(image, QStringLiteral("TEMPLATE_MM_IMAGE"));
    spl::requiredNode(image, QStringLiteral("//component//observationMedia")).setAttribute(QStringLiteral("ID"), ImageID);
    spl::setExistingAttribute(spl::requiredNode(image, QStringLiteral("//component//observationMedia//value//reference")),
                              QStringLiteral("value"), ImageFileName);
    const xml::Node component = spl::childElement(root, "component");
    if (!component)
        throw VbError(err::XmlNode, spl::errorSource, QStringLiteral("element not found: TEMPLATE_MM_IMAGE/component"));
    section.appendChild(component);
}

} // namespace veldra
