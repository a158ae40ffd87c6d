#include "platform/word/picture/SvgReferences.h"

#include <QXmlStreamReader>

namespace veldra::word {

bool svgRefersOutside(const QByteArray& svg)
{
    QXmlStreamReader reader(svg);
    while (reader.readNext() != QXmlStreamReader::Invalid && !reader.atEnd()) {
        if (!reader.isStartElement() || reader.name() != QLatin1String("image"))
            continue;
        for (const QXmlStreamAttribute& attribute : reader.attributes()) {
            if (attribute.name() == QLatin1String("href")
                && !attribute.value().trimmed().startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
                return true;
        }
    }
    return false;
}

} // namespace veldra::word
