#pragma once

#include "buildform/FormState.h"
#include "platform/xml/tree/Document.h"

#include <QDateTime>
#include <QString>

// The settings snapshot file of the build form: one entry per text box, check box, combo and
// list (TextBox, CheckBox, ComboBox, ListView under File/Data, each with TargetForm, Name and
// Value or Rows), made from the template "LabelDefinitions/WORD_2_SPL_SETUP_TEMPLATE.xml".
namespace veldra::buildform {

// The form's state as a snapshot document made from `templateDocument` (which is changed),
// with FileName `path` and DateTime `moment` in the system's short date and long time.
// Characters that XML cannot hold are left out of the values. Throws VbError when the
// template lacks one of its four entries.
xml::Document writeSnapshot(xml::Document templateDocument, const FormState& state, const QString& path,
                            const QDateTime& moment);

// The state a snapshot restores: every control of the form, cleared and then filled from the
// entries of form "frmBuildSPL" that carry its name (for texts and check boxes the last such
// entry wins; for a list the first). Throws VbError, and restores nothing, when an entry of a
// form control is malformed: a check value other than 0, 1 or 2, a column Index that is not a
// number from 1 to the list's column count, or a sub-item column before the list has a row.
FormState readSnapshot(const xml::Document& snapshot);

// The date and time as the snapshot's DateTime shows them.
QString snapshotDateTime(const QDateTime& moment);

} // namespace veldra::buildform
