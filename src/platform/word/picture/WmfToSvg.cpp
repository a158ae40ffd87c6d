#include "platform/word/picture/MetafileToSvg.h"

#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <cstdlib>
#include <memory>

namespace veldra::word {

namespace {

struct ApiDeleter {
    void operator()(wmfAPI* api) const { wmf_api_destroy(api); }
};
using Api = std::unique_ptr<wmfAPI, ApiDeleter>;

// The player measures text with real font files even when it only writes SVG, and its
// built-in map names PostScript fonts that a desktop seldom has. The standard names are
// mapped to the DejaVu faces (the system's font package); without them every WMF
// conversion fails, which the caller reports as an unrenderable picture.
char fontFolder[] = "/usr/share/fonts/truetype/dejavu";
char* fontFolders[] = {fontFolder, nullptr};

wmfMapping standardFonts[] = {
    {const_cast<char*>("Times-Roman"), const_cast<char*>("DejaVuSerif.ttf"), FT_ENCODING_NONE},
    {const_cast<char*>("Times-Italic"), const_cast<char*>("DejaVuSerif-Italic.ttf"), FT_ENCODING_NONE},
    {const_cast<char*>("Times-Bold"), const_cast<char*>("DejaVuSerif-Bold.ttf"), FT_ENCODING_NONE},
    {const_cast<char*>("Times-BoldItalic"), const_cast<char*>("DejaVuSerif-BoldItalic.ttf"), FT_ENCODING_NONE},
    {const_cast<char*>("Helvetica"), const_cast<char*>("DejaVuSans.ttf"), FT_ENCODING_NONE},
    {const_cast<char*>("Helvetica-Oblique"), const_cast<char*>("DejaVuSans-Oblique.ttf"), FT_ENCODING_NONE},
    {const_cast<char*>("Helvetica-Bold"), const_cast<char*>("DejaVuSans-Bold.ttf"), FT_ENCODING_NONE},
    {const_cast<char*>("Helvetica-BoldOblique"), const_cast<char*>("DejaVuSans-BoldOblique.ttf"), FT_ENCODING_NONE},
    {const_cast<char*>("Courier"), const_cast<char*>("DejaVuSansMono.ttf"), FT_ENCODING_NONE},
    {const_cast<char*>("Courier-Oblique"), const_cast<char*>("DejaVuSansMono-Oblique.ttf"), FT_ENCODING_NONE},
    {const_cast<char*>("Courier-Bold"), const_cast<char*>("DejaVuSansMono-Bold.ttf"), FT_ENCODING_NONE},
    {const_cast<char*>("Courier-BoldOblique"), const_cast<char*>("DejaVuSansMono-BoldOblique.ttf"), FT_ENCODING_NONE},
    {const_cast<char*>("Symbol"), const_cast<char*>("DejaVuSans.ttf"), FT_ENCODING_NONE},
    {nullptr, nullptr, FT_ENCODING_NONE},
};

Api createSvgPlayer()
{
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    options.fontdirs = fontFolders;
    options.font.ps = standardFonts;
    wmfAPI* api = nullptr;
    // Quiet: a damaged picture is reported to the caller, not on the terminal.
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_FONTDIRS | WMF_OPT_FONTMAP | WMF_OPT_IGNORE_NONFATAL
        | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api)
            wmf_api_destroy(api);
        return nullptr;
    }
    return Api(api);
}

// Plays the metafile into the SVG device; the SVG text is left in the device's stream.
bool play(wmfAPI* api, QByteArray& input)
{
    if (wmf_mem_open(api, reinterpret_cast<unsigned char*>(input.data()), input.size()) != wmf_E_None)
        return false;
    wmfD_Rect bounds{};
    if (wmf_scan(api, 0, &bounds) != wmf_E_None)
        return false;
    unsigned int width = 0;
    unsigned int height = 0;
    if (wmf_display_size(api, &width, &height, 96, 96) != wmf_E_None || width == 0 || height == 0)
        return false;
    wmf_svg_t* device = WMF_SVG_GetData(api);
    device->bbox = bounds;
    device->width = width;
    device->height = height;
    device->flags |= WMF_SVG_INLINE_IMAGES;
    return wmf_play(api, 0, &bounds) == wmf_E_None;
}

} // namespace

SvgConversion wmfToSvg(const QByteArray& wmf)
{
    SvgConversion result;
    const Api api = createSvgPlayer();
    if (!api) {
        result.reason = QStringLiteral("the WMF converter could not be started");
        return result;
    }
    wmf_svg_t* device = WMF_SVG_GetData(api.get());
    device->out = wmf_stream_create(api.get(), nullptr);
    QByteArray input = wmf; // the player reads from a mutable buffer
    const bool played = device->out && play(api.get(), input);
    char* svg = nullptr;
    unsigned long length = 0;
    if (device->out)
        wmf_stream_destroy(api.get(), device->out, &svg, &length);
    if (played && svg && length > 0)
        result.svg = QByteArray(svg, static_cast<qsizetype>(length));
    else
        result.reason = QStringLiteral("the WMF picture could not be converted");
    if (svg)
        wmf_free(api.get(), svg);
    return result;
}

} // namespace veldra::word
