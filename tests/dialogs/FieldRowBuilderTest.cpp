#include "DialogTestSupport.h"

#include "app/window/Twips.h"
#include "dialogs/frmWizard.h"
#include "dialogs/frmXMLDataEdit.h"
#include "platform/core/AppPaths.h"
#include "platform/xml/tree/Document.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace veldra;
using test::fieldOf;

namespace {

// The elements of a small document, by name.
class Elements {
public:
    explicit Elements(const QString& body)
    {
        EXPECT_TRUE(doc_.loadXml(QStringLiteral("<Rows>") + body + QStringLiteral("</Rows>")));
    }
    xml::Node operator[](const QString& name) const { return doc_.selectSingleNode(QStringLiteral("//") + name); }
    std::vector<xml::Node> all() const
    {
        std::vector<xml::Node> nodes;
        for (const xml::Node& n : doc_.documentElement().childNodes())
            nodes.push_back(n);
        return nodes;
    }

private:
    xml::Document doc_;
};

void addRows(FieldRowDialog& dialog, const Elements& elements)
{
    int row = 0;
    for (const xml::Node& element : elements.all())
        dialog.AddControl(element, ++row);
}

QStringList entriesOf(const QComboBox* list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->itemText(i);
    return entries;
}

QStringList buttonNames(const FieldRowDialog& dialog)
{
    QStringList names;
    for (const QToolButton* button : dialog.FrameData->findChildren<QToolButton*>())
        names << button->objectName();
    return names;
}

// The next widget that Tab reaches.
QWidget* nextTabStop(QWidget* widget)
{
    QWidget* next = widget->nextInFocusChain();
    while (next != widget && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    return next;
}

QRect px(int left, int top, int width, int height)
{
    return twips::toPixels(left, top, width, height);
}

} // namespace

TEST(FieldRowBuilder, OneTextRowTakesItsPlaceAndGrowsTheWindow)
{
    Elements rows(QStringLiteral("<ProprietaryName ConstraintExample='Brand name, e.g. Lipitor'>Lipitor</ProprietaryName>"));
    frmXMLDataEdit dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("XML Data Edit"));
    EXPECT_EQ(dialog.cmdOK->text(), QStringLiteral("&OK"));
    EXPECT_EQ(dialog.cmdCancel->text(), QStringLiteral("&Cancel"));
    EXPECT_EQ(dialog.lblInfo->text(), QStringLiteral("Info"));
    addRows(dialog, rows);

