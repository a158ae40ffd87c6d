#include "wordimport/ProductLabelImport.h"

#include "app/log/LoggedProblems.h"
#include "app/window/Captions.h"
#include "app/EditorWindow.h"
#include "app/shared/SharedProcedures.h"
#include "app/window/frmMain.h"
#include "editor/document/DefinitionDocument.h"
#include "platform/core/Skip.h"
#include "platform/ui/Ui.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Lookup.h"
#include "wordimport/MarkupSize.h"
#include "wordimport/ImportLog.h"
#include "wordimport/SectionNumbering.h"
#include "wordimport/clsWord.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QPointer>

namespace veldra {

namespace {

const QString source = QStringLiteral("ImportProductLabelFromWord");
const QString optionMissing = QStringLiteral("The Word import option WordDocument/%1 is missing");
const QString sectionsPath = QStringLiteral("SPLR4/ProductLabel/DocumentSections");
const QStringList sectionChildren{"SectionCode", "SectionName", "SectionTitle", "SectionID",
                                  "EffectiveTime", "ReferenceID", "LabelText", "Excerpt"};

// The Word import options as the settings document holds them.
struct ImportOptions {
    QString CheckCharacters;
    QString ProcessCrossReferences;
    QString IgnoreWordTableCellBorders;
    bool ExtractImages = true;
    QString BoxedWarningTitle = QStringLiteral("BOXED WARNING");
    QString File;
    QString ImageTargetFolder;
    QString SectionStyle;
    QString ExcerptStyle;
    QString SubSectionStyle;
    QString EffectiveTime;
};

ImportOptions readOptions(const xml::Node& options)
{
    ImportOptions o;
    o.CheckCharacters = xml::requiredAt(options, QStringLiteral("CheckCharacters"), source, optionMissing).text();
    o.ProcessCrossReferences = xml::requiredAt(options, QStringLiteral("ProcessCrossReferences"), source, optionMissing).text();
    o.IgnoreWordTableCellBorders = xml::requiredAt(options, QStringLiteral("IgnoreWordTableCellBorders"), source, optionMissing).text();
    if (const xml::Node extract = options.selectSingleNode(QStringLiteral("ExtractImages")))
        o.ExtractImages = extract.text().toUpper() != QLatin1String("NO");
    if (const xml::Node boxed = options.selectSingleNode(QStringLiteral("BoxedWarningTitle")))
        o.BoxedWarningTitle = boxed.text();
    o.File = xml::requiredAt(options, QStringLiteral("File"), source, optionMissing).text();
    o.ImageTargetFolder = xml::requiredAt(options, QStringLiteral("ImageTargetFolder"), source, optionMissing).text();
    o.SectionStyle = xml::requiredAt(options, QStringLiteral("SectionStyle"), source, optionMissing).text();
    o.ExcerptStyle = xml::requiredAt(options, QStringLiteral("ExcerptStyle"), source, optionMissing).text();
    o.SubSectionStyle = xml::requiredAt(options, QStringLiteral("SubSectionStyle"), source, optionMissing).text();
    o.EffectiveTime = xml::requiredAt(options, QStringLiteral("EffectiveTime"), source, optionMissing).text();
    return o;
}

// The template of a new settings Section, checked before anything of the document changes.
xml::Node sectionTemplate(xml::Document& definition)
{
    if (!definition.load(definitionFilePath()))
        throw VbError(err::XmlParse, source, QStringLiteral("The definition file could not be read: ")
                                                 + definition.parseError().reason);
    const xml::Node section = definition.selectSingleNode(sectionsPath + QStringLiteral("/Section"));
    if (!section)
        throw VbError(err::XmlNode, source, QStringLiteral("The definition file has no ") + sectionsPath + QStringLiteral("/Section"));
    for (const QString& child : sectionChildren)
        if (!section.selectSingleNode(child))
            throw VbError(err::XmlNode, source, QStringLiteral("The definition file's Section has no ") + child);
    return section;
}

QString attributeOf(const xml::Node& section, const QString& element, const QString& attribute)
{
    const xml::Node node = section.selectSingleNode(element);
    return node ? node.getAttribute(attribute) : QString();
}

void logCopyFailure(const QString& what, const std::exception& e)
{
    const VbError error = toVbError(e, source);
    WriteLog(log_category::Error, what + error.source() + QLatin1Char(' ') + QString::number(error.number()) + QStringLiteral("  ")
                   + error.description());
}

// The first Section of that title, compared as text (a title may hold any character).
xml::Node sectionTitled(const xml::Node& sections, const QString& title)
{
    for (const xml::Node& section : sections.selectNodes(QStringLiteral("Section")))
        if (xml::textAt(section, QStringLiteral("SectionTitle")) == title)
            return section;
    return {};
}

// The reference, which the build makes the section's ID, that no Section holds yet: a
// repeated title numbers it ("-2", "-3", ...).
QString unusedReference(const xml::Node& sections, const QString& reference)
{
    QStringList used;
    for (const xml::Node& node : sections.selectNodes(QStringLiteral("Section/ReferenceID")))
        used << node.text();
    return FirstUnusedKey(reference, [&used](const QString& key) { return used.contains(key); });
}

void importSection(const xml::Document& settings, const xml::Node& sections, const xml::Node& templateSection,
                   const xml::Node& splSection, const QString& effectiveTime)
{
    const QString title = xml::textAt(splSection, QStringLiteral("title"));
    const QString reference = unusedReference(sections, MakeSectionKey(title));
    // Each SPL section is a Section of its own, also when the label repeats its title.
    const xml::Node section = sections.appendChild(settings.importNode(templateSection, true));
    section.selectSingleNode(QStringLiteral("SectionCode")).setText(attributeOf(splSection, QStringLiteral("code"), QStringLiteral("code")));
    section.selectSingleNode(QStringLiteral("SectionName"))
        .setText(attributeOf(splSection, QStringLiteral("code"), QStringLiteral("displayName")));
    section.selectSingleNode(QStringLiteral("SectionTitle")).setText(title);
    section.selectSingleNode(QStringLiteral("SectionID")).setText(attributeOf(splSection, QStringLiteral("id"), QStringLiteral("root")));
    section.selectSingleNode(QStringLiteral("EffectiveTime")).setText(effectiveTime);
    section.selectSingleNode(QStringLiteral("ReferenceID")).setText(reference);
    WriteLog(log_category::Processing, title + QStringLiteral(" - ") + xml::textAt(section, QStringLiteral("SectionCode"))
                        + wordlog::indent5 + QStringLiteral("Processing Label Section"));

    // Text, excerpt and components come from this very SPL section: several sections may
    // share a code (the unclassified one), and each keeps its own content.
    try {
        const xml::Node text = splSection.selectSingleNode(QStringLiteral("text"));
        if (!text)
            throw VbError(err::XmlNode, source, QStringLiteral("The SPL section has no text"));
        section.selectSingleNode(QStringLiteral("LabelText")).appendChild(settings.importNode(text, true));
    } catch (const std::exception& e) {
        logCopyFailure(QStringLiteral("Error adding text: "), e);
    }
    try {
        if (const xml::Node excerpt = splSection.selectSingleNode(QStringLiteral("excerpt/highlight/text")))
            section.selectSingleNode(QStringLiteral("Excerpt")).appendChild(settings.importNode(excerpt, true));
    } catch (const std::exception& e) {
        logCopyFailure(QStringLiteral("Error adding excerpt: "), e);
    }
    // In the label's order: the build copies a Section's components in the order stored.
    for (const xml::Node& component : splSection.selectNodes(QStringLiteral("component"))) {
        try {
            section.appendChild(settings.importNode(component, true));
        } catch (const std::exception& e) {
            logCopyFailure(QStringLiteral("Error adding component (Images or Subsection): "), e);
        }
    }
}

// Every section's effective time in the settings document reads the import's. Set once after
// all sections are in: each pass over the whole document writes the same value, so one pass
// at the end leaves what a pass per section would, without reading the label's text again
// for every section.
void setEffectiveTimes(const xml::Document& settings, const QString& effectiveTime)
{
    skip([&] {
        for (const xml::Node& value : settings.selectNodes(QStringLiteral("//component/section/effectiveTime")))
            value.setAttribute(QStringLiteral("value"), effectiveTime);
    });
}

void moveToFront(const xml::Document& settings, const QString& title)
{
    const xml::Node sections = settings.selectSingleNode(QLatin1Char('/') + sectionsPath);
    if (!sections)
        return;
    const xml::Node section = sectionTitled(sections, title);
    if (!section)
        return;
    section.selectSingleNode(QStringLiteral("SectionTitle")).setText(QString());
    sections.insertBefore(section, sections.selectSingleNode(QStringLiteral("Section[0]")));
}

// The label's title as the settings document can hold it. Word's line, page and column breaks
// become line breaks and its non-breaking hyphen a hyphen; its optional hyphen and any other
// control character are dropped: XML cannot store them, and a title holding one would not be
// set at all.
QString storableTitle(const QString& wordText)
{
    QString title;
    title.reserve(wordText.size());
    for (const QChar c : wordText) {
        switch (c.unicode()) {
        case '\v':
        case '\f':
        case 14:
            title += QLatin1Char('\n');
            break;
        case 30:
            title += QLatin1Char('-');
            break;
        default:
            if (c.unicode() >= 32 || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
                title += c;
        }
    }
    return title;
}

// The title of the first SPL section that would take the settings document past what the
// editor opens, every section (with its template) and the title to load counted; nothing
// when all fit.
std::optional<QString> sectionPassingTheEditorsLimit(const xml::Document& settings, const xml::Node& templateSection,
                                                     const xml::NodeList& splSections, const QString& title)
{
    EditorRoom room = roomForLabelSectionsOf(settings);
    if (!room.take(newMarkupSize(title)))
        return QStringLiteral("the document title");
    const DocumentSize sectionTemplateCost = newMarkupSize(templateSection.xml());
    for (const xml::Node& section : splSections) {
        DocumentSize cost = sectionTemplateCost;
        cost += newMarkupSize(section.xml());
        if (!room.take(cost))
            return QStringLiteral("the section '%1'").arg(xml::textAt(section, QStringLiteral("title")));
    }
    return std::nullopt;
}

QString now()
{
    const QLocale locale;
    const QDateTime time = QDateTime::currentDateTime();
    return locale.toString(time.date(), QLocale::ShortFormat) + QLatin1Char(' ')
           + locale.toString(time.time(), QLocale::LongFormat);
}

// The first of the settings the conversion cannot start without that is left empty, by its
// caption in the tree; empty when all are filled. A document without the options goes on to
// the import's own error.
QString emptyRequiredSetting(const xml::Document& settings)
{
    const xml::Node options = settings.selectSingleNode(QStringLiteral("SPLR4/ProductLabel/WordDocument"));
    if (!options)
        return {};
    for (const QString& name : {QStringLiteral("File"), QStringLiteral("ImageTargetFolder")})
        if (const xml::Node setting = options.selectSingleNode(name); setting && setting.text().trimmed().isEmpty())
            return SplitCamelCase(name);
    return {};
}

// Says which setting to fill and where the tree shows it. True when the import cannot start.
bool refuseEmptySetting(const xml::Document& settings)
{
    const QString setting = emptyRequiredSetting(settings);
    if (setting.isEmpty())
        return false;
    ui::msgBox(QStringLiteral("The Word import needs the setting '%1'. Please fill it in the tree under "
                              "'Product Label' > 'Word Document' > '%1' and start the import again.")
                   .arg(setting),
               ui::Buttons::OK, ui::Icon::Warning);
    return true;
}

// The document title element of the settings document. An import from an SPL file without
// a title leaves it out; it is then made from its definition, in its place among the
// general data, so that the label's title is kept.
xml::Node documentTitleElement(const xml::Document& settings, const xml::Document& definition)
{
    const QString path = QStringLiteral("/SPLR4/GeneralData/Title");
    if (const xml::Node title = settings.selectSingleNode(path))
        return title;
    const xml::Node generalData = settings.selectSingleNode(QStringLiteral("/SPLR4/GeneralData"));
    const xml::Node defined = definition.selectSingleNode(path);
    if (!generalData || !defined)
        throw VbError(err::XmlNode, source, QStringLiteral("The settings document has no place for ") + path);
    const xml::Node title = settings.importNode(defined, true);
    for (xml::Node next = defined.nextSibling(); next; next = next.nextSibling())
        if (next.nodeType() == xml::NodeType::Element)
            if (const xml::Node present = generalData.selectSingleNode(next.nodeName()))
                return generalData.insertBefore(title, present);
    return generalData.appendChild(title);
}

// Sets the label's title read from the Word document. A document without one (an OTC label,
// a label written without highlights) leaves the title already there, which general data
// taken from an SPL file may have filled.
void loadDocumentTitle(const xml::Document& settings, const xml::Document& definition, const QString& title)
{
    WriteLog(logSeparator(), QString());
    if (title.trimmed().isEmpty()) {
        WriteLog(log_category::Warning, QStringLiteral("No document title was found in the Word document (it is read from the "
                                                       "excerpt 'HIGHLIGHTS OF PRESCRIBING INFORMATION'); the document title "
                                                       "was left as it was."));
        return;
    }
    WriteLog(log_category::Information, QStringLiteral("Setting Document Title, loaded from 'HIGHLIGHTS OF PRESCRIBING INFORMATION'"));
    skip([&] { documentTitleElement(settings, definition).setText(title); });
}

// Converts the Word document that the settings name and puts its sections in place of the
// label sections. False when the import ended on an error, which is in the log; the label
// sections are then as they were.
bool importLabel(xml::Document& settings, const std::shared_ptr<clsWord>& converter)
{
    bool imported = false;
    xml::Document definition;
    const xml::Node templateSection = sectionTemplate(definition);
    const xml::Node options = settings.selectSingleNode(QStringLiteral("SPLR4/ProductLabel/WordDocument"));
    if (!options)
        throw VbError(err::XmlNode, source, QStringLiteral("The settings document has no SPLR4/ProductLabel/WordDocument"));
    const ImportOptions o = readOptions(options);
    converter->CheckChars = o.CheckCharacters;
    converter->CheckCrossReferences = o.ProcessCrossReferences == QLatin1String("Yes") ? 1 : 0;
    converter->CheckSubscriptSuperscript = 1;
    converter->IgnoreTableCellBorders = o.IgnoreWordTableCellBorders == QLatin1String("Yes") ? 1 : 0;
    converter->ExtractImages = o.ExtractImages;
    converter->Room = roomForLabelSectionsOf(settings);
    const std::optional<xml::Document> spl =
        converter->ProcessSPLR4Document(o.File, o.ImageTargetFolder, o.ProcessCrossReferences, o.SectionStyle,
                                        o.ExcerptStyle, o.SubSectionStyle, o.BoxedWarningTitle);
    if (!converter->Cancel) {
        if (!spl) {
            WriteLog(log_category::Error, QStringLiteral("The Word document was not converted; the label sections were left as they were."));
            return false;
        }
        const xml::NodeList splSections =
            spl->selectNodes(QStringLiteral("document/component/structuredBody/component/section"));
        if (splSections.length() == 0) {
            WriteLog(log_category::Error, QStringLiteral("No label section was found in the Word document (sections begin with a paragraph "
                                          "in the style '%1'); the label sections were left as they were.")
                               .arg(o.SectionStyle));
            return false;
        }
        const xml::Node loadsTitle = options.selectSingleNode(QStringLiteral("LoadDocumentTitle"));
        const QString titleToLoad = loadsTitle && loadsTitle.text().toUpper() == QLatin1String("YES")
                                        ? storableTitle(converter->DocumentTitle)
                                        : QString();
        if (const auto passing = sectionPassingTheEditorsLimit(settings, templateSection, splSections, titleToLoad)) {
            WriteLog(log_category::Error, QStringLiteral("The label is larger than the editor opens (%1): %2 passes that "
                                                         "size; the label sections were left as they were.")
                                              .arg(EditorRoom::limitText(), *passing));
            return false;
        }
        WriteLog(logSeparator(), QString());
        WriteLog(log_category::Information, QStringLiteral("Importing Label..."));
        const xml::Node sections = settings.selectSingleNode(sectionsPath);
        if (!sections)
            throw VbError(err::XmlNode, source, QStringLiteral("The settings document has no ") + sectionsPath);
        for (const xml::Node& old : sections.selectNodes(QStringLiteral("Section")))
            sections.removeChild(old);
        for (const xml::Node& splSection : splSections) {
            importSection(settings, sections, templateSection, splSection, o.EffectiveTime);
            imported = true;
        }
        if (imported)
            setEffectiveTimes(settings, o.EffectiveTime);
    }
    const xml::Node numbering = options.selectSingleNode(QStringLiteral("SectionNumberingFromWord"));
    if (!numbering && !imported)
        throw VbError(err::XmlNode, source, QStringLiteral("The Word import option WordDocument/SectionNumberingFromWord is missing"));
    if (numbering && numbering.text() == QLatin1String("Yes"))
        ProductLabelAddSectionNumbersFromWord(settings, *converter);
    const xml::Node loadTitle = options.selectSingleNode(QStringLiteral("LoadDocumentTitle"));
    if (loadTitle && loadTitle.text().toUpper() == QLatin1String("YES"))
        loadDocumentTitle(settings, definition, storableTitle(converter->DocumentTitle));
    moveToFront(settings, QStringLiteral("RECENT MAJOR CHANGES"));
    moveToFront(settings, QStringLiteral("FULL PRESCRIBING INFORMATION"));
    WriteLog(logSeparator(), QString());
    if (converter->TablesLeftOut.isEmpty())
        WriteLog(log_category::Information, QStringLiteral("Label import completed"));
    else
        WriteLog(log_category::Warning, QStringLiteral("Label import completed without %1 table(s) that could not be converted: %2")
                                            .arg(converter->TablesLeftOut.size())
                                            .arg(converter->TablesLeftOut.join(QStringLiteral("; "))));
    return true;
}

// The closing message of an import that ran to its end: what did not go as asked is said
// here, never only in the log (which may be switched off).
void showCompletion(const clsWord& converter, const LoggedProblems& found)
{
    QStringList caveats;
    if (!converter.TablesLeftOut.isEmpty())
        caveats << QStringLiteral("%1 table(s) could not be converted and were left out").arg(converter.TablesLeftOut.size());
    if (converter.LoincLoadingCancelled)
        caveats << QStringLiteral("the LOINC code loading was cancelled: the sections not coded by then got the "
                                  "unclassified section code");
    if (found.any())
        caveats << QStringLiteral("the import found ") + found.summary();
    if (!caveats.isEmpty())
        ui::msgBox(QStringLiteral("The operation has been completed, but %1. Please check the Log for more information.")
                       .arg(caveats.join(QStringLiteral("; "))),
                   ui::Buttons::OK, ui::Icon::Warning);
    else
        ui::msgBox(QStringLiteral("The operation has been completed. Please check the Log for more information."),
                   ui::Buttons::OK, ui::Icon::Information);
}

} // namespace

void ImportProductLabelFromWord(QWidget* editorWidget, xml::Document& settingsDocument)
{
    if (refuseEmptySetting(settingsDocument))
        return;
    if (ui::msgBox(QStringLiteral("Are you sure you want to import Product Label from Word Document and replace existing data?"),
                   ui::Buttons::YesNo, ui::Icon::Question) != ui::Answer::Yes)
        return;
    const QPointer<QWidget> editor = editorWidget;
    // A handle of its own: the document outlives the editor window should it close meanwhile.
    xml::Document settings = settingsDocument;
    auto converter = std::make_shared<clsWord>();
    const LoggedProblemsSince problems;
    bool done = false;
    try {
        if (frmMain* main = mainForm())
            main->TargetWord = converter;
        ShowLogWindow(true);
        QCoreApplication::processEvents();
        done = importLabel(settings, converter);
    } catch (const std::exception& e) {
        const VbError error = toVbError(e, source);
        WriteLog(log_category::Error, error.source() + QLatin1Char(' ') + QString::number(error.number()) + QLatin1Char(' ')
                       + error.description());
    }
    if (!done) {
        // With logging off the log cannot tell why the import ended.
        if (NoLogging)
            ui::msgBox(QStringLiteral("The Product Label was not imported. ") + problems.count().sentence(QStringLiteral("import")),
                       ui::Buttons::OK, ui::Icon::Critical);
        return;
    }
    if (EditorWindow* window = asEditor(editor)) {
        skip([&] { window->setSaved(false); });
        skip([&] { window->RefreshXML(true); });
    }
    const bool cancelled = converter->Cancel;
    WriteLog(log_category::Information, (cancelled ? QStringLiteral("Operation Cancelled ") : QStringLiteral("Operation Completed ")) + now());
    if (cancelled) {
        ui::msgBox(QStringLiteral("The operation has been cancelled. SPL File may not be valid."), ui::Buttons::OK,
                   ui::Icon::Warning);
        return;
    }
    // Counted before the preview, whose build has its own say.
    const LoggedProblems found = problems.count();
    if (EditorWindow* window = asEditor(editor))
        skip([&] { window->PreviewSPLQuick(); });
    showCompletion(*converter, found);
}

} // namespace veldra
