#pragma once

#include <QString>

namespace veldra {

class frmLog;

// The shared log: every long job reports here (window "SPL Info Window").

// True turns all logging off: nothing is written, the log is neither cleared nor shown.
extern bool NoLogging;
// Lines written by WriteLog since the message pump last ran (0 to 99 between calls).
extern int LogLineCounter;

// The categories a log line is written under: the texts of the category column.
namespace log_category {
inline const QString Information = QStringLiteral("Information");
inline const QString Processing = QStringLiteral("Processing");
inline const QString Warning = QStringLiteral("Warning");
inline const QString Error = QStringLiteral("Error");
inline const QString FatalError = QStringLiteral("Fatal Error");
inline const QString Reference = QStringLiteral("Reference");
// The build: a schema error traced back to its settings, post-processing, sections taken
// from an SPL file or left out.
inline const QString Check = QStringLiteral("Check");
inline const QString Postprocessing = QStringLiteral("Postprocessing:");
inline const QString LoadSection = QStringLiteral("Load Section");
inline const QString OmitSection = QStringLiteral("Omit Section");
// The Word formatting analysis: headers by kind, the summary banners and the object counts.
inline const QString Section = QStringLiteral("Section");
inline const QString Subsection = QStringLiteral("Subsection");
inline const QString Excerpt = QStringLiteral("Excerpt");
inline const QString StyleSummary = QStringLiteral("STYLE SUMMARY");
inline const QString Objects = QStringLiteral("OBJECTS");
inline const QString Images = QStringLiteral("Images");
inline const QString Tables = QStringLiteral("Tables");
} // namespace log_category

// Appends one line: the category, blanks to the message column, the message.
// The category sets the colour; the separator category is a line of 128 "-".
// The first line of an empty log is preceded by the header.
void WriteLog(const QString& category, const QString& message, bool bold = false);
// Appends the red disclaimer block that closes a build, a cross-check or an analysis.
void WriteDisclaimer();
// Shows the log window in front, emptied first when `clear` is true.
void ShowLogWindow(bool clear);
// For a command whose results go to the log alone: with logging switched off it says so in a
// message box, naming the `results` ("The search results"), and returns true, and the command
// does not run unseen; the switch stays as the user set it. False while logging is on.
bool saidLogIsSwitchedOff(const QString& results);
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
