#pragma once

namespace veldra {

// Closes every window and ends the program. The editor windows close first; one
// whose save question ends with its document not saved (Cancel, or a save that
// failed or was cancelled) refuses to close, and then nothing more is closed, the
// function returns false and the program keeps running. Otherwise every other
// window is hidden and closed, the message loop is told to end, and it returns true.
bool EndProgram();

} // namespace veldra
