#include "DialogTestSupport.h"

#include "dialogs/WizardDefinitions.h"
#include "dialogs/frmWizard.h"
#include "dialogs/modWizard.h"
#include "platform/core/AppPaths.h"
#include "platform/xml/tree/Document.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QPushButton>
#include <QSet>

using namespace veldra;

namespace {

class ShippedWizards : public test::DialogFixture {
protected:
    ShippedWizards()
    {
        EXPECT_TRUE(wizards.load(wizardDefinitionsFile())) << wizards.parseError().reason.toStdString();
        EXPECT_TRUE(definition.load(app_paths::inProgram(QStringLiteral("SPLR4Definitions/DefinitionSPLR4.xml"))));
    }

    static QStringList fieldNames(const xml::Node& ui)
    {
        QStringList names;
        for (const xml::Node& row : wizardRowElements(ui))
            names << row.nodeName();
        return names;
    }

    struct WizardOverSettings {
        frmXMLEditor* editor;
        QPointer<frmWizard> wizard;
    };

    // The named wizard shown over a new settings document; a null wizard when either fails.
    WizardOverSettings wizardOverNewSettings(const QString& name)
    {
        frmXMLEditor* editor = newSettings();
        if (!editor->XMLDoc)
            return {editor, nullptr};
        QPointer<frmWizard> wizard = CreateWizard(name, *editor);
        if (wizard)
            ShowWizard(wizard);
        return {editor, wizard};
    }

    xml::Document wizards;
    xml::Document definition;
};

} // namespace

// Every wizard the program ships is enabled, has its picture and rows, and every field has
// instructions whose targets name value elements (or attributes) of the shipped definition.
TEST_F(ShippedWizards, TargetsNameValuesOfTheShippedDefinition)
{
    const xml::NodeList all = wizards.selectNodes(QStringLiteral("//Wizard"));
    ASSERT_GE(all.length(), 4);
    const QStringList names = enabledWizardNames(wizards);
    EXPECT_EQ(names.size(), all.length());
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size()) << "wizard names are unique";

    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QImage picture(app_paths::inProgram(QStringLiteral("Images/Wizard") + QString(name).remove(QLatin1Char(' '))
                                                  + QStringLiteral(".jpg")));
        EXPECT_FALSE(picture.isNull());
        EXPECT_EQ(picture.size(), QSize(50, 50));

        const QStringList fields = fieldNames(wizardUI(wizards, name));
        ASSERT_FALSE(fields.isEmpty());
        for (const xml::Node& instruction : wizardsNamed(wizards, name).front().selectNodes(QStringLiteral("Instructions/*")))
            EXPECT_TRUE(fields.contains(instruction.nodeName())) << instruction.nodeName().toStdString();

        for (const QString& field : fields) {
            SCOPED_TRACE(field.toStdString());
            const std::vector<xml::Node> targets = wizardTargets(wizards, name, field);
            EXPECT_FALSE(targets.empty());
            for (const xml::Node& target : targets) {
                const QString path = target.text().trimmed();
                const xml::NodeList nodes = definition.selectNodes(path);
                EXPECT_GT(nodes.length(), 0) << path.toStdString();
                for (const xml::Node& node : nodes)
                    EXPECT_TRUE(node.nodeType() == xml::NodeType::Attribute
                                || node.selectNodes(QStringLiteral("*")).length() == 0)
                        << path.toStdString() << " is a group";
                const QString action = target.getAttribute(QStringLiteral("Action"));
                EXPECT_TRUE(action.isNull() || action == QLatin1String("Copy") || action == QLatin1String("FolderID")
                            || action == QLatin1String("CreateFolder"))
                    << action.toStdString();
            }
        }
    }
}

