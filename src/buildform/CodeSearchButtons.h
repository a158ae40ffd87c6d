#pragma once

#include <QString>
#include <vector>

// The "?" buttons of the build form and its entry dialogs: each copies one name box into the
// main window's search panel, picks the panel's code system and presses its Search button.
namespace veldra::buildform {

struct CodeSearchButton {
    QString form;         // "frmBuildSPL", "frmIndication", …
    QString button;
    QString searchedBox;  // always a name, display-name or unit box, never a code box
    QString systemCombo;  // the group's code-system combo whose text is mapped, or empty
    QString fixedSystem;  // the panel entry when there is no combo
};

// All 21, form by form.
const std::vector<CodeSearchButton>& codeSearchButtons();
const CodeSearchButton* findCodeSearchButton(const QString& form, const QString& button);

// The panel's code system for a press: the fixed entry, or the one the combo's text maps to.
QString searchSystemFor(const CodeSearchButton& button, const QString& comboText);

} // namespace veldra::buildform
