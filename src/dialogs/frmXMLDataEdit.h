#pragma once

#include "dialogs/FieldRowDialog.h"

class QComboBox;
class QTreeWidgetItem;

namespace veldra {

// The field dialog of the settings editor. In edit mode its rows are the values of one
// element, and OK writes them back through the editor's value check, row by row; the first
// refused value stops OK with that field selected. In add mode (Mode "AddNode") its one row
// is a choice of the child elements that may still be added, and OK adds the chosen one.
//
// Besides the rows both generated dialogs have, a choice list shows the entry that matches
// its value, the code and name lists of a pair keep each other in step, and the ingredient
// and moiety name and UNII boxes take dropped text.
class frmXMLDataEdit : public FieldRowDialog {
    Q_OBJECT
public:
    explicit frmXMLDataEdit(QWidget* parent = nullptr);

    // "AddNode" for the add dialog; empty to edit values.
    QString Mode;

    // The tree node being edited or extended. The editor rebuilds its tree items, so the
    // dialog keeps the node's key and finds the node again when it needs it: nullptr once
    // the editor window was closed or the node is gone.
    void setTargetTreeViewNode(QTreeWidgetItem* node);
    QTreeWidgetItem* TargetTreeViewNode() const;

    void OK() override;

    // Selects in TargetComboBox the entry that mirrors SourceComboBox's text ("A {B}" selects
    // "B {A}"); the partner stays as it is when it has no such entry.
    static void SetCodeAndDisplayName(QComboBox* SourceComboBox, QComboBox* TargetComboBox);

protected:
    void showChoiceValue(QComboBox* list, const QString& value) override;
    void attachChoiceList(QComboBox* list, const QString& name) override;
    QLineEdit* newTextBox(const QString& name) override;

private:
    // Writes the rows; false when a value was refused (that field is then selected).
    // `written` tells whether any row reached the document.
    bool writeRows(const QString& XPath, bool& written);

    QString targetKey_;
};

} // namespace veldra