TEST_F(ShippedWizards, EachAppliesToANewDocument)
{
    const QHash<QString, QString> acceptedValues{{QStringLiteral("EffectiveTime"), QStringLiteral("20240115")},
                                                 {QStringLiteral("LabelerDUNSNumber"), QStringLiteral("829076962")}};
    for (const QString& name : enabledWizardNames(wizards)) {
        SCOPED_TRACE(name.toStdString());
        frmXMLEditor* editor = newSettings();
        ASSERT_NE(editor->XMLDoc, nullptr);
        // A label's image folder with a number at its end, in the test's own folder.
        editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/ProductLabel/WordDocument/ImageTargetFolder"))
            .setText(dir.file(QStringLiteral("images000")));
        const QString before = editor->XMLDoc->xml();
        QPointer<frmWizard> wizard = CreateWizard(name, *editor);
        ASSERT_FALSE(wizard.isNull());
        ShowWizard(wizard);
        // Empty fields get a value their targets accept; a folder goes into the test's own folder.
        for (const FieldRow& row : wizard->rows()) {
            if (row.name == QLatin1String("ImageTargetFolder"))
                FieldRowDialog::setFieldText(row.field, dir.file(QStringLiteral("images001")));
            else if (row.name == QLatin1String("FolderNumber"))
                FieldRowDialog::setFieldText(row.field, QStringLiteral("001"));
            else if (row.kind == FieldKind::TextBox && FieldRowDialog::fieldValue(row).isEmpty())
                FieldRowDialog::setFieldText(row.field, acceptedValues.value(row.name, QStringLiteral("7")));
        }
        wizard->cmdOK->click();
        EXPECT_TRUE(ui.messages.isEmpty());
        EXPECT_NE(editor->XMLDoc->xml(), before);
        EXPECT_FALSE(editor->Saved);
        EXPECT_FALSE(wizard.isNull());
    }
    EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("images001"))).isDir());
}

// A field applied empty says nothing: the values its targets hold stay (a new version keeps
// its version number and effective time until the user types new ones).
TEST_F(ShippedWizards, FieldsLeftEmptyKeepWhatTheirTargetsHold)
{
    // A path in the test's folder, since a folder target gets its folder made on Apply.
    const QString held = dir.file(QStringLiteral("20171107"));
    for (const QString& name : enabledWizardNames(wizards)) {
        SCOPED_TRACE(name.toStdString());
        const auto [editor, wizard] = wizardOverNewSettings(name);
        ASSERT_FALSE(wizard.isNull());
        QStringList emptyTargets;
        for (const FieldRow& row : wizard->rows()) {
            if (row.name == QLatin1String("GUID"))
                continue;
            FieldRowDialog::setFieldText(row.field, QString());
            for (const xml::Node& target : wizardTargets(wizards, name, row.name)) {
                emptyTargets << target.text().trimmed();
                for (const xml::Node& node : editor->XMLDoc->selectNodes(emptyTargets.constLast()))
                    node.setText(held);
            }
        }
        wizard->cmdOK->click();
        EXPECT_TRUE(ui.messages.isEmpty());
        for (const QString& path : emptyTargets) {
            for (const QString& text : texts(editor, path))
                EXPECT_EQ(text, held) << path.toStdString();
        }
        if (name == QLatin1String("New Document Version")) {
            EXPECT_EQ(emptyTargets.size(), 4);
        }
    }
}

