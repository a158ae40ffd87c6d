#include "DialogTestSupport.h"

#include "dialogs/DropTextBox.h"
#include "dialogs/frmXMLDataEdit.h"
#include "editor/document/NodeRules.h"
#include "editor/tree/TreeView.h"
#include "editor/document/ValueChecks.h"
#include "platform/xml/tree/Document.h"
#include "support/Fixtures.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace veldra;
using test::fieldOf;
using test::flushDeletes;

namespace {

const QString Labeler = QStringLiteral(
    "<SPLR4><Labeler>"
    "<LabelerName ConstraintLengthMax='20'>Old1</LabelerName>"
    "<LabelerCode>Old2</LabelerCode>"
    "<City ConstraintLengthMax='5' ConstraintExample='e.g. Rome'>Old3</City>"
    "<State>Old4</State>"
    "<PostalCode>Old5</PostalCode>"
    "</Labeler></SPLR4>");

const QString Product = QStringLiteral(
    "<SPLR4><Product>"
    "<DosageFormCode ConstraintValues='C42998 {TABLET};C25158 {CAPSULE}'>C42998</DosageFormCode>"
    "<DosageFormDisplayName ConstraintValues='TABLET {C42998};CAPSULE {C25158}'>TABLET</DosageFormDisplayName>"
    "<Route ConstraintValues='ORAL;NASAL'>ORAL</Route>"
    "<Ingredient><IngredientName>ASPIRIN</IngredientName><IngredientUNIICode>R16CO5Y76E</IngredientUNIICode></Ingredient>"
    "</Product></SPLR4>");

// A definition of our own, so that the addable kinds do not depend on the shipped files.
const QString SmallDefinition = QStringLiteral(
    "<SPLR4><GeneralData><DocumentID/></GeneralData>"
    "<Labeler><LabelerName/><LabelerDUNSNumber/><LabelerCode/><ContactParty><City/><State/></ContactParty></Labeler>"
    "<Registrant><RegistrantName/><ContactParty><City/></ContactParty><Establishment><EstablishmentName/></Establishment>"
    "</Registrant></SPLR4>");

class DataEditCommit : public test::DialogFixture {
protected:
    void useSmallDefinition()
    {
        test::writeTextFile(program.file(QStringLiteral("SPLR4Definitions/DefinitionSPLR4.xml")), SmallDefinition);
        QFile::remove(program.file(QStringLiteral("SPLR4Definitions/TransformSPLR4.xml")));
    }

    // The editor's edit command on the element `query` selects.
    frmXMLDataEdit* edit(frmXMLEditor* editor, const QString& query)
    {
        editor->TreeView->selectNode(nodeOf(editor, query));
        lastFieldDialog = nullptr;
        EditNodeData(*editor);
        return lastFieldDialog;
    }
    frmXMLDataEdit* add(frmXMLEditor* editor, const QString& query)
    {
        editor->TreeView->selectNode(nodeOf(editor, query));
        lastFieldDialog = nullptr;
        AddSPLR4Node(*editor, *editor->TreeView);
        return lastFieldDialog;
    }
    static void setText(const FieldRowDialog& dialog, const QString& name, const QString& text)
    {
        FieldRowDialog::setFieldText(dialog.row(name)->field, text);
    }
};

} // namespace

TEST_F(DataEditCommit, FirstRefusedValueStopsTheCommitWithTheRowsBeforeItWritten)
{
    frmXMLEditor* editor = openSettings(Labeler);
    QPointer<frmXMLDataEdit> dialog = edit(editor, QStringLiteral("//Labeler"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("SPLR4 - Labeler"));
    EXPECT_EQ(dialog->FrameData->title(), QStringLiteral("SPLR4 - Labeler"));
    EXPECT_EQ(dialog->lblInfo->text(), QStringLiteral("Labeler"));
    ASSERT_EQ(dialog->rows().size(), 5u);
    for (int i = 1; i <= 5; ++i)
        setText(*dialog, dialog->rows()[i - 1].name, QStringLiteral("New%1").arg(i));
    setText(*dialog, QStringLiteral("City"), QStringLiteral("Springfield"));

    dialog->cmdOK->click();

    EXPECT_EQ(texts(editor, QStringLiteral("//Labeler/*")),
              QStringList({QStringLiteral("New1"), QStringLiteral("New2"), QStringLiteral("Old3"), QStringLiteral("Old4"),
                           QStringLiteral("Old5")}));
    EXPECT_EQ(nodeCaption(nodeOf(editor, QStringLiteral("//LabelerCode"))), QStringLiteral("Labeler Code: New2"));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("'City' must have a maximum length of 5 (e.g. Rome)"));
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Warning);
    auto* city = fieldOf<QLineEdit>(*dialog, QStringLiteral("City"));
    EXPECT_EQ(dialog->focusWidget(), city);
    EXPECT_EQ(city->selectedText(), QStringLiteral("Springfield"));
    EXPECT_FALSE(editor->Saved);
    flushDeletes();
    ASSERT_TRUE(dialog && dialog->isVisible());

    // Corrected, the next OK writes every row and closes the dialog.
    setText(*dialog, QStringLiteral("City"), QStringLiteral("Rome"));
    dialog->cmdOK->click();
    flushDeletes();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(texts(editor, QStringLiteral("//Labeler/*")),
              QStringList({QStringLiteral("New1"), QStringLiteral("New2"), QStringLiteral("Rome"), QStringLiteral("New4"),
                           QStringLiteral("New5")}));
}

