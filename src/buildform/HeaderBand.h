#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace veldra::buildform {

// The white band across the top of the build form and its dialogs: the title at the left in
// bold grey 12-point Arial, the logo box at the right (filled by SetFormLogo).
QWidget* makeHeaderBand(QWidget* parent, const QString& title, QLabel*& lblInfo, QLabel*& picLogo);

} // namespace veldra::buildform
