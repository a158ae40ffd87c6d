#pragma once

class QWidget;

namespace veldra {

// For the start-up benchmark only: when the environment names VELDRA_EXIT_AFTER_FIRST_PAINT,
// the program ends at once (exit status 0, no clean-up) after `window` has been painted for
// the first time, so that a run measures the start up to the first painted main window and
// nothing after it. Without the variable nothing is installed.
void exitAfterFirstPaintWhenAsked(QWidget& window);

} // namespace veldra