TEST_F(DataEditCommit, ChoiceListsStoreTheirCodeKeepTheirPartnerInStepAndAcceptOtherValues)
{
    frmXMLEditor* editor = openSettings(Product);
    QPointer<frmXMLDataEdit> dialog = edit(editor, QStringLiteral("//Product"));
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->rows().size(), 3u);  // the ingredient group has no row
    auto* code = fieldOf<QComboBox>(*dialog, QStringLiteral("DosageFormCode"));
    auto* name = fieldOf<QComboBox>(*dialog, QStringLiteral("DosageFormDisplayName"));
    EXPECT_EQ(code->currentText(), QStringLiteral("C42998 {TABLET}"));
    EXPECT_EQ(name->currentText(), QStringLiteral("TABLET {C42998}"));

    // The user's choice in one list selects the mirrored entry in the other, both ways.
    code->setCurrentIndex(1);
    emit code->activated(1);
    EXPECT_EQ(name->currentText(), QStringLiteral("CAPSULE {C25158}"));
    name->setCurrentIndex(0);
    emit name->activated(0);
    EXPECT_EQ(code->currentText(), QStringLiteral("C42998 {TABLET}"));
    name->setCurrentIndex(1);
    emit name->activated(1);
    EXPECT_EQ(code->currentText(), QStringLiteral("C25158 {CAPSULE}"));

    setText(*dialog, QStringLiteral("Route"), QStringLiteral("RECTAL"));
    dialog->cmdOK->click();
    flushDeletes();

    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(texts(editor, QStringLiteral("//Product/*[not(*)]")),
              QStringList({QStringLiteral("C25158"), QStringLiteral("CAPSULE"), QStringLiteral("RECTAL")}));
    EXPECT_EQ(messageTexts(), QStringList({QStringLiteral(
                                  "'Route' should be selected from the provided list, or from FDA provided values.")}));
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Information);
}

TEST_F(DataEditCommit, PartnerWithoutTheMirroredEntryKeepsItsSelection)
{
    QComboBox source;
    QComboBox target;
    source.addItems({QStringLiteral("C1 {One}"), QStringLiteral("plain")});
    target.addItems({QStringLiteral("Two {C2}"), QStringLiteral("One {C1}")});
    target.setCurrentIndex(0);
    source.setCurrentIndex(1);
    frmXMLDataEdit::SetCodeAndDisplayName(&source, &target);
    EXPECT_EQ(target.currentIndex(), 0);
    source.setCurrentIndex(0);
    frmXMLDataEdit::SetCodeAndDisplayName(&source, &target);
    EXPECT_EQ(target.currentIndex(), 1);
}

