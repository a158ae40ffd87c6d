#pragma once

#include <QString>

namespace veldra {

class frmWizard;
class frmXMLEditor;

// The Wizards menu and the wizard runner.

// Adds one item to the main window's Wizards menu per enabled wizard of Wizards.xml, in
// document order. A missing or unreadable file leaves the menu without items (it is then
// disabled); nothing is reported.
void LoadWizardMenu();

// Opens the dialog of the named wizard over the main window's current settings editor, not
// modal. Does nothing without a current editor, for an unknown name, for a wizard without UI
// and for one whose UI gives no row.
void RunWizard(const QString& WizardName);

// The dialog of the named wizard, bound to `editor`, with its rows built from a fresh read
// of Wizards.xml, each showing what the editor's document holds where Apply writes it
// (wizardHeldValue), else its default; not yet shown. nullptr where RunWizard does nothing.
frmWizard* CreateWizard(const QString& WizardName, frmXMLEditor& editor);

// Puts the wizard's picture ("Images/Wizard" + its name without blanks + ".jpg", else the
// logo) at the right end of the header and shows the dialog, not modal.
void ShowWizard(frmWizard* Wizard);

} // namespace veldra
