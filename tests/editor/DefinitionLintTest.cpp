// Checks the shipped settings vocabulary (data/SPLR4Definitions/DefinitionSPLR4.xml) and the
// tree pictures that go with it.
#include "editor/DefinitionTestFolder.h"
#include "editor/tree/TreeView.h"
#include "editor/document/ValueChecks.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/core/VbString.h"
#include "platform/xml/tree/Document.h"
#include "support/Fixtures.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

xml::Document shippedDefinition()
{
    xml::Document definition;
    const QString path = QDir(test::sourceDataDir()).filePath(QStringLiteral("SPLR4Definitions/DefinitionSPLR4.xml"));
    EXPECT_TRUE(definition.load(path)) << definition.parseError().reason.toStdString();
    return definition;
}

QList<xml::Node> allElements(const xml::Document& doc)
{
    const xml::NodeList list = doc.selectNodes(QStringLiteral("//*"));
    return QList<xml::Node>(list.begin(), list.end());
}

QString pathOf(xml::Node node)
{
    QString path;
    for (; !node.isNull() && node.nodeType() == xml::NodeType::Element; node = node.parentNode())
        path = path.isEmpty() ? node.nodeName() : node.nodeName() + QLatin1Char('/') + path;
    return path;
}

// One entry of a ConstraintValues list: what is stored, and the braced text of a coded entry.
struct Entry {
    QString stored;
    QString braced;
    bool coded = false;
};

const QRegularExpression CodedEntry(QStringLiteral("^([^{}]*[^{} ]) \\{([^{}]+)\\}$"));

Entry parseEntry(const QString& text)
{
    const QRegularExpressionMatch m = CodedEntry.match(text);
    if (m.hasMatch())
        return {m.captured(1), m.captured(2), true};
    return {text, QString(), false};
}

QList<Entry> entriesOf(const xml::Node& element)
{
    QList<Entry> entries;
    for (const QString& text : element.getAttribute(QStringLiteral("ConstraintValues")).split(QLatin1Char(';')))
        entries << parseEntry(text);
    return entries;
}

// code -> name of one of the public SPL code lists in the fixtures.
QHash<QString, QString> codeList(const QString& file)
{
    QHash<QString, QString> codes;
    const QStringList lines = test::readTextFile(test::fixture(QStringLiteral("code-lists/") + file)).split(QLatin1Char('\n'));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty())
            continue;
        const qsizetype first = line.indexOf(QLatin1Char(','));
        const qsizetype last = line.lastIndexOf(QLatin1Char(','));
        QString name = line.mid(first + 1, last - first - 1);
        if (name.startsWith(QLatin1Char('"')))
            name = name.mid(1, name.size() - 2);
        codes.insert(line.left(first), name);
    }
    return codes;
}

} // namespace

TEST(DefinitionLint, EveryPathTheProgramAddressesExists)
{
    const xml::Document definition = shippedDefinition();
    EXPECT_EQ(definition.documentElement().nodeName(), QStringLiteral("SPLR4"));
    const QStringList paths = {
        "SPLR4/GeneralData/DocumentID", "SPLR4/GeneralData/Title",
        "SPLR4/ProductLabel/WordDocument/File", "SPLR4/ProductLabel/WordDocument/SectionStyle",
        "SPLR4/ProductLabel/WordDocument/SubSectionStyle", "SPLR4/ProductLabel/WordDocument/ExcerptStyle",
        "SPLR4/ProductLabel/WordDocument/ImageTargetFolder", "SPLR4/ProductLabel/WordDocument/CheckCharacters",
        "SPLR4/ProductLabel/WordDocument/ProcessCrossReferences", "SPLR4/ProductLabel/WordDocument/IgnoreWordTableCellBorders",
        "SPLR4/ProductLabel/WordDocument/ExtractImages", "SPLR4/ProductLabel/WordDocument/BoxedWarningTitle",
        "SPLR4/ProductLabel/WordDocument/SectionNumberingFromWord", "SPLR4/ProductLabel/WordDocument/LoadDocumentTitle",
        "SPLR4/ProductLabel/WordDocument/PostprocessProductLabel", "SPLR4/ProductLabel/WordDocument/EffectiveTime",
        "SPLR4/ProductLabel/DocumentSections/Section/SectionTitle", "SPLR4/ProductLabel/DocumentSections/Section/SectionCode",
        "SPLR4/ProductLabel/DocumentSections/Section/SectionName", "SPLR4/ProductLabel/DocumentSections/Section/SectionID",
        "SPLR4/ProductLabel/DocumentSections/Section/EffectiveTime", "SPLR4/ProductLabel/DocumentSections/Section/ReferenceID",
        "SPLR4/ProductLabel/DocumentSections/Section/LabelText", "SPLR4/ProductLabel/DocumentSections/Section/Excerpt",
        "SPLR4/ProductLabel/DocumentSections/Section/component",
        "//KitAssembly", "//ProductLabelFromExistingSPL/SPLFileName", "//ProductLabelFromExistingSPL/OmitSections/SectionName",
        "//LotDistributionReport/BulkLot/LotNumber",
    };
    for (const QString& path : paths) {
        EXPECT_FALSE(definition.selectSingleNode(path).isNull()) << path.toStdString();
    }

    // The field dialog pairs these choice lists and takes dropped text into these text boxes.
    const QStringList pairedLists = {"BusinessOperationCode", "BusinessOperationDisplayName", "DosageFormCode",
                                     "DosageFormDisplayName", "PackagingFormCode", "PackagingFormDisplayName",
                                     "NCIMarketingCategoryCode", "NCIMarketingCategoryDisplayName", "NCICode",
                                     "NCIDisplayName", "CombinationProductTypeCode", "CombinationProductTypeName"};
    for (const QString& name : pairedLists) {
        const xml::NodeList found = definition.selectNodes(QStringLiteral("//") + name);
        EXPECT_GT(found.length(), 0) << name.toStdString();
        for (const xml::Node& element : found) {
            EXPECT_FALSE(element.getAttribute(QStringLiteral("ConstraintValues")).isEmpty()) << pathOf(element).toStdString();
        }
    }
    for (const char* name : {"IngredientName", "IngredientUNIICode", "MoietyName", "MoietyUNIICode"}) {
        const xml::NodeList found = definition.selectNodes(QStringLiteral("//") + QLatin1String(name));
        EXPECT_GT(found.length(), 0) << name;
        for (const xml::Node& element : found) {
            EXPECT_FALSE(element.hasAttribute(QStringLiteral("ConstraintValues"))) << pathOf(element).toStdString();
            EXPECT_FALSE(element.hasAttribute(QStringLiteral("AllowMultiLineText"))) << pathOf(element).toStdString();
        }
    }
}

