#pragma once

#include "buildform/EntryDialogSpecs.h"

#include <QDialog>
#include <QHash>
#include <QPersistentModelIndex>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace veldra::buildform {

class RowList;

// One entry dialog of a structured-data list, laid out from its table: a modeless window that
// shows one row as labelled fields and writes them back as one row of `Target`. In Add mode
// each OK appends a row and the dialog stays open; in Edit mode OK writes the row the dialog
// was opened on (wherever the selection has gone meanwhile) and closes the dialog. Closing it
// any way writes nothing and destroys the window with what it held.
class EntryDialog : public QDialog {
    Q_OBJECT
public:
    explicit EntryDialog(const EntryDialogSpec& spec);

    const EntryDialogSpec& spec() const { return spec_; }

    RowList* Target = nullptr;
    QString Action;

    QLabel* picLogo = nullptr;
    QLabel* lblInfo = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    QWidget* field(const QString& name) const { return fields_.value(name); }
    QString fieldText(const EntryFieldSpec& field) const;
    void setFieldText(const EntryFieldSpec& field, const QString& text);

    // Readies the dialog for `action` on `list`: the combos refilled, in Edit mode the fields
    // taken from `editedRow` (1-based) and the dialog bound to that row.
    void prepare(RowList& list, const QString& action, int editedRow);

    void OK();
    void cmdOK_Click() { OK(); }
    void cmdCancel_Click();

protected:
    void reject() override;

private:
    void createControls();
    QWidget* createField(const EntryFieldSpec& field);
    void refillCombos();
    void pressSearch(const QString& button);

    const EntryDialogSpec& spec_;
    QHash<QString, QWidget*> fields_;
    QPersistentModelIndex editedRow_;
};

// The openers the build form's list commands call, each with its list and "ActionAdd" or
// "ActionEdit". Each dialog exists once; an opener reuses the open one. Edit with no row
// selected in the list opens nothing.
void ShowIndicationDialog(RowList& list, const QString& action);
void ShowContraIndicationDialog(RowList& list, const QString& action);
void ShowDrugInteractionDialog(RowList& list, const QString& action);
void ShowAdverseReactionDialog(RowList& list, const QString& action);
void ShowPackagingDialog(RowList& list, const QString& action);
void ShowIngredientDialog(RowList& list, const QString& action);

// Closes, without writing, every entry dialog that writes into `list`: for a list that goes away.
void closeEntryDialogsOn(const RowList& list);

// The open dialog of that name ("frmIndication", …), or nullptr.
EntryDialog* shownEntryDialog(const QString& name);

} // namespace veldra::buildform
