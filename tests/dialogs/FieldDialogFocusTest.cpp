#include "DialogTestSupport.h"

#include "dialogs/frmWizard.h"
#include "dialogs/modWizard.h"
#include "editor/tree/TreeView.h"
#include "platform/xml/tree/Document.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

using namespace veldra;
using test::flushDeletes;

namespace {

class FieldDialogFocus : public test::DialogFixture {
protected:
    // Makes the dialog the active window, as a user's click or the window system would.
    static QWidget* activeFocus(QWidget* dialog)
    {
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        return QApplication::focusWidget();
    }
};

// What the user types into a dialog as it opens replaces the first value: a single-line value
// is stored with Enter, a multi-line one with OK.
TEST_F(FieldDialogFocus, TypingIntoAnOpenedDialogReplacesTheFirstValue)
{
    frmXMLEditor* editor = newSettings();
    ASSERT_NE(editor->XMLDoc, nullptr);
    struct Case {
        const char* query;
        const char* typed;
        bool multiLine;
    };
    for (const Case& c : {Case{"SPLR4/GeneralData/VersionNumber", "7", false},
                          Case{"SPLR4/GeneralData/Title", "Cough Syrup", true}}) {
        SCOPED_TRACE(c.query);
        editor->TreeView->selectNode(nodeOf(editor, QLatin1String(c.query)));
        lastFieldDialog = nullptr;
        editor->DataEdit();
        QPointer<frmXMLDataEdit> dialog = lastFieldDialog;
        ASSERT_FALSE(dialog.isNull());
        QWidget* focus = activeFocus(dialog);
        ASSERT_NE(focus, nullptr);
        EXPECT_TRUE(focus == dialog->rows().front().field || dialog->rows().front().field->isAncestorOf(focus));

        QTest::keyClicks(focus, QLatin1String(c.typed));
        if (c.multiLine)
            dialog->cmdOK->click();
        else
            QTest::keyClick(focus, Qt::Key_Return);
        flushDeletes();
        EXPECT_TRUE(dialog.isNull()) << messageTexts().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(texts(editor, QLatin1String(c.query)), QStringList{QLatin1String(c.typed)});
    }
}

// A wizard opens the same way: the focus in its first field, whose text the typing replaces.
TEST_F(FieldDialogFocus, AWizardOpensOnItsFirstField)
{
    frmXMLEditor* editor = newSettings();
    QPointer<frmWizard> wizard = CreateWizard(QStringLiteral("New Document Version"), *editor);
    ASSERT_FALSE(wizard.isNull());
    ShowWizard(wizard);
    QWidget* focus = activeFocus(wizard);
    ASSERT_NE(focus, nullptr);
    const FieldRow& first = wizard->rows().front();
    EXPECT_EQ(focus, first.field);
    QTest::keyClicks(focus, QStringLiteral("x"));
    EXPECT_EQ(FieldRowDialog::fieldText(first.field), QStringLiteral("x"));
}

} // namespace
