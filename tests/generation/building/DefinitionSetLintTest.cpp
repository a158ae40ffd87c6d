// Checks the shipped transformation files and SPL templates as one set with the settings
// vocabulary: every entry complete, every source a settings path, every target present in
// the template it writes into, clone rules the same in all three transformation files.
#include "generation/BuildTestSupport.h"

#include "support/Fixtures.h"

#include <QDir>
#include <QMap>
#include <QRegularExpression>

using namespace veldra;
using namespace veldra::test;

namespace {

QString definitionsFile(const QString& name)
{
    return QDir(sourceDataDir()).filePath(QStringLiteral("SPLR4Definitions/") + name);
}

xml::Document shipped(const QString& name)
{
    xml::Document document;
    EXPECT_TRUE(document.load(definitionsFile(name))) << name.toStdString() << ": "
                                                       << document.parseError().reason.toStdString();
    return document;
}

QString item(const xml::Node& entry, const QString& path)
{
    const xml::Node node = entry.selectSingleNode(path);
    return node.isNull() ? QString() : node.text();
}

std::string where(const QString& file, const xml::Node& entry)
{
    return (file + QStringLiteral(": ") + item(entry, "Name")).toStdString();
}

QString withoutPredicates(QString query)
{
    static const QRegularExpression predicate(QStringLiteral("\\[[^\\[\\]]*\\]"));
    while (query.contains(predicate))
        query.remove(predicate);
    return query;
}

bool isElementPath(const QString& source)
{
    static const QRegularExpression path(QStringLiteral("^SPLR4(/[A-Za-z][A-Za-z0-9]*)*$"));
    return path.match(source).hasMatch();
}

struct BuildPair {
    QString transformation;
    QString templateFile;
};

const QList<BuildPair> buildPairs = {
    {"TransformSPLR4_DrugProduct.xml", "TemplateSPLR4_FDA_DrugProduct.xml"},
    {"TransformSPLR4_KitAssembly.xml", "TemplateSPLR4_FDA_KitAssembly.xml"},
};

// The node a Value target names in the template, below the entry's target.
void expectValueTarget(const xml::Node& value, const xml::Node& group, const std::string& at)
{
    const xml::Node targetItem = value.selectSingleNode("Target");
    const xml::Node target = group.selectSingleNode(targetItem.text());
    ASSERT_FALSE(target.isNull()) << at << ": no " << targetItem.text().toStdString();
    const QString attribute = targetItem.getAttribute("Attribute");
    if (!attribute.isNull()) {
        EXPECT_TRUE(target.hasAttribute(attribute)) << at << ": " << targetItem.text().toStdString() << " @" << attribute.toStdString();
    }
}

// A Value's source, predicates aside, names settings elements below the entry's element.
void expectValueSource(const xml::Node& value, const xml::Node& settingsElement, const std::string& at)
{
    const xml::Node sourceItem = value.selectSingleNode("Source");
    if (sourceItem.getAttribute("DirectCopy") == QLatin1String("1"))
        return; // whole SPL content that the Word import or Add Information puts there
    const QString source = withoutPredicates(sourceItem.text());
    EXPECT_FALSE(settingsElement.selectSingleNode(source).isNull()) << at << ": no settings element " << source.toStdString();
}

// In a group that is copied per settings element, a value that a new document already holds
// (a starting value of the definition, or an id the editor makes) is written only together
// with one the user enters: otherwise a group left empty would still fill its copy.
void expectStartingValueConditioned(const xml::Node& value, const xml::Node& settingsElement, const std::string& at)
{
    const QString source = value.selectSingleNode("Source").text();
    const xml::Node element = settingsElement.selectSingleNode(withoutPredicates(source));
    if (element.isNull())
        return;
    const bool startsFilled = !element.text().trimmed().isEmpty()
        || element.getAttribute("ConstraintDataType") == QLatin1String("GUID");
    if (startsFilled) {
        EXPECT_TRUE(source.contains("[../")) << at << ": " << source.toStdString();
    }
}

TEST(DefinitionSetLint, BuildTransformEntriesAreCompleteAndMatchTheVocabularyAndTheTemplate)
{
    const xml::Document definition = shipped("DefinitionSPLR4.xml");
    for (const BuildPair& pair : buildPairs) {
        const xml::Document transformation = shipped(pair.transformation);
        const xml::Document templateDoc = shipped(pair.templateFile);
        const xml::NodeList entries = transformation.selectNodes("Word2SPLTransform/Transform");
        ASSERT_GT(entries.length(), 10) << pair.transformation.toStdString();
        for (const xml::Node& entry : entries) {
            const std::string at = where(pair.transformation, entry);
            for (const char* required : {"Name", "Definition/Source", "Definition/Target"})
                ASSERT_FALSE(entry.selectSingleNode(required).isNull()) << at << ": " << required;
            const QString source = item(entry, "Definition/Source");
            EXPECT_TRUE(isElementPath(source)) << at;
            const xml::Node settingsElement = definition.selectSingleNode(source);
            ASSERT_FALSE(settingsElement.isNull()) << at << ": no settings element " << source.toStdString();

            const xml::Node targetItem = entry.selectSingleNode("Definition/Target");
            const xml::Node group = templateDoc.selectSingleNode(targetItem.text());
            ASSERT_FALSE(group.isNull()) << at << ": target not in " << pair.templateFile.toStdString();
            if (targetItem.getAttribute("AllowClone") == QLatin1String("1")) {
                EXPECT_NE(group.parentNode().nodeType(), xml::NodeType::Document) << at;
                EXPECT_FALSE(entry.selectSingleNode("Definition/ParentNode").isNull()) << at;
                const QString parentNode = item(entry, "Definition/ParentNode");
                if (!parentNode.isEmpty()) {
                    // Copies go below the copy made for the nearest ancestor element whose entry clones.
                    QString parentSource = source;
                    xml::Node parentEntry;
                    while (parentEntry.isNull() && parentSource.count('/') > 1) {
                        parentSource = parentSource.section('/', 0, -2);
                        parentEntry = transformation.selectSingleNode("Word2SPLTransform/Transform[Definition/Source='"
                                                                      + parentSource + "'][Definition/Target/@AllowClone='1']");
                    }
                    ASSERT_FALSE(parentEntry.isNull()) << at << ": no cloning entry above " << source.toStdString();
                    const xml::Node parentPattern = templateDoc.selectSingleNode(item(parentEntry, "Definition/Target"));
                    EXPECT_FALSE(parentPattern.selectSingleNode(parentNode).isNull()) << at;
                }
            }
            const bool clones = targetItem.getAttribute("AllowClone") == QLatin1String("1");
            for (const xml::Node& value : entry.selectNodes("Value")) {
                ASSERT_FALSE(value.selectSingleNode("Source").isNull()) << at;
                ASSERT_FALSE(value.selectSingleNode("Target").isNull()) << at;
                expectValueTarget(value, group, at);
                expectValueSource(value, settingsElement, at);
                if (clones)
                    expectStartingValueConditioned(value, settingsElement, at);
            }
            if (!item(entry, "Definition/FilterSource").isEmpty()) {
                EXPECT_FALSE(entry.selectSingleNode("Definition/TemplateTarget").isNull()) << at;
            }
        }
    }
}

TEST(DefinitionSetLint, PostProcessingAndTargetModificationsAreComplete)
{
    const xml::Document definition = shipped("DefinitionSPLR4.xml");
    for (const BuildPair& pair : buildPairs) {
        const xml::Document transformation = shipped(pair.transformation);
        const xml::Document templateDoc = shipped(pair.templateFile);
        for (const xml::Node& entry : transformation.selectNodes("//PostProcessing")) {
            const std::string at = where(pair.transformation, entry);
            for (const char* required : {"Name", "Definition/TemplateFile", "Definition/Source", "Definition/TemplateTarget",
                                         "Definition/Target"})
                ASSERT_FALSE(entry.selectSingleNode(required).isNull()) << at << ": " << required;
            if (!entry.selectSingleNode("Definition/RepeatTarget").isNull()) {
                EXPECT_FALSE(entry.selectSingleNode("Definition/RepeatSource").isNull()) << at;
            }
            const QString templateFile = item(entry, "Definition/TemplateFile");
            EXPECT_TRUE(templateFile.startsWith('\\')) << at;
            const xml::Document fragmentDoc = shipped(templateFile.section('\\', -1));
            const xml::Node fragment = fragmentDoc.selectSingleNode(item(entry, "Definition/TemplateTarget"));
            ASSERT_FALSE(fragment.isNull()) << at;
            EXPECT_FALSE(templateDoc.selectSingleNode(item(entry, "Definition/Target")).isNull()) << at;
            const xml::Node settingsNode = definition.selectSingleNode(item(entry, "Definition/Source"));
            ASSERT_FALSE(settingsNode.isNull()) << at;
            for (const xml::Node& value : entry.selectNodes("Value")) {
                expectValueTarget(value, fragment, at);
                expectValueSource(value, settingsNode, at);
            }
            if (!entry.selectSingleNode("Definition/RepeatSource").isNull()) {
                // A later repeated part joins the members that RepeatTarget finds in the first
                // fragment placed below Target: as a sibling of what RepeatSource names.
                const xml::Node repeated = fragment.selectSingleNode(item(entry, "Definition/RepeatSource"));
                ASSERT_FALSE(repeated.isNull()) << at;
                xml::Document placed = documentFrom("<target/>");
                placed.documentElement().appendChild(placed.importNode(fragment, true));
                const xml::Node member = placed.documentElement().selectSingleNode(item(entry, "Definition/RepeatTarget"));
                ASSERT_FALSE(member.isNull()) << at;
                EXPECT_EQ(member.nodeName(), repeated.nodeName()) << at;
                EXPECT_EQ(member.parentNode().nodeName(), repeated.parentNode().nodeName()) << at;
            }
        }
        for (const xml::Node& entry : transformation.selectNodes("Word2SPLTransform/TargetModification")) {
            for (const char* required : {"TargetCondition", "Action", "Description", "Target"})
                EXPECT_FALSE(entry.selectSingleNode(required).isNull()) << pair.transformation.toStdString() << ": " << required;
            EXPECT_EQ(item(entry, "Action").toUpper(), QStringLiteral("DELETE"));
            // An unfilled template is what these entries tidy up: it has nothing for them.
            EXPECT_EQ(templateDoc.selectNodes(item(entry, "TargetCondition")).length(), 0) << item(entry, "Description").toStdString();
        }
    }
}

// Whether the editor may clone the element at each path, as each file says.
QMap<QString, bool> cloneRules(const xml::Document& transformation)
{
    QMap<QString, bool> rules;
    for (const xml::Node& entry :
         transformation.selectNodes("Word2SPLTransform/Transform | Word2SPLTransform/PostProcessing")) {
        const QString source = item(entry, "Definition/Source");
        const bool clones = entry.selectSingleNode("Definition/Target").getAttribute("AllowClone") == QLatin1String("1");
        if (entry.nodeName() == QLatin1String("Transform") || clones)
            rules[source] = rules.value(source) || clones;
    }
    return rules;
}

TEST(DefinitionSetLint, TheThreeTransformationFilesAgreeOnWhatMayBeCloned)
{
    const QMap<QString, bool> editorRules = cloneRules(shipped("TransformSPLR4.xml"));
    for (const BuildPair& pair : buildPairs) {
        const QMap<QString, bool> buildRules = cloneRules(shipped(pair.transformation));
        for (auto rule = buildRules.begin(); rule != buildRules.end(); ++rule) {
            const std::string at = pair.transformation.toStdString() + ": " + rule.key().toStdString();
            if (rule.value()) {
                EXPECT_TRUE(editorRules.value(rule.key())) << at;
            } else if (editorRules.contains(rule.key())) {
                EXPECT_FALSE(editorRules.value(rule.key())) << at;
            }
        }
    }
    for (const char* path : {"SPLR4/Products/Product", "SPLR4/Products/Product/Ingredient", "SPLR4/Products/Product/Package",
                             "SPLR4/ProductLabel/DocumentSections/Section", "SPLR4/Registrant/Establishment"})
        EXPECT_TRUE(editorRules.value(path)) << path;
    EXPECT_FALSE(editorRules.value("SPLR4/GeneralData"));
}

TEST(DefinitionSetLint, ReverseImportEntriesNameSettingsElementsTheyCanFill)
{
    const xml::Document definition = shipped("DefinitionSPLR4.xml");
    const xml::Document transformation = shipped("TransformSPLR4.xml");
    int reverse = 0;
    for (const xml::Node& entry : transformation.selectNodes("Word2SPLTransform/Transform")) {
        const std::string at = where("TransformSPLR4.xml", entry);
        const QString source = item(entry, "Definition/Source");
        EXPECT_TRUE(isElementPath(source)) << at;
        const xml::Node element = definition.selectSingleNode(source);
        ASSERT_FALSE(element.isNull()) << at;
        if (entry.selectSingleNode("Definition").getAttribute("AllowReverseTransform") != QLatin1String("1"))
            continue;
        ++reverse;
        for (const xml::Node& value : entry.selectNodes("Value"))
            EXPECT_FALSE(element.selectSingleNode(item(value, "Source")).isNull()) << at << ": " << item(value, "Source").toStdString();
        const QString selection = item(entry, "Definition/ReverseTransformUserSelection");
        if (!selection.isEmpty()) {
            EXPECT_TRUE(selection.contains("$USERSELECTION")) << at;
        }
    }
    EXPECT_GE(reverse, 8);
}

TEST(DefinitionSetLint, TemplatesAreSPLDocumentsThatNameTheStylesheetAndTheSchema)
{
    for (const BuildPair& pair : buildPairs) {
        const std::string at = pair.templateFile.toStdString();
        const xml::Document templateDoc = shipped(pair.templateFile);
        EXPECT_EQ(templateDoc.firstChild().nodeType(), xml::NodeType::ProcessingInstruction) << at;
        EXPECT_EQ(templateDoc.firstChild().nodeName(), QStringLiteral("xml")) << at;
        bool namesStylesheet = false;
        for (const xml::Node& instruction : templateDoc.childNodes())
            namesStylesheet = namesStylesheet
                || (instruction.nodeName() == QLatin1String("xml-stylesheet")
                    && instruction.text().contains("href=\"http://www.accessdata.fda.gov/spl/stylesheet/spl.xsl\"")
                    && instruction.text().contains("type=\"text/xsl\""));
        EXPECT_TRUE(namesStylesheet) << at;
        const xml::Node document = templateDoc.documentElement();
        EXPECT_EQ(document.nodeName(), QStringLiteral("document")) << at;
        EXPECT_EQ(document.namespaceURI(), QStringLiteral("urn:hl7-org:v3")) << at;
        EXPECT_EQ(document.getAttribute("xsi:schemaLocation"),
                  QStringLiteral("urn:hl7-org:v3 http://www.accessdata.fda.gov/spl/schema/spl.xsd")) << at;
        for (const char* shape : {"document/component/structuredBody/component/section/code[@displayName]",
                                  "document/component/structuredBody/component/section/id[@root]",
                                  "//observationMedia[@ID]/value/reference[@value]"})
            EXPECT_FALSE(templateDoc.selectSingleNode(shape).isNull()) << at << ": " << shape;
    }
}

TEST(DefinitionSetLint, TheProgramsFixedQueriesRunOnTheShippedFiles)
{
    const xml::Document editor = shipped("TransformSPLR4.xml");
    const QString product = "SPLR4/Products/Product";
    EXPECT_EQ(editor.selectNodes("/Word2SPLTransform/Transform[Definition/Source='" + product + "']").length(), 1);
    EXPECT_EQ(editor.selectNodes("/Word2SPLTransform/Transform[Definition/Source='" + product + "'] | "
                                 "/Word2SPLTransform/PostProcessing[Definition/Source='" + product + "']").length(), 1);
    EXPECT_EQ(editor.selectNodes("Word2SPLTransform/Transform[Definition[Source=\"" + product + "\"]]").length(), 1);
    const xml::Document build = shipped("TransformSPLR4_DrugProduct.xml");
    EXPECT_EQ(build.selectNodes("//PostProcessing").length(), 1);
    EXPECT_EQ(build.selectNodes("/Word2SPLTransform/Transform[Definition/Source='SPLR4/Products/Product/Package'] | "
                                "/Word2SPLTransform/PostProcessing[Definition/Source='SPLR4/Products/Product/Package']").length(), 2);
    EXPECT_GT(build.selectNodes("Word2SPLTransform/TargetModification").length(), 0);
    EXPECT_GT(build.selectNodes("Word2SPLTransform/Transform/Value").length(), 50);
}

} // namespace
