#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

namespace veldra {

// A new content for the file at a path, written beside it under a temporary name and renamed
// over it only once complete, so a failure at any step leaves the former file as it was.
//
// Only a regular file or a new name is replaced. A symbolic link is not written through (it
// could point at any file, elsewhere; the refusal says when it leads nowhere or round in a
// loop), a folder, device, pipe or socket is not replaced by a
// file, and a read-only file is kept, whoever runs the program: the user marked it so. Each
// of these is refused before anything is written.
//
// Writes go straight to the file, never through a buffer, and each one is checked: a short
// write (the disk filled up during it) is seen where it happens, with the system's reason,
// instead of a truncated file being renamed over the former one.
class ReplacingFile {
public:
    explicit ReplacingFile(const QString& path) : file_(path) {}

    // Each step returns false with problem() set once it fails; the temporary file is then
    // gone and the former file untouched. A file never committed is discarded.
    bool open();
    bool write(QByteArrayView bytes);
    bool commit();

    // Why the last step failed ("it is a symbolic link, not a file", "No space left on
    // device"); empty while all went well.
    const QString& problem() const { return problem_; }
    // The temporary file's descriptor while open, to set its permissions before writing.
    int handle() const { return file_.handle(); }

private:
    bool fail(const QString& problem);

    QSaveFile file_;
    QString problem_;
};

// Saves bytes as ReplacingFile does. Returns an empty string when saved, otherwise the reason.
QString saveReplacing(const QString& path, const QByteArray& bytes);

// Saves bytes as saveReplacing does, except that a symbolic link at path is itself replaced by
// the new file, written whole under a new name beside it first: the file the link names is not
// touched. For a link the user did not choose to write through, when they chose to replace it.
QString saveReplacingLink(const QString& path, const QByteArray& bytes);

} // namespace veldra
