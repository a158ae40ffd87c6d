#pragma once

#include <QString>

namespace veldra {

class frmLog;

// The shared log: every long job reports here (window "SPL Info Window").

// True turns all logging off: nothing is written, the log is neither cleared nor shown.
extern bool NoLogging;
// Lines written by WriteLog since the message pump last ran (0 to 99 between calls).
extern int LogLineCounter;

// Appends one line: the category, blanks to the message column, the message.
// The category sets the colour; the separator category is a line of 128 "-".
// The first line of an empty log is preceded by the header.
void WriteLog(const QString& category, const QString& message, bool bold = false);
// Appends the red disclaimer block that closes a build, a cross-check or an analysis.
void WriteDisclaimer();
// Shows the log window in front, emptied first when `clear` is true.
void ShowLogWindow(bool clear);
// Writes the whole log, with colours and bold, as RTF to `path`; a failure is shown
// in a message box and leaves any existing file as it was.
void SaveLogToFile(const QString& path);
// Esc (key code 27) sets the cancel flag of every job the main window holds.
void CancelOnEscape(int keyCode, int shift);

// The separator category: 128 "-".
QString logSeparator();

// The log window while it is open, else nullptr. The procedures above open it on first use.
frmLog* logWindow();
// The log window, opened when it is not, whatever the logging switch says: for the
// few commands that write into the window directly.
frmLog& openLogWindow();

} // namespace veldra
