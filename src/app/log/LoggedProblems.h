#pragma once

#include <QString>

namespace veldra {

// The warnings and errors written to the log ("Warning"; "Error", "Fatal Error"), counted
// whether logging is on or off: a command that closes with a message box tells from them
// what the log holds, or would hold had it been on.
struct LoggedProblems {
    int warnings = 0;
    int errors = 0;

    bool any() const { return warnings > 0 || errors > 0; }
    // "1 warning", "2 errors", "11 warnings and 1 error"; "" when there are none.
    QString summary() const;
    // What a closing message adds for them, "" when there are none: "The <what> found
    // 2 warnings: " and where to read them, the log, or with logging off a run with it on.
    QString sentence(const QString& what) const;
};

// Counts one line of the log by its category. Called by WriteLog for every line.
void countLoggedProblem(const QString& category);

// The warnings and errors written from its making on.
class LoggedProblemsSince {
public:
    LoggedProblemsSince();
    LoggedProblems count() const;

private:
    LoggedProblems start_;
};

} // namespace veldra
