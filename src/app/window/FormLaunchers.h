#pragma once

#include <QString>
#include <QStringList>

namespace veldra {

// Procedures that open the program's secondary windows in a fixed way.

// Asks for an XML file and shows it, read-only, in a new review window (an editor
// window in mode "View"). Cancel opens nothing.
void LoadXMLFileForReview();

// Shows the build-from-Word form, with the logo and its condition-of-use
// code-system lists refilled (the texts typed there are kept).
void ShowBuildSPLForm();

// Shows the About box modally.
void ShowAboutBox();

// Opens the cross-check window, or brings the open one to the front.
void ShowSPLCrossCheckForm();

// The code systems offered by the build form's condition-of-use lists, in order.
QStringList conditionOfUseCodeSystems();

} // namespace veldra
