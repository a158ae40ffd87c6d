#pragma once

#include <QString>
#include <QUrl>

namespace veldra {

class frmXMLEditor;

// The online validation: the outside validator's page is opened in the validation window, its
// file chooser is opened for the user to pick the SPL file, and its form is submitted. The
// editor that holds the settings document of the validated file (found by the document id the
// result page reports) becomes the current editor, and the tree nodes whose values the
// validator reports are painted red and selected. The outcome is a message box; a validator
// that cannot be reached, or a page that is not the validator's, is reported in one too.
void ValidateOnline();

// Paints red and selects the nodes of the current editor's tree whose value (the caption after
// its first ":", line breaks removed, blanks trimmed) equals `text`, ignoring letter case;
// "<br>" in `text` is ignored. An empty text matches nothing. Never fails.
void HighlightReportedNodes(const QString& text);
void HighlightReportedNodes(frmXMLEditor& editor, const QString& text);

// The validator's entry page.
QUrl ValidatorAddress();
// Test seam: the entry page of a server the test started; an empty URL restores the validator's.
void setValidatorAddressForTesting(const QUrl& address);

} // namespace veldra
