#pragma once

#include <QString>

namespace veldra {

// The results of one check in the log: each node of file 1 found, or not, among file 2's, with
// both values. A check may give millions of them (a title repeated in every section matches
// every copy of itself), and a value may run to megabytes (a section's text holds every
// section nested in it). So each value is shown as loggedValue() gives it, and the log shows
// the first MaxLoggedResultsPerCheck results of a check, or as many as fit in
// MaxLoggedCharactersPerCheck, and at the check's end how many it left out; the caller counts
// every difference all the same.
class CheckResultLog {
public:
    // dn1 and dn2 end in ": ".
    CheckResultLog(const QString& dn1, const QString& dn2, const QString& checkName);

    // Block layout (long texts) writes the display name and the check's name above each value;
    // line layout puts the display name beside it. The values are as loggedValue() gives them.
    void different(const QString& label, bool block, const QString& value1, const QString& value2);
    void identical(const QString& label, bool block, const QString& value1, const QString& value2);
    // Whether the log still shows this check's results (and the separators between them).
    bool showing() const;
    // Says how many results were left out, when any were.
    void writeLeftOut() const;

private:
    bool take(bool difference);
    void writeDetails(bool block, const QString& category, const QString& value1, const QString& value2);

    const QString dn1_;
    const QString dn2_;
    const QString checkName_;
    qint64 shown_ = 0;
    qint64 written_ = 0;
    qint64 leftOut_ = 0;
    qint64 leftOutDifferences_ = 0;
};

inline constexpr qint64 MaxLoggedResultsPerCheck = 1000;
inline constexpr qint64 MaxLoggedCharactersPerCheck = 200'000;
inline constexpr qsizetype MaxLoggedValueCharacters = 1000;

// A value as the log shows it, on one line: its line breaks and runs of blanks made single
// blanks, so that a value never splits the log's lines; past MaxLoggedValueCharacters, its
// beginning and how long it is.
QString loggedValue(const QString& value);

} // namespace veldra