    const FieldRow* row = dialog.row(QStringLiteral("ProprietaryName"));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->kind, FieldKind::TextBox);
    EXPECT_EQ(row->labelTop, 600);
    EXPECT_EQ(row->fieldTop, 825);
    EXPECT_EQ(row->fieldTop + row->fieldHeight, 1110);
    EXPECT_EQ(dialog.frameHeightTwips(), 1710);
    EXPECT_EQ(dialog.windowHeightTwips(), 3910);
    EXPECT_EQ(dialog.cmdOK->y(), twips::toPixels(3035));
    EXPECT_EQ(dialog.cmdCancel->y(), twips::toPixels(3035));
    EXPECT_EQ(dialog.FrameData->height(), twips::toPixels(1710));

    auto* label = dialog.FrameData->findChild<QLabel*>(QStringLiteral("lblProprietaryName"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Proprietary Name"));
    EXPECT_EQ(label->geometry(), px(240, 600, 5055, 255));
    auto* box = fieldOf<QLineEdit>(dialog, QStringLiteral("ProprietaryName"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->objectName(), QStringLiteral("ProprietaryName"));
    EXPECT_EQ(box->geometry(), px(550, 825, 4785, 285));
    EXPECT_EQ(box->text(), QStringLiteral("Lipitor"));
    EXPECT_EQ(box->selectedText(), QStringLiteral("Lipitor"));
    EXPECT_EQ(box->toolTip(), QStringLiteral("Brand name, e.g. Lipitor"));
    EXPECT_NE(dialog.FrameData->findChild<QLabel*>(QStringLiteral("pic_ProprietaryName")), nullptr);
    EXPECT_TRUE(buttonNames(dialog).isEmpty());
}

TEST(FieldRowBuilder, MultiLineRowTakesThreeRowsAndShowsEveryLineBreakOnce)
{
    Elements rows(QStringLiteral("<SectionTitle>1 INDICATIONS</SectionTitle>"
                                 "<LabelText AllowMultiLineText='1'>first&#13;&#10;second&#10;third</LabelText>"
                                 "<SectionID>id</SectionID>"));
    frmXMLDataEdit dialog;
    addRows(dialog, rows);

    ASSERT_EQ(dialog.rows().size(), 3u);
    EXPECT_EQ(dialog.rows()[0].labelTop, 600);
    EXPECT_EQ(dialog.rows()[1].labelTop, 1200);
    EXPECT_EQ(dialog.rows()[2].labelTop, 3000);
    const FieldRow& text = dialog.rows()[1];
    EXPECT_EQ(text.kind, FieldKind::MultiLine);
    EXPECT_EQ(text.fieldTop, 1425);
    EXPECT_EQ(text.fieldTop + text.fieldHeight, 2850);

    // Member 0 stays the hidden template; the row's box is member 1 and knows its element.
    ASSERT_EQ(dialog.txtMultiLineText.size(), 2);
    EXPECT_FALSE(dialog.txtMultiLineText[0]->isVisibleTo(&dialog));
    QPlainTextEdit* box = dialog.txtMultiLineText[1];
    EXPECT_EQ(box, text.field);
    EXPECT_EQ(box->objectName(), QStringLiteral("txtMultiLineText"));
    EXPECT_EQ(box->property("LinkItem").toString(), QStringLiteral("LabelText"));
    EXPECT_EQ(box->property("Index").toInt(), 1);
    EXPECT_EQ(box->document()->blockCount(), 3);
    EXPECT_EQ(FieldRowDialog::fieldValue(text), QStringLiteral("first\r\nsecond\r\nthird"));
    EXPECT_EQ(dialog.frameHeightTwips(), 3225 + 285 + 600);
}

TEST(FieldRowBuilder, ChoiceListsTakeTheirEntriesAndNeverAButton)
{
    Elements rows(QStringLiteral(
        "<Grade ConstraintValues='A;B &amp;amp; C; ;' AllowMultiLineText='1' ConstraintDataType='GUID'"
        " ConstraintFileType='All | *.*' ConstraintCodeSystem='NCI' ConstraintExample='a grade'>B &amp; C</Grade>"));
    frmXMLDataEdit dialog;
    addRows(dialog, rows);

    auto* list = fieldOf<QComboBox>(dialog, QStringLiteral("Grade"));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isEditable());
    EXPECT_EQ(entriesOf(list), QStringList({QStringLiteral("A"), QStringLiteral("B & C"), QStringLiteral(" "), QString()}));
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(list->toolTip(), QStringLiteral("a grade"));
    EXPECT_EQ(list->geometry().left(), twips::toPixels(550));
    EXPECT_EQ(list->geometry().width(), twips::toPixels(4785));
    EXPECT_TRUE(buttonNames(dialog).isEmpty());
    EXPECT_EQ(dialog.txtMultiLineText.size(), 1);
    const FieldRow& row = dialog.rows()[0];
    EXPECT_EQ(dialog.frameHeightTwips(), row.fieldTop + row.fieldHeight + 600);
}

TEST(FieldRowBuilder, ChoiceListShowsTheMatchingEntryInTheFieldDialogOnly)
{
    Elements rows(QStringLiteral("<Empty ConstraintValues='X0 {Zero};X1 {One}'/>"
                                 "<Code ConstraintValues='X0 {Zero};X1 {One}'>X1</Code>"
                                 "<Form ConstraintValues='Tablet, film coated;Tablet'>Tablet</Form>"
                                 "<Typed ConstraintValues='X0 {Zero};X1 {One}'>Z9</Typed>"));
    frmXMLDataEdit edit;
    addRows(edit, rows);
    EXPECT_EQ(fieldOf<QComboBox>(edit, QStringLiteral("Empty"))->currentIndex(), 0);
    EXPECT_EQ(fieldOf<QComboBox>(edit, QStringLiteral("Code"))->currentText(), QStringLiteral("X1 {One}"));
    EXPECT_EQ(fieldOf<QComboBox>(edit, QStringLiteral("Form"))->currentIndex(), 1);
    auto* typed = fieldOf<QComboBox>(edit, QStringLiteral("Typed"));
    EXPECT_EQ(typed->currentIndex(), -1);
    EXPECT_EQ(typed->currentText(), QStringLiteral("Z9"));

    // A wizard's list shows its default as typed, whatever the entries.
    frmWizard wizard;
    addRows(wizard, rows);
    auto* code = fieldOf<QComboBox>(wizard, QStringLiteral("Code"));
    EXPECT_EQ(code->currentIndex(), -1);
    EXPECT_EQ(code->currentText(), QStringLiteral("X1"));
    EXPECT_EQ(fieldOf<QComboBox>(wizard, QStringLiteral("Empty"))->currentText(), QString());
}

TEST(FieldRowBuilder, RowButtonsFollowTheDefinitionAttributes)
{
    Elements rows(QStringLiteral(
        "<DocumentID ConstraintDataType='GUID' ConstraintFileType=''/>"     // 1: id and file buttons, stacked
        "<Picture ConstraintFileType='Images | *.jpg'/>"                   // 2: no data type, no button
        "<ImageTargetFolder ConstraintDataType='Folder'/>"                 // 3: folder button
        "<IngredientName ConstraintCodeSystem='UNII'/>"                    // 4: search button
        "<SectionCode ConstraintCodeSystem='loinc'/>"                      // 5: unknown code system
        "<Notes AllowMultiLineText='1' ConstraintCodeSystem='LOINC'/>"     // 6: multi-line rows get them too
        "<Count ConstraintDataType='Numeric'/>"));                         // 7: a plain text box
    frmXMLDataEdit dialog;
    addRows(dialog, rows);

    EXPECT_EQ(buttonNames(dialog), QStringList({QStringLiteral("cmdCreateGUID1"), QStringLiteral("cmdBrowseFile1"),
                                                QStringLiteral("cmdBrowseFolder1"), QStringLiteral("cmdSearchUNIICode1"),
                                                QStringLiteral("cmdSearchLOINCCode1")}));
    auto* id = dialog.FrameData->findChild<QToolButton*>(QStringLiteral("cmdCreateGUID1"));
    auto* file = dialog.FrameData->findChild<QToolButton*>(QStringLiteral("cmdBrowseFile1"));
    EXPECT_EQ(id->geometry(), px(5050, 825, 285, 285));
    EXPECT_EQ(file->geometry(), id->geometry());
    EXPECT_EQ(id->text(), QStringLiteral("..."));
    EXPECT_EQ(dialog.FrameData->findChild<QToolButton*>(QStringLiteral("cmdSearchUNIICode1"))->text(), QStringLiteral("?"));
    EXPECT_EQ(id->focusPolicy(), Qt::ClickFocus);

    EXPECT_EQ(dialog.row(QStringLiteral("DocumentID"))->fieldWidth, 4500);
    EXPECT_EQ(dialog.row(QStringLiteral("DocumentID"))->field->width(), twips::toPixels(4500));
    EXPECT_EQ(dialog.row(QStringLiteral("Picture"))->fieldWidth, 4785);
    EXPECT_EQ(dialog.row(QStringLiteral("SectionCode"))->fieldWidth, 4785);
    EXPECT_EQ(dialog.row(QStringLiteral("Notes"))->fieldWidth, 4500);
    EXPECT_EQ(dialog.row(QStringLiteral("Count"))->kind, FieldKind::TextBox);

    // Each row's button finds that row's field.
    for (QToolButton* button : dialog.FrameData->findChildren<QToolButton*>()) {
        QWidget* field = dialog.GetControlFromCommandPosition(button);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->y(), button->y());
    }
}

