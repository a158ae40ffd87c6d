#pragma once

#include "dialogs/FieldRowDialog.h"
#include "dialogs/frmXMLDataEdit.h"
#include "editor/window/frmXMLEditor.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QPointer>
#include <QStringList>
#include <gtest/gtest.h>

class QTreeWidgetItem;

namespace veldra::test {

// Editor windows over small settings documents, in a copy of the program folder, with every
// dialog scripted and the editor's field dialog launcher installed.
class DialogFixture : public ::testing::Test {
protected:
    DialogFixture();
    ~DialogFixture() override;

    // An editor window (mode "SPLR4") holding `xmlText`, opened from a file of that name.
    frmXMLEditor* openSettings(const QString& xmlText, const QString& fileName = QStringLiteral("Settings.xml"));
    // An editor window holding a new document made from the shipped definition.
    frmXMLEditor* newSettings();

    // The tree node of the first element that `query` selects in the editor's document.
    static QTreeWidgetItem* nodeOf(const frmXMLEditor* editor, const QString& query);
    // The texts of the nodes `query` selects in the editor's document.
    static QStringList texts(const frmXMLEditor* editor, const QString& query);
    // The message texts asked so far.
    QStringList messageTexts() const;

    ScriptedUi ui;
    ProgramFolderCopy program;
    TempDir dir;
    // The field dialog the editor opened last (null once it closed).
    QPointer<frmXMLDataEdit> lastFieldDialog;

private:
    QList<QPointer<QWidget>> windows_;
};

// Lets windows that closed themselves go (they are deleted once control returns to the loop).
void flushDeletes();

// The open windows of that kind.
template <class Window>
QList<Window*> openWindows()
{
    QList<Window*> found;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<Window*>(widget); window && window->isVisible())
            found << window;
    return found;
}

// Every open generated dialog is closed and deleted.
void closeAllDialogs();

// The row's field, of the type it is expected to be.
template <class Field>
Field* fieldOf(const FieldRowDialog& dialog, const QString& name)
{
    const FieldRow* row = dialog.row(name);
    return row ? qobject_cast<Field*>(row->field) : nullptr;
}

} // namespace veldra::test
