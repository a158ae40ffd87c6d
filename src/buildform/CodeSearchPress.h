#pragma once

#include <QString>

class QWidget;

namespace veldra::buildform {

// Runs the "?" button `button` of `form` (whose objectName is the form's name): the searched
// box's text, untrimmed, and the button's code system go to the main window's search panel,
// whose Search button is pressed. Nothing comes back; the hits go to the log.
void pressCodeSearch(const QWidget* form, const QString& button);

} // namespace veldra::buildform
