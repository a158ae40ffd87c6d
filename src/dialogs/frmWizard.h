#pragma once

#include "dialogs/FieldRowDialog.h"
#include "platform/xml/tree/Document.h"

namespace veldra {

// The dialog of one wizard: rows built from the fields of the wizard's UI, and Apply, which
// writes every field's value into the nodes that the wizard's Instructions select in the
// editor's settings document, refreshes the editor's tree and leaves the dialog open for
// another Apply. The dialog stays bound to the editor that was current when it was opened.
class frmWizard : public FieldRowDialog {
    Q_OBJECT
public:
    explicit frmWizard(QWidget* parent = nullptr);

    QString WizardName;
    // The wizard definitions as loaded when the wizard was opened; Apply reads its
    // Instructions from here.
    xml::Document XMLDoc;

    // Apply. Fields go in row order, targets and the nodes they select in document order, so
    // a later field overwrites an earlier one's value in a node both select. When the editor
    // or its document is gone, or a Target is no valid path, a message says so and the
    // dialog closes; values written before stay. A value that a target's definition refuses
    // (a version number that is no number, a date too short) is refused before anything is
    // written: a message says why and the field gets the focus.
    void OK() override;

private:
    // Shows the first refusal of a field's value by one of the nodes it would be copied into
    // and selects that field; false when every value may be written.
    bool refusesAField(const xml::Document& settings);
    // Writes every field. `changed` tells whether the document changed, also when a later
    // target fails.
    void applyFields(xml::Document& settings, bool& changed);
};

} // namespace veldra
