#pragma once

#include <QString>
#include <QTemporaryDir>

namespace veldra::test {

// A temporary folder removed at the end of the test.
class TempDir {
public:
    TempDir();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// Points the program folder at a fresh copy of the project's data/ for one test, and the
// per-user data folder at an empty folder of the test's own.
class ProgramFolderCopy {
public:
    ProgramFolderCopy();
    ~ProgramFolderCopy();
    QString path() const { return dir_.path(); }
    QString file(const QString& relative) const;

private:
    TempDir dir_;
    TempDir userData_;  // the per-user data folder, also the test's own
};

} // namespace veldra::test
