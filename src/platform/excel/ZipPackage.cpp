#include "platform/excel/ZipPackage.h"

#include <zip.h>

namespace veldra::excel {

namespace {

// The first bytes of an OLE compound file: a legacy .xls workbook or a password-protected
// workbook, which is stored encrypted inside such a file.
bool isCompoundFile(const QByteArray& bytes)
{
    static const char magic[] = {'\xD0', '\xCF', '\x11', '\xE0', '\xA1', '\xB1', '\x1A', '\xE1'};
    return bytes.size() >= 8 && std::equal(magic, magic + 8, bytes.constData());
}

QString zipReason(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

} // namespace

ZipPackage::~ZipPackage()
{
    if (archive_)
        zip_discard(archive_);
}

bool ZipPackage::open(const QByteArray& bytes, WorkbookError& error)
{
    if (isCompoundFile(bytes)) {
        error.reason = QStringLiteral(
            "the file is password-protected or a legacy Excel 97-2003 workbook; "
            "save it as an Excel workbook (.xlsx) without a password");
        return false;
    }
    zip_error_t zipError;
    zip_error_init(&zipError);
    zip_source_t* source = zip_source_buffer_create(bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0, &zipError);
    if (source)
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &zipError);
    if (!archive_) {
        error.reason = QStringLiteral("the file is not a workbook package (%1)")
                           .arg(QString::fromUtf8(zip_error_strerror(&zipError)));
        if (source)
            zip_source_free(source);
        zip_error_fini(&zipError);
        return false;
    }
    zip_error_fini(&zipError);
    if (zip_get_num_entries(archive_, 0) > MaxEntries) {
        error.reason = QStringLiteral("the package holds more than %1 parts").arg(MaxEntries);
        return false;
    }
    return true;
}

bool ZipPackage::has(const QString& name) const
{
    return archive_ && zip_name_locate(archive_, name.toUtf8().constData(), ZIP_FL_NOCASE) >= 0;
}

std::optional<QByteArray> ZipPackage::read(const QString& name, WorkbookError& error) const
{
    error.part = name;
    const zip_int64_t index = archive_ ? zip_name_locate(archive_, name.toUtf8().constData(), ZIP_FL_NOCASE) : -1;
    zip_stat_t stat;
    if (index < 0 || zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &stat) != 0) {
        error.reason = QStringLiteral("the part is missing");
        return std::nullopt;
    }
    const qint64 limit = std::min(MaxPartBytes, MaxTotalBytes - totalRead_);
    const QString tooLarge = limit < MaxPartBytes
        ? QStringLiteral("the workbook's parts are larger than %1 MiB together").arg(MaxTotalBytes / (1024 * 1024))
        : QStringLiteral("the part is larger than %1 MiB").arg(MaxPartBytes / (1024 * 1024));
    if ((stat.valid & ZIP_STAT_SIZE) && stat.size > static_cast<zip_uint64_t>(limit)) {
        error.reason = tooLarge;
        return std::nullopt;
    }
    zip_file_t* file = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0);
    if (!file) {
        error.reason = QStringLiteral("the part cannot be read (%1)").arg(zipReason(zip_error_code_zip(zip_get_error(archive_))));
        return std::nullopt;
    }
    // The declared size may lie; the limit holds for what really comes out.
    QByteArray data;
    data.reserve(static_cast<qsizetype>(std::min<zip_uint64_t>(stat.size, 64 * 1024 * 1024)));
    char buffer[65536];
    zip_int64_t got = 0;
    while ((got = zip_fread(file, buffer, sizeof buffer)) > 0) {
        if (data.size() + got > limit) {
            zip_fclose(file);
            error.reason = tooLarge;
            return std::nullopt;
        }
        data.append(buffer, static_cast<qsizetype>(got));
    }
    const bool failed = got < 0;
    const QString reason = failed ? zipReason(zip_error_code_zip(zip_file_get_error(file))) : QString();
    zip_fclose(file);
    if (failed) {
        error.reason = QStringLiteral("the part is damaged (%1)").arg(reason);
        return std::nullopt;
    }
    totalRead_ += data.size();
    error = {};
    return data;
}

} // namespace veldra::excel