// What a wizard copies is checked as the field dialog checks it: a refused value writes
// nothing (not even the new Document ID), says why and puts the cursor in its field.
TEST_F(ShippedWizards, NewDocumentVersionRefusesWhatTheDocumentRefuses)
{
    struct Case {
        const char* field;
        const char* value;
        const char* refusal;
    };
    const Case cases[] = {
        {"VersionNumber", "abc", "'Version Number' must be numeric"},
        {"VersionNumber", "12345", "'Version Number' must have a maximum length of 4"},
        {"EffectiveTime", "2024", "'Effective Time' must have a minimum length of 8"},
        {"EffectiveTime", "2024O115", "'Effective Time' must be numeric"},
    };
    frmXMLEditor* editor = newSettings();
    ASSERT_NE(editor->XMLDoc, nullptr);
    editor->Saved = true;
    const QString before = editor->XMLDoc->xml();
    QPointer<frmWizard> wizard = CreateWizard(QStringLiteral("New Document Version"), *editor);
    ASSERT_FALSE(wizard.isNull());
    ShowWizard(wizard);
    QWidget* version = wizard->row(QStringLiteral("VersionNumber"))->field;
    QWidget* date = wizard->row(QStringLiteral("EffectiveTime"))->field;

    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        FieldRowDialog::setFieldText(version, QStringLiteral("2"));
        FieldRowDialog::setFieldText(date, QStringLiteral("20240116"));
        QWidget* refused = wizard->row(QLatin1String(c.field))->field;
        FieldRowDialog::setFieldText(refused, QLatin1String(c.value));
        ui.messages.clear();
        wizard->cmdOK->click();
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_TRUE(ui.messages[0].text.startsWith(QLatin1String(c.refusal))) << ui.messages[0].text.toStdString();
        EXPECT_EQ(ui.messages[0].icon, ui::Icon::Warning);
        EXPECT_EQ(editor->XMLDoc->xml(), before);
        EXPECT_TRUE(editor->Saved);
        EXPECT_EQ(wizard->focusWidget(), refused);
        EXPECT_TRUE(wizard->isVisible());
    }

    FieldRowDialog::setFieldText(version, QStringLiteral("2"));
    FieldRowDialog::setFieldText(date, QStringLiteral("20240116"));
    ui.messages.clear();
    wizard->cmdOK->click();
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(texts(editor, QStringLiteral("SPLR4/GeneralData/VersionNumber")), QStringList{QStringLiteral("2")});
    EXPECT_EQ(texts(editor, QStringLiteral("SPLR4/GeneralData/EffectiveTime | SPLR4/ProductLabel/WordDocument/EffectiveTime")),
              QStringList({QStringLiteral("20240116"), QStringLiteral("20240116")}));
    EXPECT_FALSE(editor->Saved);
}

// Applied with every field as offered, a wizard writes no value the definition does not give:
// where the definition has a default the offer is that default (a new document keeps what it
// holds), and where it has a list every entry offered is one of its codes.
TEST_F(ShippedWizards, FieldsAppliedAsOfferedKeepTheDefinitionsDefaults)
{
    const auto codes = [](const xml::Node& element) {
        QStringList allowed;
        for (const QString& entry : element.getAttribute(QStringLiteral("ConstraintValues")).split(QLatin1Char(';')))
            allowed << entry.section(QStringLiteral(" {"), 0, 0);
        return allowed;
    };
    for (const QString& name : enabledWizardNames(wizards)) {
        SCOPED_TRACE(name.toStdString());
        const auto [editor, wizard] = wizardOverNewSettings(name);
        ASSERT_FALSE(wizard.isNull());
        QHash<QString, QStringList> held;
        for (const FieldRow& row : wizard->rows()) {
            const QString offered = FieldRowDialog::fieldValue(row);
            if (row.name == QLatin1String("GUID") || offered.isEmpty())
                continue;
            SCOPED_TRACE(row.name.toStdString());
            QStringList offers{offered};
            if (auto* list = qobject_cast<QComboBox*>(row.field))
                for (int i = 0; i < list->count(); ++i)
                    offers << list->itemText(i);
            for (const xml::Node& target : wizardTargets(wizards, name, row.name)) {
                const QString action = target.getAttribute(QStringLiteral("Action"));
                if (!action.isNull() && action != QLatin1String("Copy"))
                    continue;
                const QString path = target.text().trimmed();
                held.insert(path, texts(editor, path));
                for (const xml::Node& element : definition.selectNodes(path)) {
                    if (!element.text().isEmpty()) {
                        EXPECT_EQ(offered, element.text()) << path.toStdString();
                    }
                    if (element.getAttribute(QStringLiteral("ConstraintValues")).isEmpty())
                        continue;
                    const QStringList allowed = codes(element);
                    for (const QString& entry : offers)
                        EXPECT_TRUE(allowed.contains(entry)) << path.toStdString() << ": " << entry.toStdString();
                }
            }
        }
        wizard->cmdOK->click();
        EXPECT_TRUE(ui.messages.isEmpty());
        for (auto it = held.cbegin(); it != held.cend(); ++it)
            EXPECT_EQ(texts(editor, it.key()), it.value()) << it.key().toStdString();
    }
}
