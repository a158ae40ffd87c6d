#include "platform/word/PackageWriter.h"

#include "platform/core/FileSave.h"

#include <zip.h>

namespace veldra::word {

QByteArray PackageWriter::bytes() const
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_error_fini(&error);
    if (!target)
        return {};
    zip_source_keep(target);
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, nullptr);
    if (!archive) {
        zip_source_free(target);
        return {};
    }
    bool ok = true;
    for (const auto& [name, data] : parts_) {
        // The part's bytes stay alive in parts_ until the archive is closed.
        zip_source_t* source = zip_source_buffer(archive, data.constData(), static_cast<zip_uint64_t>(data.size()), 0);
        if (!source || zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
            if (source)
                zip_source_free(source);
            ok = false;
            break;
        }
    }
    if (!ok || zip_close(archive) != 0) {
        zip_discard(archive);
        zip_source_free(target);
        return {};
    }
    QByteArray result;
    zip_stat_t stat;
    if (zip_source_stat(target, &stat) == 0 && zip_source_open(target) == 0) {
        result.resize(static_cast<qsizetype>(stat.size));
        const zip_int64_t read = zip_source_read(target, result.data(), stat.size);
        zip_source_close(target);
        if (read != static_cast<zip_int64_t>(stat.size))
            result.clear();
    }
    zip_source_free(target);
    return result;
}

bool PackageWriter::save(const QString& path, QString* error) const
{
    const QByteArray data = bytes();
    if (data.isEmpty()) {
        if (error)
            *error = QStringLiteral("The package could not be assembled.");
        return false;
    }
    const QString problem = saveReplacing(path, data);
    if (!problem.isEmpty() && error)
        *error = QStringLiteral("The file '%1' cannot be written: %2").arg(path, problem);
    return problem.isEmpty();
}

} // namespace veldra::word