TEST(DefinitionLint, OnlyDefinitionAttributesWithValidValues)
{
    const QSet<QString> allowed = {"ConstraintDataType", "ConstraintValues", "ConstraintLengthMin", "ConstraintLengthMax",
                                   "ConstraintExample", "ConstraintDenyRemove", "ConstraintXPath", "ConstraintFileType",
                                   "ConstraintCodeSystem", "AllowMultiLineText"};
    const QSet<QString> dataTypes = {"SPLFile", "GUID", "Numeric", "File", "Folder"};
    const QSet<QString> codeSystems = {"UNII", "NCI", "LOINC"};
    const xml::Document definition = shippedDefinition();
    for (const xml::Node& element : allElements(definition)) {
        const std::string where = pathOf(element).toStdString();
        // Anything else would be copied over the user's own attributes at every open
        // (Word2SPLID would give like-named elements one key, Color would reset colours).
        for (const xml::Node& attribute : element.attributes()) {
            EXPECT_TRUE(allowed.contains(attribute.nodeName())) << where << " @" << attribute.nodeName().toStdString();
        }

        const QString dataType = element.getAttribute(QStringLiteral("ConstraintDataType"));
        if (!dataType.isNull()) {
            EXPECT_TRUE(dataTypes.contains(dataType)) << where;
        }
        if (dataType == QLatin1String("File")) {
            EXPECT_TRUE(element.getAttribute(QStringLiteral("ConstraintFileType")).contains(QLatin1String(" | "))) << where;
        }
        EXPECT_EQ(element.hasAttribute(QStringLiteral("ConstraintXPath")), dataType == QLatin1String("SPLFile")) << where;
        if (dataType == QLatin1String("Numeric") && !element.text().isEmpty()) {
            EXPECT_TRUE(vbstr::isNumeric(element.text())) << where;
        }

        const QString codeSystem = element.getAttribute(QStringLiteral("ConstraintCodeSystem"));
        if (!codeSystem.isNull()) {
            EXPECT_TRUE(codeSystems.contains(codeSystem)) << where;
        }
        if (element.hasAttribute(QStringLiteral("AllowMultiLineText"))) {
            EXPECT_EQ(element.getAttribute(QStringLiteral("AllowMultiLineText")), QStringLiteral("1")) << where;
        }
        for (const char* limit : {"ConstraintLengthMin", "ConstraintLengthMax", "ConstraintDenyRemove"}) {
            const QString value = element.getAttribute(QLatin1String(limit));
            if (!value.isNull()) {
                EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9]+$")).match(value).hasMatch()) << where << " " << limit;
            }
        }
        const QString min = element.getAttribute(QStringLiteral("ConstraintLengthMin"));
        const QString max = element.getAttribute(QStringLiteral("ConstraintLengthMax"));
        if (!min.isNull() && !max.isNull()) {
            EXPECT_LE(min.toInt(), max.toInt()) << where;
        }
    }
}