TEST_F(DataEditCommit, CancelAndEscWriteNothing)
{
    frmXMLEditor* editor = openSettings(Labeler);
    ASSERT_TRUE(editor->Saved);
    QPointer<frmXMLDataEdit> dialog = edit(editor, QStringLiteral("//City"));
    ASSERT_EQ(dialog->rows().size(), 1u);
    setText(*dialog, QStringLiteral("City"), QStringLiteral("Rome"));
    dialog->cmdCancel->click();
    flushDeletes();
    EXPECT_TRUE(dialog.isNull());

    dialog = edit(editor, QStringLiteral("//City"));
    setText(*dialog, QStringLiteral("City"), QStringLiteral("Rome"));
    QTest::keyClick(dialog->row(QStringLiteral("City"))->field, Qt::Key_Escape);
    flushDeletes();
    EXPECT_TRUE(dialog.isNull());

    EXPECT_EQ(texts(editor, QStringLiteral("//City")), QStringList({QStringLiteral("Old3")}));
    EXPECT_TRUE(editor->Saved);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(DataEditCommit, EnterCommitsExceptInAMultiLineBox)
{
    frmXMLEditor* editor = openSettings(QStringLiteral(
        "<SPLR4><Section><SectionTitle>Old</SectionTitle><LabelText AllowMultiLineText='1'>a</LabelText>"
        "<SectionCode ConstraintValues='34067-9;34068-7'>34067-9</SectionCode></Section></SPLR4>"));
    QPointer<frmXMLDataEdit> dialog = edit(editor, QStringLiteral("//Section"));
    ASSERT_EQ(dialog->rows().size(), 3u);

    QWidget* text = dialog->row(QStringLiteral("LabelText"))->field;
    QTest::keyClick(text, Qt::Key_End);
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClicks(text, QStringLiteral("b"));
    flushDeletes();
    ASSERT_FALSE(dialog.isNull());
    EXPECT_EQ(FieldRowDialog::fieldValue(*dialog->row(QStringLiteral("LabelText"))), QStringLiteral("a\r\nb"));

    auto* list = fieldOf<QComboBox>(*dialog, QStringLiteral("SectionCode"));
    QTest::keyClick(list->lineEdit(), Qt::Key_Return);
    flushDeletes();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(texts(editor, QStringLiteral("//LabelText")), QStringList({QStringLiteral("a\nb")}));

    dialog = edit(editor, QStringLiteral("//SectionTitle"));
    setText(*dialog, QStringLiteral("SectionTitle"), QStringLiteral("New"));
    QTest::keyClick(dialog->row(QStringLiteral("SectionTitle"))->field, Qt::Key_Enter);
    flushDeletes();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(texts(editor, QStringLiteral("//SectionTitle")), QStringList({QStringLiteral("New")}));
}

TEST_F(DataEditCommit, MultiLineValuesKeepTheirLineBreaksOverRepeatedEdits)
{
    frmXMLEditor* editor = openSettings(QStringLiteral(
        "<SPLR4><Section><LabelText AllowMultiLineText='1'>one&#13;&#10;two&#13;three</LabelText></Section></SPLR4>"));
    for (int round = 0; round < 2; ++round) {
        QPointer<frmXMLDataEdit> dialog = edit(editor, QStringLiteral("//LabelText"));
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->txtMultiLineText[1]->document()->blockCount(), 3);
        dialog->cmdOK->click();
        flushDeletes();
        EXPECT_TRUE(dialog.isNull());
        EXPECT_EQ(texts(editor, QStringLiteral("//LabelText")), QStringList({QStringLiteral("one\ntwo\nthree")}));
    }
}

TEST_F(DataEditCommit, DroppedTextReplacesTheIngredientBoxesText)
{
    frmXMLEditor* editor = openSettings(Product);
    frmXMLDataEdit* dialog = edit(editor, QStringLiteral("//Ingredient"));
    ASSERT_NE(dialog, nullptr);
    QWidget* name = dialog->row(QStringLiteral("IngredientName"))->field;
    ASSERT_NE(qobject_cast<DropTextBox*>(name), nullptr);
    ASSERT_NE(qobject_cast<DropTextBox*>(dialog->row(QStringLiteral("IngredientUNIICode"))->field), nullptr);

    QMimeData data;
    data.setText(QStringLiteral("  ACETYLSALICYLIC ACID\t "));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(name, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(name, &drop);
    EXPECT_EQ(fieldOf<QLineEdit>(*dialog, QStringLiteral("IngredientName"))->text(), QStringLiteral("ACETYLSALICYLIC ACID\t"));

    // Other text boxes are ordinary ones.
    frmXMLDataEdit* other = edit(openSettings(Labeler, QStringLiteral("Other.xml")), QStringLiteral("//City"));
    EXPECT_EQ(qobject_cast<DropTextBox*>(other->row(QStringLiteral("City"))->field), nullptr);
}

TEST_F(DataEditCommit, ClosedEditorOrVanishedNodeGetsAWarningAndNothingChanges)
{
    frmXMLEditor* editor = openSettings(Labeler);
    QPointer<frmXMLDataEdit> dialog = edit(editor, QStringLiteral("//City"));
    // The node goes: removed from the document, the tree rebuilt.
    const xml::Node city = editor->XMLDoc->selectSingleNode(QStringLiteral("//City"));
    city.parentNode().removeChild(city);
    editor->RefreshXML(false);
    editor->Saved = true;
    dialog->cmdOK->click();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Warning);
    EXPECT_TRUE(editor->Saved);
    EXPECT_FALSE(dialog.isNull());

    dialog = edit(editor, QStringLiteral("//State"));
    setText(*dialog, QStringLiteral("State"), QStringLiteral("NY"));
    delete editor;
    dialog->cmdOK->click();
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages[1].text, ui.messages[0].text);
}

