#include "metafileconverter/Conversions.h"

#include <emf2svg.h>

#include <cstdlib>

namespace veldra::metafile {

std::string emfToSvg(std::string emf)
{
    generatorOptions options{};
    options.nameSpace = const_cast<char*>("svg");
    options.svgDelimiter = true;
    // The converter draws only a part of the EMF+ records, while the files word
    // processors write carry a complete plain EMF drawing beside them: that one is drawn.
    options.emfplus = false;
    char* svg = nullptr;
    size_t length = 0;
    std::string result;
    if (emf2svg(emf.data(), emf.size(), &svg, &length, &options) && svg)
        result.assign(svg, length);
    std::free(svg);
    return result;
}

} // namespace veldra::metafile
