#include "platform/word/picture/SvgChecks.h"

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
    }
    return QString();
}

} // namespace veldra::word
