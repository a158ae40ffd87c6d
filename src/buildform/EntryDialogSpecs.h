#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The six entry dialogs of the build form's lists, as data: which field fills which cell of
// a list row, how the fields are grouped and labelled, and where the "?" buttons stand.
namespace veldra::buildform {

enum class EntryFieldKind { TextBox, CodeSystemCombo, RoleCombo };

struct EntryFieldSpec {
    QString name;
    EntryFieldKind kind;
    QString label;
    int cell;
    int row;                   // fields of one row stand side by side
    QString searchButton = {}; // a "?" button right after this field
};

struct EntryDialogSpec {
    QString name;           // "frmIndication", …
    QString caption;        // window caption and header text
    QString frameCaption;   // caption of the group box around the fields
    QString cancelCaption;  // "&Close", or "Close" for the product dialogs
    QStringList rowInstructions;  // a label over each row, empty for none
    std::vector<EntryFieldSpec> fields;  // in tab order
    int cellCount;
};

const EntryDialogSpec& indicationDialog();
const EntryDialogSpec& contraIndicationDialog();
const EntryDialogSpec& drugInteractionDialog();
const EntryDialogSpec& adverseReactionDialog();
const EntryDialogSpec& packagingDialog();
const EntryDialogSpec& ingredientDialog();

// The code systems the combos offer, in their fixed order.
const QStringList& codeSystemNames();
// The roles an ingredient takes, and the one a new ingredient starts with.
const QStringList& ingredientRoles();
inline const QString defaultIngredientRole = QStringLiteral("Inactive");

inline const QString ActionAdd = QStringLiteral("ActionAdd");
inline const QString ActionEdit = QStringLiteral("ActionEdit");

} // namespace veldra::buildform
