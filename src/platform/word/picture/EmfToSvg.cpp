#include "platform/word/picture/MetafileConversion.h"

#include <emf2svg.h>

#include <cstdlib>

namespace veldra::word {

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
    if (ok && svg && length > 0)
        result.svg = QByteArray(svg, static_cast<qsizetype>(length));
    else
        result.reason = QStringLiteral("the EMF picture could not be converted");
    std::free(svg);
    return result;
}

} // namespace veldra::word
