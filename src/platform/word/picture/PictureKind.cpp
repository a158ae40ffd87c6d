#include "platform/word/picture/PictureKind.h"

#include <QFileInfo>
#include <QtEndian>

namespace veldra::word {

namespace {

bool startsWith(const QByteArray& bytes, const char* signature, qsizetype length)
{
    return bytes.size() >= length && std::equal(signature, signature + length, bytes.constData());
}

bool isEmf(const QByteArray& bytes)
{
    return bytes.size() >= 44 && qFromLittleEndian<quint32>(bytes.constData()) == 1
        && bytes.mid(40, 4) == QByteArrayLiteral(" EMF");
}

bool isWmf(const QByteArray& bytes)
{
    if (startsWith(bytes, "\xD7\xCD\xC6\x9A", 4))
        return true;
    if (bytes.size() < 18)
        return false;
    const auto type = qFromLittleEndian<quint16>(bytes.constData());
    const auto headerWords = qFromLittleEndian<quint16>(bytes.constData() + 2);
    const auto version = qFromLittleEndian<quint16>(bytes.constData() + 4);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}

bool isRaster(const QByteArray& bytes)
{
    return startsWith(bytes, "\x89PNG", 4) || startsWith(bytes, "\xFF\xD8\xFF", 3) || startsWith(bytes, "GIF8", 4)
        || startsWith(bytes, "BM", 2) || startsWith(bytes, "II*\0", 4) || startsWith(bytes, "MM\0*", 4)
        || (startsWith(bytes, "RIFF", 4) && bytes.mid(8, 4) == QByteArrayLiteral("WEBP"));
}

bool isSvg(const QByteArray& bytes)
{
    const QByteArray head = bytes.left(4096).trimmed();
    return (head.startsWith('<') || head.startsWith("\xEF\xBB\xBF<")) && head.contains("<svg");
}

PictureKind kindOfBytes(const QByteArray& bytes)
{
    if (isEmf(bytes))
        return PictureKind::Emf;
    if (isWmf(bytes))
        return PictureKind::Wmf;
    if (isRaster(bytes))
        return PictureKind::Raster;
    if (isSvg(bytes))
        return PictureKind::Svg;
    return PictureKind::Unknown;
}

PictureKind kindOfContentType(const QString& contentType)
{
    const QString type = contentType.trimmed().toLower();
    if (type.contains(QLatin1String("drawingml.chart")))
        return PictureKind::Chart;
    if (type.contains(QLatin1String("drawingml.diagram")))
        return PictureKind::Diagram;
    if (type == QLatin1String("image/svg+xml"))
        return PictureKind::Svg;
    if (type.endsWith(QLatin1String("emf")))
        return PictureKind::Emf;
    if (type.endsWith(QLatin1String("wmf")) || type == QLatin1String("application/x-msmetafile")
        || type == QLatin1String("windows/metafile"))
        return PictureKind::Wmf;
    static const QStringList raster = {
        QStringLiteral("image/png"),  QStringLiteral("image/jpeg"), QStringLiteral("image/jpg"),
        QStringLiteral("image/pjpeg"), QStringLiteral("image/gif"), QStringLiteral("image/bmp"),
        QStringLiteral("image/x-bmp"), QStringLiteral("image/tiff"), QStringLiteral("image/webp")};
    return raster.contains(type) ? PictureKind::Raster : PictureKind::Unknown;
}

// `name` is a part or file name, or an extension on its own.
PictureKind kindOfName(const QString& name)
{
    const QString suffix = (name.contains(QLatin1Char('.')) ? QFileInfo(name).suffix() : name).toLower();
    static const QStringList raster = {
        QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("jpe"),
        QStringLiteral("jfif"), QStringLiteral("gif"), QStringLiteral("bmp"), QStringLiteral("dib"),
        QStringLiteral("tif"), QStringLiteral("tiff"), QStringLiteral("webp")};
    if (raster.contains(suffix))
        return PictureKind::Raster;
    if (suffix == QLatin1String("svg"))
        return PictureKind::Svg;
    if (suffix == QLatin1String("emf"))
        return PictureKind::Emf;
    if (suffix == QLatin1String("wmf"))
        return PictureKind::Wmf;
    return PictureKind::Unknown;
}

} // namespace

PictureKind pictureKindOf(const PictureMedia& media)
{
    if (const PictureKind fromBytes = kindOfBytes(media.bytes); fromBytes != PictureKind::Unknown)
        return fromBytes;
    if (const PictureKind declared = kindOfContentType(media.contentType); declared != PictureKind::Unknown)
        return declared;
    return kindOfName(media.name);
}

} // namespace veldra::word
