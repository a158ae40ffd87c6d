#pragma once

#include <QStringList>

class QWidget;

namespace veldra {

// Asks which of the open windows to bring to the front: a list of their captions in the order
// given, with the row `current` selected. Returns the chosen row, or -1 when the user cancels.
int chooseWindow(QWidget* parent, const QStringList& captions, int current);

} // namespace veldra
