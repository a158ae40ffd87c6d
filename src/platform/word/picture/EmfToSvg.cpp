#include "platform/word/picture/MetafileConversion.h"

#include <QtEndian>

#include <emf2svg.h>

#include <cmath>
#include <cstdlib>

namespace veldra::word {

namespace {

// The converter sizes its document by the header's bounds, the device pixels the records
// draw on; the picture is the header's frame (hundredths of a millimetre), converted
// to device pixels by the reference device's size in pixels and millimetres.
QRectF boundsWithinFrame(const QByteArray& emf)
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

} // namespace

SvgConversion emfToSvg(const QByteArray& emf)
{
    generatorOptions options{};
    options.nameSpace = const_cast<char*>("svg");
    options.svgDelimiter = true;
    // The converter draws only a part of the EMF+ records, while the files word
    // processors write carry a complete plain EMF drawing beside them: that one is drawn.
    options.emfplus = false;
    QByteArray input = emf; // the converter takes a mutable buffer
    char* svg = nullptr;
    size_t length = 0;
    const int ok = emf2svg(input.data(), static_cast<size_t>(input.size()), &svg, &length, &options);
    SvgConversion result;
    if (ok && svg && length > 0) {
        result.svg = QByteArray(svg, static_cast<qsizetype>(length));
        result.partOfFrame = boundsWithinFrame(emf);
    } else
        result.reason = QStringLiteral("the EMF picture could not be converted");
    std::free(svg);
    return result;
}

} // namespace veldra::word
