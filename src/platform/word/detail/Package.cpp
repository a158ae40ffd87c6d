#include "platform/word/detail/Package.h"

#include "platform/word/detail/Xml.h"

#include <zip.h>

namespace veldra::word::detail {

struct Package::Impl {
    QByteArray bytes;                   // the archive; libzip reads from it in place
    zip_t* archive = nullptr;
    QHash<QString, QString> defaults;   // extension (lower case) → content type
    QHash<QString, QString> overrides;  // part name (lower case) → content type

    ~Impl()
    {
        if (archive)
            zip_discard(archive);
    }
};

namespace {

// Part names in a package are compared without case, and without a leading "/".
QString normalizedName(QString name)
{
    while (name.startsWith(QLatin1Char('/')))
        name.remove(0, 1);
    return name;
}

QString relationshipPartOf(const QString& partName)
{
    const int slash = partName.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QString() : partName.left(slash + 1);
    return folder + QStringLiteral("_rels/") + partName.mid(slash + 1) + QStringLiteral(".rels");
}

QString lastSegment(const QString& uri)
{
    return uri.mid(uri.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

QString resolvePartName(const QString& sourcePart, const QString& target)
{
    QString path = target;
    if (!path.startsWith(QLatin1Char('/'))) {
        const int slash = sourcePart.lastIndexOf(QLatin1Char('/'));
        path = (slash < 0 ? QString() : sourcePart.left(slash + 1)) + path;
    }
    QStringList out;
    for (const QString& segment : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (segment == QLatin1String("."))
            continue;
        if (segment == QLatin1String("..")) {
            if (out.isEmpty())
                return QString();
            out.removeLast();
            continue;
        }
        out.append(segment);
    }
    return out.join(QLatin1Char('/'));
}

Package::~Package() = default;

std::unique_ptr<Package> Package::open(QByteArray bytes, OpenError& error)
{
    std::unique_ptr<Package> package(new Package);
    package->impl_ = std::make_unique<Impl>();
    Impl& impl = *package->impl_;
    impl.bytes = std::move(bytes);
    zip_error_t zipError;
    zip_error_init(&zipError);
    zip_source_t* source = zip_source_buffer_create(impl.bytes.constData(),
                                                    static_cast<zip_uint64_t>(impl.bytes.size()), 0, &zipError);
    if (source)
        impl.archive = zip_open_from_source(source, ZIP_RDONLY, &zipError);
    if (!impl.archive) {
        if (source)
            zip_source_free(source);
        error = {QString(), QStringLiteral("The file is not a valid .docx package (%1).")
                                .arg(QString::fromUtf8(zip_error_strerror(&zipError)))};
        zip_error_fini(&zipError);
        return nullptr;
    }
    zip_error_fini(&zipError);
    if (zip_get_num_entries(impl.archive, 0) > MaxEntries) {
        error = {QString(), QStringLiteral("The package holds more than %1 entries.").arg(MaxEntries)};
        return nullptr;
    }
    const auto types = package->read(QStringLiteral("[Content_Types].xml"));
    if (types) {
        XmlDoc doc = parseXml(*types, nullptr);
        for (xmlNode* node : children(root(doc.get()))) {
            if (isNamed(node, "Default"))
                impl.defaults.insert(attr(node, "Extension").toLower(), attr(node, "ContentType"));
            else if (isNamed(node, "Override"))
                impl.overrides.insert(normalizedName(attr(node, "PartName")).toLower(), attr(node, "ContentType"));
        }
    }
    return package;
}

bool Package::has(const QString& partName) const
{
    return zip_name_locate(impl_->archive, normalizedName(partName).toUtf8().constData(), ZIP_FL_NOCASE) >= 0;
}

std::optional<QByteArray> Package::read(const QString& partName, QString* error) const
{
    const QByteArray name = normalizedName(partName).toUtf8();
    const zip_int64_t index = zip_name_locate(impl_->archive, name.constData(), ZIP_FL_NOCASE);
    if (index < 0)
        return std::nullopt;
    zip_stat_t stat;
    if (zip_stat_index(impl_->archive, static_cast<zip_uint64_t>(index), 0, &stat) != 0
        || !(stat.valid & ZIP_STAT_SIZE) || stat.size > static_cast<zip_uint64_t>(MaxPartBytes)) {
        if (error)
            *error = QStringLiteral("The part is larger than %1 MB.").arg(MaxPartBytes / (1024 * 1024));
        return std::nullopt;
    }
    zip_file_t* file = zip_fopen_index(impl_->archive, static_cast<zip_uint64_t>(index), 0);
    if (!file) {
        if (error)
            *error = QStringLiteral("The part cannot be read (%1).").arg(QString::fromUtf8(zip_strerror(impl_->archive)));
        return std::nullopt;
    }
    // The part is read straight into its buffer. The declared size is checked against the
    // limit above and against what the data holds: one more read must find nothing.
    QByteArray data;
    data.resize(static_cast<qsizetype>(stat.size));
    qint64 total = 0;
    bool failed = false;
    while (total < data.size()) {
        const zip_int64_t got = zip_fread(file, data.data() + total, static_cast<zip_uint64_t>(data.size() - total));
        if (got <= 0) {
            failed = true;
            break;
        }
        total += got;
    }
    char extra = 0;
    if (!failed && zip_fread(file, &extra, 1) != 0)
        failed = true;
    zip_fclose(file);
    if (failed) {
        if (error)
            *error = QStringLiteral("The part is damaged and cannot be decompressed.");
        return std::nullopt;
    }
    return data;
}

QHash<QString, Relationship> Package::relationships(const QString& partName) const
{
    QHash<QString, Relationship> result;
    const QString source = normalizedName(partName);
    const auto bytes = read(source.isEmpty() ? QStringLiteral("_rels/.rels") : relationshipPartOf(source));
    if (!bytes)
        return result;
    XmlDoc doc = parseXml(*bytes, nullptr);
    for (xmlNode* node : children(root(doc.get()))) {
        if (!isNamed(node, "Relationship"))
            continue;
        Relationship rel;
        rel.type = lastSegment(attr(node, "Type"));
        rel.external = attr(node, "TargetMode").compare(QLatin1String("External"), Qt::CaseInsensitive) == 0;
        const QString target = attr(node, "Target");
        rel.target = rel.external ? target : resolvePartName(source, target);
        result.insert(attr(node, "Id"), rel);
    }
    return result;
}

QString Package::contentType(const QString& partName) const
{
    const QString name = normalizedName(partName).toLower();
    if (const auto it = impl_->overrides.constFind(name); it != impl_->overrides.cend())
        return *it;
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : impl_->defaults.value(name.mid(dot + 1));
}

} // namespace veldra::word::detail
