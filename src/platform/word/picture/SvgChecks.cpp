#include "platform/word/picture/SvgChecks.h"

#include "platform/word/picture/JpegDecoding.h"

#include <QXmlStreamReader>

namespace veldra::word {

namespace {

bool drawsFromOutside(const QXmlStreamReader& element)
{
    if (element.name() != QLatin1String("image"))
        return false;
    for (const QXmlStreamAttribute& attribute : element.attributes()) {
        if (attribute.name() == QLatin1String("href")
            && !attribute.value().trimmed().startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// An image held in the document as a JPEG file of more scans than a picture has: the SVG
// reader decodes it without counting them.
bool holdsJpegOfTooManyScans(const QXmlStreamReader& element)
{
    if (element.name() != QLatin1String("image"))
        return false;
    for (const QXmlStreamAttribute& attribute : element.attributes()) {
        const QStringView value = attribute.value().trimmed();
        const qsizetype data = value.indexOf(QLatin1String(";base64,"));
        if (attribute.name() != QLatin1String("href") || !value.startsWith(QLatin1String("data:"), Qt::CaseInsensitive) || data < 0)
            continue;
        const QByteArray bytes = QByteArray::fromBase64(value.mid(data + 8).toLatin1());
        if (isJpeg(bytes) && hasTooManyJpegScans(bytes))
            return true;
    }
    return false;
}

} // namespace

QString svgFault(const QByteArray& svg)
{
    QXmlStreamReader reader(svg);
    qint64 elements = 0;
    while (reader.readNext() != QXmlStreamReader::Invalid && !reader.atEnd()) {
        if (!reader.isStartElement())
            continue;
        if (++elements > MaxSvgElements)
            return QStringLiteral("has more than %1 elements to draw").arg(MaxSvgElements);
        if (drawsFromOutside(reader))
            return QStringLiteral("draws images from outside the document");
        if (holdsJpegOfTooManyScans(reader))
            return QStringLiteral("holds a JPEG image of more than %1 scans").arg(kMaxJpegScans);
    }
    return QString();
}

} // namespace veldra::word