TEST(DefinitionLint, GroupsHoldOnlyElementsAndValuesOnlyText)
{
    const xml::Document definition = shippedDefinition();
    for (const xml::Node& element : allElements(definition)) {
        bool hasElements = false;
        bool hasText = false;
        for (const xml::Node& child : element.childNodes()) {
            const xml::NodeType type = child.nodeType();
            EXPECT_TRUE(type == xml::NodeType::Element || type == xml::NodeType::Text)
                << pathOf(element).toStdString() << " holds a " << child.nodeName().toStdString();
            hasElements = hasElements || type == xml::NodeType::Element;
            hasText = hasText || type == xml::NodeType::Text;
        }
        EXPECT_FALSE(hasElements && hasText) << pathOf(element).toStdString();
        if (hasElements) {
            EXPECT_FALSE(element.hasAttribute(QStringLiteral("ConstraintValues"))) << pathOf(element).toStdString();
        }
        // New documents get their ids from CreateGUIDs; a default would be shared by all.
        if (element.getAttribute(QStringLiteral("ConstraintDataType")) == QLatin1String("GUID")) {
            EXPECT_FALSE(element.hasChildNodes()) << pathOf(element).toStdString();
        }
    }
}

TEST(DefinitionLint, ChoiceListsParseAndEveryStoredValueSelectsItsOwnEntry)
{
    const xml::Document definition = shippedDefinition();
    for (const xml::Node& element : definition.selectNodes(QStringLiteral("//*[@ConstraintValues]"))) {
        const std::string where = pathOf(element).toStdString();
        const QString text = element.getAttribute(QStringLiteral("ConstraintValues"));
        EXPECT_FALSE(text.contains(QLatin1String("&amp;"))) << where;
        const QStringList texts = text.split(QLatin1Char(';'));
        const QList<Entry> entries = entriesOf(element);
        QSet<QString> stored;
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const Entry& entry = entries[i];
            // A brace outside the "code {text}" form would be cut wrongly when the value is stored.
            if (!entry.coded) {
                EXPECT_FALSE(entry.stored.contains(QLatin1Char('{')) || entry.stored.contains(QLatin1Char('}')))
                    << where << ": " << entry.stored.toStdString();
            }
            EXPECT_FALSE(stored.contains(entry.stored)) << where << ": twice " << entry.stored.toStdString();
            stored.insert(entry.stored);
            // The dialog shows the first entry that starts with the stored value: it must be this one.
            for (qsizetype j = 0; j < i; ++j) {
                EXPECT_FALSE(texts[j].startsWith(entry.stored)) << where << ": " << texts[j].toStdString() << " shadows "
                                                               << entry.stored.toStdString();
            }
        }
        // A default value is an entry of the list.
        if (!element.text().isEmpty()) {
            EXPECT_TRUE(stored.contains(element.text())) << where;
        }
    }
}

TEST(DefinitionLint, PairedListsMirrorEachOtherAndHoldRealCodes)
{
    const xml::Document definition = shippedDefinition();
    const QHash<QString, QString> lists = {
        {"DosageFormCode", "ncit-spl-dosage-forms.csv"},
        {"PackagingFormCode", "ncit-spl-package-types.csv"},
        {"NCIMarketingCategoryCode", "ncit-spl-marketing-categories.csv"},
        {"BusinessOperationCode", "ncit-spl-business-operations.csv"},
        {"CombinationProductTypeCode", "ncit-spl-combination-product-types.csv"},
        {"RouteOfAdministration/NCICode", "ncit-spl-routes.csv"},
        {"DEASchedule/NCICode", "ncit-spl-special-measures.csv"},
        {"ProductColor/NCICode", "ncit-spl-colors.csv"},
        {"ProductShape/NCICode", "ncit-spl-shapes.csv"},
        {"ProductFlavor/NCICode", "ncit-spl-flavors.csv"},
        {"DocumentTypeCode", "loinc-spl-document-types.csv"},
        {"SectionCode", "loinc-spl-section-codes.csv"},
    };
    const QHash<QString, QString> partners = {
        {"DosageFormCode", "DosageFormDisplayName"}, {"PackagingFormCode", "PackagingFormDisplayName"},
        {"NCIMarketingCategoryCode", "NCIMarketingCategoryDisplayName"}, {"BusinessOperationCode", "BusinessOperationDisplayName"},
        {"CombinationProductTypeCode", "CombinationProductTypeName"}, {"NCICode", "NCIDisplayName"},
        {"DocumentTypeCode", "DocumentTypeDisplayName"}, {"SectionCode", "SectionName"},
    };
    for (auto list = lists.begin(); list != lists.end(); ++list) {
        const QHash<QString, QString> real = codeList(list.value());
        const xml::NodeList elements = definition.selectNodes(QStringLiteral("//") + list.key());
        ASSERT_GT(elements.length(), 0) << list.key().toStdString();
        for (const xml::Node& codes : elements) {
            const std::string where = pathOf(codes).toStdString();
            const QList<Entry> codeEntries = entriesOf(codes);
            for (const Entry& entry : codeEntries) {
                // A leading empty entry keeps an untouched dialog from storing the first code.
                if (&entry == &codeEntries.first() && entry.stored.isEmpty() && !entry.coded)
                    continue;
                ASSERT_TRUE(entry.coded) << where;
                EXPECT_EQ(real.value(entry.stored), entry.braced) << where << ": " << entry.stored.toStdString();
            }
            const xml::Node names = codes.parentNode().selectSingleNode(partners.value(codes.nodeName()));
            ASSERT_FALSE(names.isNull()) << where;
            const QList<Entry> nameEntries = entriesOf(names);
            ASSERT_EQ(nameEntries.size(), codeEntries.size()) << where;
            for (qsizetype i = 0; i < codeEntries.size(); ++i) {
                EXPECT_EQ(nameEntries[i].stored, codeEntries[i].braced) << where;
                EXPECT_EQ(nameEntries[i].braced, codeEntries[i].stored) << where;
            }
            // A default code comes with its own name.
            if (!codes.text().isEmpty()) {
                EXPECT_EQ(names.text(), real.value(codes.text())) << where;
            }
        }
    }
}

