#pragma once

#include <QPointer>

namespace veldra {

class frmXMLEditor;

// The quick preview of an editor's settings document: the SPL file is built silently (logging
// off) into the document's scratch folder below Preview, with the label's pictures, and shown
// in the editor's preview window, which is reused and keeps its scroll position. Afterwards
// logging follows the check mark of the main window's Show Log item. A failure is written to
// the log, and shown in a message box when logging is off or when the SPL stylesheet is not
// available. A window in mode "View" holds no settings document: it is refused with a message.
// An editor closed while the preview is built gets no preview window.
void PreviewSPLR4Document(QPointer<frmXMLEditor> editor);

} // namespace veldra
