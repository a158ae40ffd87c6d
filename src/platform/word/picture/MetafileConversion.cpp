#include "platform/word/picture/MetafileConversion.h"

#include "platform/word/picture/MetafileChecks.h"
#include "platform/word/picture/MetafileConverter.h"

#include <QtEndian>

#include <cmath>

namespace veldra::word {

// The converter sizes its document by the header's bounds, the device pixels the records
// draw on; the picture is the header's frame (hundredths of a millimetre), converted
// to device pixels by the reference device's size in pixels and millimetres.
QRectF emfPartOfFrame(const QByteArray& emf)
{
    const QRectF whole(0, 0, 1, 1);
    if (emf.size() < 88)
        return whole;
    auto field = [&](int offset) { return double(qFromLittleEndian<qint32>(emf.constData() + offset)); };
    const double xPixelsPerUnit = field(72) / (field(80) * 100.0);
    const double yPixelsPerUnit = field(76) / (field(84) * 100.0);
    const QRectF bounds(QPointF(field(8), field(12)), QPointF(field(16), field(20)));
    const QRectF frame(QPointF(field(24) * xPixelsPerUnit, field(28) * yPixelsPerUnit),
                       QPointF(field(32) * xPixelsPerUnit, field(36) * yPixelsPerUnit));
    if (!std::isfinite(frame.width()) || !std::isfinite(frame.height()) || frame.width() <= 0 || frame.height() <= 0
        || bounds.width() <= 0 || bounds.height() <= 0)
        return whole;
    return QRectF((bounds.left() - frame.left()) / frame.width(), (bounds.top() - frame.top()) / frame.height(),
                  bounds.width() / frame.width(), bounds.height() / frame.height());
}

namespace {

BitmapConversion drawnByConverter(const QString& kind, const QByteArray& metafile, QSize pixels)
{
    BitmapConversion result;
    const QStringList arguments{kind.toLower(), QString::number(pixels.width()), QString::number(pixels.height())};
    const ConverterRun run = runMetafileConverter(kind, arguments, metafile);
    if (!run.output.isEmpty())
        result.image = QImage::fromData(run.output, "PNG");
    if (result.image.isNull())
        result.reason = run.reason.isEmpty() ? QStringLiteral("the %1 picture could not be converted").arg(kind) : run.reason;
    return result;
}

} // namespace

BitmapConversion emfToBitmap(const QByteArray& emf, QSize pixels)
{
    if (QString fault = emfFault(emf); !fault.isEmpty())
        return {QImage(), std::move(fault)};
    return drawnByConverter(QStringLiteral("EMF"), emf, pixels);
}

BitmapConversion svgToBitmap(const QByteArray& svg, QSize pixels)
{
    return drawnByConverter(QStringLiteral("SVG"), svg, pixels);
}

BitmapConversion wmfToBitmap(const QByteArray& wmf, QSize pixels)
{
    if (QString fault = wmfFault(wmf); !fault.isEmpty())
        return {QImage(), std::move(fault)};
    return drawnByConverter(QStringLiteral("WMF"), wmf, pixels);
}

} // namespace veldra::word
