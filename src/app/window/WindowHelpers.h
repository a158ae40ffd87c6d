#pragma once

class QLabel;
class QMimeData;
class QWidget;

// Helpers that several windows share.
namespace veldra {

// Opens every dropped file whose extension is "xml" (any case) as a settings
// document in a new editor window, in the order of the drop. Other files and
// folders are ignored; a file that cannot be read or opened stops the drop with
// the message "Cannot Load Drag Drop Data:".
void OpenDroppedXMLFiles(const QMimeData* data);

// Shows a dialog (not modal) with its top-left corner at the mouse pointer, moved
// up when it would reach below the bottom of the screen, with the logo in `logo`.
void ShowFormAtCursor(QWidget* dialog, QLabel* logo);

// Selects the whole text of a line edit or text edit.
void SelectAllText(QWidget* textBox);

// Shows the program's logo ("Logo.jpg" in the program folder) in `target`; a
// missing or unreadable file leaves the target as it was.
void SetFormLogo(QLabel* target);

} // namespace veldra
