#include "generation/FileCopy.h"

#include "platform/core/VbError.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace veldra {

namespace {

[[noreturn]] void fail(int number, const QString& description)
{
    throw VbError(number, QStringLiteral("FileCopy"), description);
}

bool sameFile(const QString& a, const QString& b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    return second.exists() && first.canonicalFilePath() == second.canonicalFilePath();
}

} // namespace

bool copyFileReplacing(const QString& from, const QString& to)
{
    QFile source(from);
    if (!QFileInfo(from).isFile())
        fail(err::FileNotFound, QStringLiteral("File not found: %1").arg(from));
    if (sameFile(from, to))
        return false;
    if (!source.open(QIODevice::ReadOnly))
        fail(err::FileAccess, QStringLiteral("Cannot read %1: %2").arg(from, source.errorString()));
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly))
        fail(err::FileAccess, QStringLiteral("Cannot write %1: %2").arg(to, target.errorString()));
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            fail(err::FileAccess, QStringLiteral("Cannot read %1: %2").arg(from, source.errorString()));
        if (target.write(chunk) != chunk.size())
            fail(err::FileAccess, QStringLiteral("Cannot write %1: %2").arg(to, target.errorString()));
    }
    if (!target.commit())
        fail(err::FileAccess, QStringLiteral("Cannot write %1: %2").arg(to, target.errorString()));
    return true;
}

QString folderWithSeparator(const QString& path)
{
    const qsizetype last = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.left(last + 1);
}

} // namespace veldra
