#pragma once

#include <QString>
#include <QtGlobal>

namespace veldra {

// What tells whether a file on disk is still the one a window read or wrote, without reading
// it: which file it is (device and inode, so a file replaced by a rename is another one), its
// size, the time it was last written and the time its inode last changed, to the nanosecond.
// A program can set the written time back (as `cp -p`, `rsync -t` or `touch -r` do), but not
// the changed time, so an edit in place that keeps the size and the written time still shows.
//
// A symbolic link counts as the file it names, and also records which file that is: a link
// that names another file than before is another file.
//
// The folder the path leads into is recorded too (device and inode, the links on the way
// followed): a folder renamed away and replaced, by a link or another folder, under the same
// name is another folder, though the path reads as before.
struct FileIdentity {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedSeconds = 0;
    qint64 modifiedNanoseconds = 0;
    qint64 changedSeconds = 0;
    qint64 changedNanoseconds = 0;
    // True when the path is a symbolic link (whether or not it leads to a file).
    bool isLink = false;
    // For a link, the file it names at the end of its chain of links; empty when it leads nowhere.
    QString linkedFile;
    // Which folder the path's folder is; folderExists is false when it cannot be read.
    bool folderExists = false;
    quint64 folderDevice = 0;
    quint64 folderInode = 0;

    // True when both name a folder that exists and it is not the same folder.
    bool inAnotherFolderThan(const FileIdentity& before) const
    {
        return folderExists && before.folderExists
            && (folderDevice != before.folderDevice || folderInode != before.folderInode);
    }

    // The identity of the file at `path` now; one that does not exist when it cannot be read.
    static FileIdentity of(const QString& path);

    bool operator==(const FileIdentity&) const = default;
};

} // namespace veldra
