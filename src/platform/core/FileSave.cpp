#include "platform/core/FileSave.h"

#include "platform/core/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace veldra {

namespace {

// Why a symbolic link is not written through, told by where it leads: nowhere, round in a
// loop, or to a file that a save must not reach through it.
QString linkRefusal(const QByteArray& name)
{
    struct stat target{};
    const int error = ::stat(name.constData(), &target) == 0 ? 0 : errno;
    if (error == ELOOP)
        return QStringLiteral("it is a symbolic link in a loop of links");
    if (error == ENOENT || error == ENOTDIR)
        return QStringLiteral("it is a symbolic link whose target is missing");
    return QStringLiteral("it is a symbolic link, not a file");
}

// Why the entry at path may not be replaced; empty for a new name or a writable regular file.
// The entry itself is looked at, not what a link points to.
QString refusalOf(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status{};
    if (::lstat(name.constData(), &status) != 0)
        return QString();
    if (S_ISLNK(status.st_mode))
        return linkRefusal(name);
    if (!S_ISREG(status.st_mode))
        return QStringLiteral("it is %1, not a file").arg(kindOfFile(status.st_mode));
    // The superuser may write anything; the missing write bits still say the user's wish.
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(name.constData(), W_OK) != 0)
        return QStringLiteral("it is read-only");
    return QString();
}

// A name beside path that nothing has yet (or one the save will then fail to write, with the
// system's reason, when the folder cannot be looked into).
QString unusedNameBeside(const QString& path)
{
    for (;;) {
        const QString name = path + QStringLiteral(".new-") + QString::number(QRandomGenerator::system()->generate(), 36);
        struct stat status{};
        if (::lstat(QFile::encodeName(name).constData(), &status) != 0)
            return name;
    }
}

} // namespace

bool ReplacingFile::fail(const QString& problem)
{
    problem_ = problem;
    if (file_.isOpen())
        file_.cancelWriting();
    return false;
}

bool ReplacingFile::open()
{
    if (const QString refusal = refusalOf(file_.fileName()); !refusal.isEmpty())
        return fail(refusal);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file_.errorString());
    return true;
}

bool ReplacingFile::write(QByteArrayView bytes)
{
    // A short write carries no reason; the next one, given what is left, fails with the system's.
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 now = file_.write(bytes.data() + written, bytes.size() - written);
        if (now <= 0)
            return fail(file_.errorString());
        written += now;
    }
    return true;
}

bool ReplacingFile::commit()
{
    if (!file_.commit())
        return fail(file_.errorString());
    return true;
}

QString saveReplacing(const QString& path, const QByteArray& bytes)
{
    ReplacingFile file(path);
    if (file.open() && file.write(bytes) && file.commit())
        return QString();
    return file.problem();
}

QString saveReplacingLink(const QString& path, const QByteArray& bytes)
{
    if (!QFileInfo(path).isSymLink())
        return saveReplacing(path, bytes);
    // The new file is made whole under a name of its own, as any new file is, then renamed
    // over the link: a rename replaces the link itself, never what it names.
    const QString fresh = unusedNameBeside(path);
    if (const QString problem = saveReplacing(fresh, bytes); !problem.isEmpty())
        return problem;
    if (::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()) != 0) {
        const QString problem = qt_error_string(errno);
        QFile::remove(fresh);
        return problem;
    }
    return QString();
}

} // namespace veldra
