#include "platform/core/FileSave.h"

#include <QSaveFile>

namespace veldra {

QString saveReplacing(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    // Unbuffered, and written until a write takes nothing: a short write (the disk filled up
    // during it) carries no reason, the next one fails with the system's.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 now = file.write(bytes.constData() + written, bytes.size() - written);
        if (now <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return reason;
        }
        written += now;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

} // namespace veldra
