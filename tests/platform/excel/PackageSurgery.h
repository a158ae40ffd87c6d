#pragma once

// Damaging a written workbook on purpose: one part replaced or taken out.
#include <QByteArray>
#include <QString>
#include <optional>
#include <stdexcept>
#include <zip.h>

namespace veldra::test {

// Replaces the part `entry` of the package at `path` by `content`, or removes it when
// there is no content.
inline void replacePart(const QString& path, const char* entry, const std::optional<QByteArray>& content)
{
    int code = 0;
    zip_t* archive = zip_open(path.toUtf8().constData(), 0, &code);
    if (!archive)
        throw std::runtime_error("zip_open failed");
    if (content) {
        zip_source_t* source = zip_source_buffer(archive, content->constData(), static_cast<zip_uint64_t>(content->size()), 0);
        const zip_int64_t index = zip_file_add(archive, entry, source, ZIP_FL_OVERWRITE);
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 1);
    } else {
        zip_delete(archive, static_cast<zip_uint64_t>(zip_name_locate(archive, entry, 0)));
    }
    if (zip_close(archive) != 0)
        throw std::runtime_error("zip_close failed");
}

} // namespace veldra::test
