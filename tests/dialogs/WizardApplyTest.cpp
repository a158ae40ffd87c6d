#include "DialogTestSupport.h"

#include "dialogs/WizardApply.h"
#include "dialogs/WizardDefinitions.h"
#include "dialogs/frmWizard.h"
#include "dialogs/modWizard.h"
#include "editor/tree/TreeView.h"
#include "platform/xml/tree/Document.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>

using namespace veldra;
using test::flushDeletes;

namespace {

const QString Wizards = QStringLiteral(R"(<Wizards>
  <Wizard Enabled="1"><Name>Ids</Name>
    <UI><GUID>ignored</GUID></UI>
    <Instructions><GUID><Target Action="Nothing">SPLR4/Sections/Section/SectionID</Target></GUID></Instructions>
  </Wizard>
  <Wizard Enabled="1"><Name>Copy</Name>
    <UI>
      <First>one</First>
      <Second>two</Second>
      <Grade ConstraintValues="C1 {Name};C2 {Other}">C1 {Name}</Grade>
      <Text AllowMultiLineText="1">x</Text>
      <Lower>low</Lower>
      <Nowhere>n</Nowhere>
    </UI>
    <Instructions>
      <First><Target>SPLR4/GeneralData/Title</Target><Target>SPLR4/Pictures/Picture/@value</Target></First>
      <Second><Target Action="Copy">SPLR4/GeneralData/Title</Target></Second>
      <Grade><Target>SPLR4/GeneralData/SetID</Target></Grade>
      <Text><Target>SPLR4/GeneralData/Notes</Target></Text>
      <Lower><Target Action="copy">SPLR4/Sections/Section/SectionID</Target></Lower>
      <Nowhere><Target>SPLR4/Missing</Target></Nowhere>
    </Instructions>
  </Wizard>
  <Wizard Enabled="1"><Name>Folder</Name>
    <UI><Number>002</Number></UI>
    <Instructions><Number>
      <Target Action="FolderID">SPLR4/WordDocument/ImageTargetFolder</Target>
      <Target Action="CreateFolder">SPLR4/WordDocument/ImageTargetFolder</Target>
      <Target Action="FolderID">SPLR4/Pictures/Picture/@folder</Target>
    </Number></Instructions>
  </Wizard>
  <Wizard Enabled="1"><Name>Broken</Name>
    <UI><First>one</First><Second>two</Second></UI>
    <Instructions>
      <First><Target>SPLR4/GeneralData/Title</Target></First>
      <Second><Target>SPLR4/GeneralData[</Target></Second>
    </Instructions>
  </Wizard>
</Wizards>)");

const QRegularExpression IdPattern(QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"));

class WizardApply : public test::DialogFixture {
protected:
    WizardApply()
    {
        test::writeTextFile(wizardDefinitionsFile(), Wizards);
        editor = openSettings(QStringLiteral(
            "<SPLR4><GeneralData><SetID>s0</SetID><Title>T</Title><Notes>n</Notes></GeneralData>"
            "<WordDocument><ImageTargetFolder>%1/images001</ImageTargetFolder></WordDocument>"
            "<Sections><Section><SectionID>a</SectionID></Section><Section><SectionID>b</SectionID></Section>"
            "<Section><SectionID>c</SectionID></Section></Sections>"
            "<Pictures><Picture value='old' folder='pictures001'/></Pictures></SPLR4>")
                                  .arg(dir.path()));
        editor->Saved = true;
    }

    QPointer<frmWizard> open(const QString& name)
    {
        frmWizard* wizard = CreateWizard(name, *editor);
        if (!wizard)
            return wizard;
        // The user types each field's default, so Apply writes it whatever the document holds.
        for (const xml::Node& element : wizardRowElements(wizardUI(wizard->XMLDoc, name)))
            FieldRowDialog::setFieldText(wizard->row(element.nodeName())->field, element.text());
        ShowWizard(wizard);
        return wizard;
    }

    QString text(const QString& query) const { return texts(editor, query).value(0); }

    frmXMLEditor* editor = nullptr;
};

} // namespace

TEST_F(WizardApply, GuidFieldGivesEveryTargetNodeAFreshIdOnEveryApply)
{
    QPointer<frmWizard> wizard = open(QStringLiteral("Ids"));
    ASSERT_FALSE(wizard.isNull());
    wizard->cmdOK->click();
    const QStringList first = texts(editor, QStringLiteral("//SectionID"));
    wizard->cmdOK->click();
    const QStringList second = texts(editor, QStringLiteral("//SectionID"));

    ASSERT_EQ(first.size(), 3);
    QStringList all = first + second;
    for (const QString& id : all)
        EXPECT_TRUE(IdPattern.match(id).hasMatch()) << id.toStdString();
    all.removeDuplicates();
    EXPECT_EQ(all.size(), 6);
    // The tree shows the new values, the editor counts as changed, the wizard stays open.
    EXPECT_EQ(nodeCaption(nodeOf(editor, QStringLiteral("//SectionID"))), QStringLiteral("Section ID: ") + second[0]);
    EXPECT_FALSE(editor->Saved);
    flushDeletes();
    EXPECT_TRUE(wizard && wizard->isVisible());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(WizardApply, CopyWritesElementsAndAttributesInRowOrder)
{
    QPointer<frmWizard> wizard = open(QStringLiteral("Copy"));
    ASSERT_FALSE(wizard.isNull());
    FieldRowDialog::setFieldText(wizard->row(QStringLiteral("Text"))->field, QStringLiteral("line 1\nline 2"));

    wizard->cmdOK->click();

    EXPECT_EQ(text(QStringLiteral("//Title")), QStringLiteral("two"));  // the later field wins
    EXPECT_EQ(text(QStringLiteral("//Picture/@value")), QStringLiteral("one"));
    EXPECT_EQ(text(QStringLiteral("//SetID")), QStringLiteral("C1 {Name}"));  // a choice is written whole
    EXPECT_EQ(text(QStringLiteral("//Notes")), QStringLiteral("line 1\nline 2"));
    // An action spelt in another case does nothing; a path that selects nothing is no failure.
    EXPECT_EQ(texts(editor, QStringLiteral("//SectionID")),
              QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_FALSE(editor->Saved);
}

TEST_F(WizardApply, FolderIdReplacesTheFoldersNumberAndCreateFolderMakesIt)
{
    QPointer<frmWizard> wizard = open(QStringLiteral("Folder"));
    wizard->cmdOK->click();
    const QString folder = dir.path() + QStringLiteral("/images002");
    EXPECT_EQ(text(QStringLiteral("//ImageTargetFolder")), folder);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(text(QStringLiteral("//Picture/@folder")), QStringLiteral("pictures002"));

    // The folder exists now: applying again is no failure, and changes nothing.
    editor->Saved = true;
    wizard->cmdOK->click();
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(editor->Saved);

    // A value longer than the path, and an empty one, leave the path as it is.
    QWidget* number = wizard->row(QStringLiteral("Number"))->field;
    FieldRowDialog::setFieldText(number, QString(folder.size() + 1, QLatin1Char('9')));
    wizard->cmdOK->click();
    FieldRowDialog::setFieldText(number, QString());
    wizard->cmdOK->click();
    EXPECT_EQ(text(QStringLiteral("//ImageTargetFolder")), folder);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(WizardApply, CreateFolderMakesOneLevelOnly)
{
    xml::Document doc;
    ASSERT_TRUE(doc.loadXml(QStringLiteral("<r><t Action='CreateFolder'/><f/></r>")));
    const xml::Node target = doc.selectSingleNode(QStringLiteral("//t"));
    const xml::Node node = doc.selectSingleNode(QStringLiteral("//f"));
    node.setText(dir.path() + QStringLiteral("/missing/child"));
    EXPECT_FALSE(applyWizardTarget(QStringLiteral("Folder"), QString(), target, node));
    EXPECT_FALSE(QFileInfo::exists(dir.path() + QStringLiteral("/missing")));
    node.setText(dir.path() + QStringLiteral("/made"));
    EXPECT_FALSE(applyWizardTarget(QStringLiteral("Folder"), QString(), target, node));
    EXPECT_TRUE(QFileInfo(dir.path() + QStringLiteral("/made")).isDir());
}

TEST_F(WizardApply, InvalidTargetStopsApplyClosesTheWizardAndKeepsEarlierWrites)
{
    QPointer<frmWizard> wizard = open(QStringLiteral("Broken"));
    wizard->cmdOK->click();
    flushDeletes();

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Cannot apply Wizard Settings because the related SPL Document cannot be found."));
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Warning);
    EXPECT_EQ(ui.messages[0].buttons, ui::Buttons::OK);
    EXPECT_TRUE(wizard.isNull());
    EXPECT_EQ(text(QStringLiteral("//Title")), QStringLiteral("one"));
    EXPECT_EQ(nodeCaption(nodeOf(editor, QStringLiteral("//Title"))), QStringLiteral("Title: one"));
    EXPECT_FALSE(editor->Saved);
}

TEST_F(WizardApply, ClosedEditorGetsTheMessageAndNoCrash)
{
    QPointer<frmWizard> wizard = open(QStringLiteral("Copy"));
    delete editor;
    wizard->cmdOK->click();
    flushDeletes();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Cannot apply Wizard Settings because the related SPL Document cannot be found."));
    EXPECT_TRUE(wizard.isNull());
}