TEST(FieldRowBuilder, TenButtonsOfAKindAtMost)
{
    QString body;
    for (int i = 1; i <= 11; ++i)
        body += QStringLiteral("<Id%1 ConstraintDataType='GUID'/>").arg(i);
    body += QStringLiteral("<Route ConstraintCodeSystem='NCI'/>");
    Elements rows(body);
    frmWizard dialog;
    addRows(dialog, rows);

    EXPECT_NE(dialog.FrameData->findChild<QToolButton*>(QStringLiteral("cmdCreateGUID10")), nullptr);
    EXPECT_EQ(dialog.FrameData->findChild<QToolButton*>(QStringLiteral("cmdCreateGUID11")), nullptr);
    EXPECT_EQ(dialog.row(QStringLiteral("Id11"))->fieldWidth, 4785);
    EXPECT_NE(dialog.FrameData->findChild<QToolButton*>(QStringLiteral("cmdSearchNCICode1")), nullptr);
    EXPECT_EQ(dialog.row(QStringLiteral("Route"))->labelTop, 600 * 12);
}

TEST(FieldRowBuilder, SecondRowOfANameIsLeftOutAndTabOrderFollowsTheRows)
{
    Elements rows(QStringLiteral("<City>A</City><City>B</City><State>S</State>"));
    frmXMLDataEdit dialog;
    addRows(dialog, rows);

    ASSERT_EQ(dialog.rows().size(), 2u);
    EXPECT_EQ(fieldOf<QLineEdit>(dialog, QStringLiteral("City"))->text(), QStringLiteral("A"));
    EXPECT_EQ(dialog.row(QStringLiteral("State"))->labelTop, 1800);
    EXPECT_EQ(dialog.FrameData->findChildren<QLabel*>(QStringLiteral("lblCity")).size(), 1);

    EXPECT_EQ(nextTabStop(dialog.rows()[0].field), dialog.rows()[1].field);
    EXPECT_EQ(nextTabStop(dialog.rows()[1].field), dialog.cmdOK);
    EXPECT_EQ(nextTabStop(dialog.cmdOK), dialog.cmdCancel);
}

