#include "DialogTestSupport.h"

#include "dialogs/WizardDefinitions.h"
#include "dialogs/frmWizard.h"
#include "dialogs/modWizard.h"
#include "platform/core/AppPaths.h"
#include "platform/xml/tree/Document.h"

#include <QFileInfo>
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
        // Empty fields get a value; a folder goes into the test's own folder.
        for (const FieldRow& row : wizard->rows()) {
            if (row.name == QLatin1String("ImageTargetFolder"))
                FieldRowDialog::setFieldText(row.field, dir.file(QStringLiteral("images001")));
            else if (row.kind == FieldKind::TextBox && FieldRowDialog::fieldValue(row).isEmpty())
                FieldRowDialog::setFieldText(row.field, QStringLiteral("7"));
        }
        wizard->cmdOK->click();
        EXPECT_TRUE(ui.messages.isEmpty());
        EXPECT_NE(editor->XMLDoc->xml(), before);
        EXPECT_FALSE(editor->Saved);
        EXPECT_FALSE(wizard.isNull());
    }
    EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("images001"))).isDir());
}

// A field offered empty and applied so says nothing: the values its targets hold stay (a
// new version keeps its version number and effective time until the user types new ones).
TEST_F(ShippedWizards, FieldsLeftEmptyKeepWhatTheirTargetsHold)
{
    // A path in the test's folder, since a folder target gets its folder made on Apply.
    const QString held = dir.file(QStringLiteral("20171107"));
    for (const QString& name : enabledWizardNames(wizards)) {
        SCOPED_TRACE(name.toStdString());
        frmXMLEditor* editor = newSettings();
        ASSERT_NE(editor->XMLDoc, nullptr);
        QPointer<frmWizard> wizard = CreateWizard(name, *editor);
        ASSERT_FALSE(wizard.isNull());
        ShowWizard(wizard);
        QStringList emptyTargets;
        for (const FieldRow& row : wizard->rows()) {
            if (row.name == QLatin1String("GUID") || !FieldRowDialog::fieldValue(row).isEmpty())
                continue;
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
