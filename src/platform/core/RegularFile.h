#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace veldra {

// The whole content of a file named by the user, or why it was not read.
struct FileContent {
    QByteArray bytes;
    int errorCode = 0;  // 0, err::FileNotFound or err::FileAccess
    QString problem;    // a sentence naming the file; empty when read

    bool ok() const { return errorCode == 0; }
};

// Reads a regular file (a symbolic link to one is fine) of at most maxBytes. Devices, FIFOs,
// sockets and directories are refused without blocking, and the limit holds for the bytes
// actually read, since a device or a growing file reports a size that means nothing.
FileContent readRegularFile(const QString& path, qint64 maxBytes);

// What a directory entry that is not a regular file is, as a sentence names it: "a folder",
// "a symbolic link", "a pipe", "a socket" or "a device".
QString kindOfFile(mode_t mode);

} // namespace veldra
