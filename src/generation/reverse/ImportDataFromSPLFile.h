#pragma once

#include <QPointer>

namespace veldra {

class EditorTreeView;
class frmXMLEditor;

// Import Data from Existing SPL File: after a file dialog and a confirmation, the settings
// element behind the tree's selected node is replaced by its definition template filled with
// the values of the chosen SPL file (the reverse transform), and the tree is rebuilt. An
// element that no reverse-enabled entry serves is refused with a message. A file that cannot
// be loaded, that holds no data for the element, or whose data would make the document larger
// than the editor opens (counted as it is built, before anything is replaced) leaves the
// document as it was; so does Cancel in the pick-one dialog, which ends the run. The run's
// progress and failures go to the log, and so does what of the picked product the settings
// have no place for (ProductDataNotHeld.h). The run lets events run (dialogs, the log): an editor
// closed meanwhile ends it without a change to anything.
void ImportDataFromSPLFile(QPointer<frmXMLEditor> editor, QPointer<EditorTreeView> treeView);

} // namespace veldra
