#pragma once

#include <QByteArray>
#include <QString>

namespace veldra {

// Writes bytes to a temporary file beside path and renames it over path, so a failure leaves
// the former file as it was. Returns an empty string when saved, otherwise the system's reason
// ("No space left on device"), taken when the write fails: the temporary file's cleanup would
// replace it with a meaningless one.
QString saveReplacing(const QString& path, const QByteArray& bytes);

} // namespace veldra
