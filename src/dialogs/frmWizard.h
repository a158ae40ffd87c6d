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
    // dialog closes; values written before stay.
    void OK() override;

private:
    // Writes every field. `changed` tells whether the document changed, also when a later
    // target fails.
    void applyFields(xml::Document& settings, bool& changed);
};

} // namespace veldra