TEST_F(DataEditCommit, ErrorAfterWrittenRowsIsShownAndMarksTheEditorChanged)
{
    frmXMLEditor* editor = openSettings(Labeler);
    QPointer<frmXMLDataEdit> dialog = edit(editor, QStringLiteral("//Labeler"));
    // The third row's element leaves the document behind the tree's back.
    const xml::Node city = editor->XMLDoc->selectSingleNode(QStringLiteral("//City"));
    city.parentNode().removeChild(city);
    ASSERT_TRUE(editor->Saved);
    setText(*dialog, QStringLiteral("LabelerName"), QStringLiteral("New1"));

    dialog->cmdOK->click();

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral(" - SetValueToTreeViewXML ")))
        << ui.messages[0].text.toStdString();
    EXPECT_EQ(texts(editor, QStringLiteral("//LabelerName")), QStringList({QStringLiteral("New1")}));
    EXPECT_FALSE(editor->Saved);
    flushDeletes();
    EXPECT_FALSE(dialog.isNull());
}

TEST_F(DataEditCommit, AddDialogOffersTheMissingKindsAndAddsTheChosenOne)
{
    useSmallDefinition();
    frmXMLEditor* editor = openSettings(QStringLiteral("<SPLR4><GeneralData><DocumentID>d</DocumentID></GeneralData>"
                                                       "<Labeler><LabelerName>Acme</LabelerName></Labeler></SPLR4>"));
    editor->Saved = true;
    QPointer<frmXMLDataEdit> dialog = add(editor, QStringLiteral("//Labeler"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Mode, QStringLiteral("AddNode"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Add Information to Labeler"));
    EXPECT_EQ(dialog->FrameData->title(), QStringLiteral("Add Information to Labeler"));
    EXPECT_EQ(dialog->lblInfo->text(), QStringLiteral("Labeler"));
    auto* list = fieldOf<QComboBox>(*dialog, QStringLiteral("Labeler"));
    ASSERT_NE(list, nullptr);
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->itemText(i);
    EXPECT_EQ(entries, QStringList({QStringLiteral("Labeler DUNS Number"), QStringLiteral("Labeler Code"),
                                    QStringLiteral("[+] Contact Party")}));
    EXPECT_EQ(list->currentIndex(), 0);

    // Nothing chosen: the add operation's warning, the list selected, nothing added.
    list->setCurrentIndex(-1);
    list->setEditText(QStringLiteral(" [+] "));
    dialog->cmdOK->click();
    EXPECT_EQ(messageTexts(), QStringList({QStringLiteral("Please select the data you want to add to 'Labeler'.")}));
    EXPECT_EQ(dialog->focusWidget(), list);
    EXPECT_TRUE(texts(editor, QStringLiteral("//ContactParty")).isEmpty());

    list->setCurrentIndex(2);
    dialog->cmdOK->click();
    flushDeletes();
    EXPECT_TRUE(dialog.isNull());
    const xml::Node party = editor->XMLDoc->selectSingleNode(QStringLiteral("//Labeler/ContactParty"));
    ASSERT_FALSE(party.isNull());
    EXPECT_EQ(party.previousSibling().nodeName(), QStringLiteral("LabelerName"));
    EXPECT_FALSE(party.getAttribute(QStringLiteral("Word2SPLID")).isEmpty());
    EXPECT_EQ(party.selectNodes(QStringLiteral("*")).length(), 2);
    EXPECT_NE(nodeOf(editor, QStringLiteral("//ContactParty/City")), nullptr);
    EXPECT_FALSE(editor->Saved);
}

TEST_F(DataEditCommit, AddDialogWithASingleKindShowsItChosen)
{
    useSmallDefinition();
    frmXMLEditor* editor = openSettings(QStringLiteral(
        "<SPLR4><Registrant><RegistrantName>R</RegistrantName><ContactParty><City>c</City></ContactParty>"
        "</Registrant></SPLR4>"));
    frmXMLDataEdit* dialog = add(editor, QStringLiteral("//Registrant"));
    ASSERT_NE(dialog, nullptr);
    auto* list = fieldOf<QComboBox>(*dialog, QStringLiteral("Registrant"));
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->currentText(), QStringLiteral("[+] Establishment"));
}