TEST(DefinitionLint, TreePicturesBelongToElementsAndLoad)
{
    const xml::Document definition = shippedDefinition();
    QSet<QString> keys = {QStringLiteral("generalpropertyimage")};
    for (const xml::Node& element : allElements(definition))
        keys.insert(element.nodeName().toLower());
    const QDir images(QDir(test::sourceDataDir()).filePath(QStringLiteral("Images")));
    // Tree pictures are the PNG files; the wizards' own pictures live beside them as JPEG.
    const QStringList files = images.entryList({QStringLiteral("*.png")}, QDir::Files);
    EXPECT_TRUE(files.contains(QStringLiteral("generalpropertyimage.png")));
    EXPECT_TRUE(files.contains(QStringLiteral("splr4.png")));
    for (const char* kind : {"product", "ingredient", "package", "section", "labeltext", "documentid", "effectivetime", "file"}) {
        EXPECT_TRUE(files.contains(QLatin1String(kind) + QStringLiteral(".png"))) << kind;
    }
    // Groups, ids and files always get a picture of their own from the image script: a
    // missing one means the pictures were not drawn again after the vocabulary changed.
    for (const xml::Node& element : allElements(definition)) {
        const bool group = !element.firstChild().isNull() && element.firstChild().nodeType() == xml::NodeType::Element;
        const QString dataType = element.getAttribute(QStringLiteral("ConstraintDataType"));
        const bool typed = !dataType.isEmpty() && dataType != QLatin1String("Numeric");
        if (group || typed) {
            EXPECT_TRUE(files.contains(element.nodeName().toLower() + QStringLiteral(".png"))) << pathOf(element).toStdString();
        }
    }
    for (const QString& file : files) {
        EXPECT_TRUE(keys.contains(file.section(QLatin1Char('.'), 0, 0))) << file.toStdString();
        const QImage picture(images.filePath(file));
        EXPECT_FALSE(picture.isNull()) << file.toStdString();
        EXPECT_EQ(picture.size(), QSize(16, 16)) << file.toStdString();
    }
}

TEST(DefinitionLint, ANewDocumentOpensQuietlyAndTakesTestValues)
{
    test::ProgramFolderCopy programFolder;
    test::ScriptedUi ui;
    auto editor = test::newSettings();
    ASSERT_TRUE(editor->XMLDoc);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(editor->TreeView->nodeCount(), editor->XMLDoc->selectNodes(QStringLiteral("//*")).length());

    FillTestValues(*editor->XMLDoc);

    for (const xml::Node& element : editor->XMLDoc->selectNodes(QStringLiteral("//*"))) {
        if (element.hasChildNodes() && element.firstChild().nodeType() == xml::NodeType::Element)
            continue;
        const QString dataType = element.getAttribute(QStringLiteral("ConstraintDataType"));
        const bool keepsItsValue = dataType == QLatin1String("File") || dataType == QLatin1String("Folder") ||
                                   dataType == QLatin1String("SPLFile");
        if (!keepsItsValue || !element.getAttribute(QStringLiteral("ConstraintValues")).isEmpty()) {
            // Lists whose first entry is the empty choice stay empty.
            if (!element.getAttribute(QStringLiteral("ConstraintValues")).startsWith(QLatin1Char(';'))) {
                EXPECT_FALSE(element.text().isEmpty()) << pathOf(element).toStdString();
            }
        }
    }
}