class FieldRowIcons : public test::DialogFixture {};

TEST_F(FieldRowIcons, IconsComeFromTheEditorsPicturesWithTheGeneralPictureAsFallback)
{
    frmXMLEditor* editor = openSettings(QStringLiteral("<SPLR4><GeneralData><DocumentID>d</DocumentID></GeneralData></SPLR4>"));
    Elements rows(QStringLiteral("<DocumentID/><SomethingNew/>"));
    frmXMLDataEdit dialog;
    dialog.SourceForm = editor;
    addRows(dialog, rows);

    const QImage own(app_paths::inProgram(QStringLiteral("Images/documentid.png")));
    const QImage general(app_paths::inProgram(QStringLiteral("Images/generalpropertyimage.png")));
    ASSERT_FALSE(own.isNull());
    ASSERT_NE(own, general);
    const QLabel* documentId = dialog.rows()[0].icon;
    EXPECT_EQ(documentId->pixmap().toImage().convertToFormat(own.format()), own);
    EXPECT_EQ(documentId->geometry(), QRect(twips::toPixels(240), twips::toPixels(825), own.width(), own.height()));
    EXPECT_EQ(dialog.rows()[1].icon->pixmap().toImage().convertToFormat(general.format()), general);

    // Without an editor the row simply has no picture.
    frmXMLDataEdit alone;
    addRows(alone, rows);
    EXPECT_TRUE(alone.rows()[0].icon->pixmap().isNull());
}

TEST(FieldRowBuilder, OnlyTheFocusedFieldShowsItsSelectedText)
{
    Elements rows(QStringLiteral("<First>one</First><Second>two</Second><Third ConstraintValues='a;b'>a</Third>"));
    frmXMLDataEdit dialog;
    addRows(dialog, rows);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto* first = fieldOf<QLineEdit>(dialog, QStringLiteral("First"));
    auto* second = fieldOf<QLineEdit>(dialog, QStringLiteral("Second"));
    auto* third = fieldOf<QComboBox>(dialog, QStringLiteral("Third"));
    const auto selectionShown = [](const QLineEdit* box) {
        return box->palette().color(QPalette::Highlight) != box->palette().color(QPalette::Base);
    };

    EXPECT_TRUE(selectionShown(first));  // the window opens in its first field
    EXPECT_FALSE(selectionShown(second));
    EXPECT_EQ(second->selectedText(), QStringLiteral("two"));  // kept, only not shown
    second->setFocus();
    EXPECT_TRUE(selectionShown(second));
    EXPECT_FALSE(selectionShown(first));
    third->setFocus();
    EXPECT_TRUE(selectionShown(third->lineEdit()));
    EXPECT_FALSE(selectionShown(second));
}
