#include "metafileconverter/Conversions.h"

#include "platform/word/picture/SvgChecks.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

namespace veldra::metafile {

std::string svgToPng(const std::string& svg, unsigned width, unsigned height, std::string& refusal)
{
    const QByteArray document = QByteArray::fromRawData(svg.data(), qsizetype(svg.size()));
    if (const QString fault = word::svgFault(document); !fault.isEmpty()) {
        refusal = fault.toStdString();
        return {};
    }
    QSvgRenderer renderer(document);
    if (!renderer.isValid())
        return {};
    QImage image(int(width), int(height), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
        renderer.render(&painter, QRectF(0, 0, width, height));
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return {};
    return png.toStdString();
}

} // namespace veldra::metafile
