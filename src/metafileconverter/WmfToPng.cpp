#include "metafileconverter/Conversions.h"

#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace veldra::metafile {

namespace {

// The player measures text with real font files whatever it draws into, and its
// built-in map names PostScript fonts that a desktop seldom has. The standard names are
// mapped to the DejaVu faces (the system's font package); without them every WMF
// conversion fails, which the renderer reports as an unrenderable picture.
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

// The player allocates as a metafile's records tell it to; a hostile file could ask for
// gigabytes. Its memory goes through this budget, and a request beyond it fails, which the
// player reports as a failed conversion.
class MemoryBudget {
public:
    static constexpr std::size_t limit = 64u * 1024 * 1024;

    static void* allocate(void* context, std::size_t size) { return budget(context).resize(nullptr, size); }
    static void* reallocate(void* context, void* memory, std::size_t size) { return budget(context).resize(memory, size); }
    static void release(void* context, void* memory)
    {
        if (!memory)
            return;
        Header* header = headerOf(memory);
        budget(context).used_ -= header->size;
        std::free(header);
    }

private:
    // Each block carries its size in front, so that a reallocation or a release can count.
    struct alignas(std::max_align_t) Header {
        std::size_t size;
    };

    static MemoryBudget& budget(void* context) { return *static_cast<MemoryBudget*>(context); }
    static Header* headerOf(void* memory) { return static_cast<Header*>(memory) - 1; }

    void* resize(void* memory, std::size_t size)
    {
        Header* old = memory ? headerOf(memory) : nullptr;
        const std::size_t oldSize = old ? old->size : 0;
        if (size > limit || used_ - oldSize + size > limit)
            return nullptr;
        auto* header = static_cast<Header*>(std::realloc(old, sizeof(Header) + size));
        if (!header)
            return nullptr;
        header->size = size;
        used_ = used_ - oldSize + size;
        return header + 1;
    }

    std::size_t used_ = 0;
};

struct ApiDeleter {
    void operator()(wmfAPI* api) const { wmf_api_destroy(api); }
};
using Api = std::unique_ptr<wmfAPI, ApiDeleter>;

// The bitmap device (rather than the SVG one, which rounds every colour to the nearest
// named SVG colour), writing PNG through a callback.
Api createBitmapPlayer(MemoryBudget& budget)
{
    wmfAPI_Options options{};
    options.context = &budget;
    options.malloc = MemoryBudget::allocate;
    options.realloc = MemoryBudget::reallocate;
    options.free = MemoryBudget::release;
    options.function = wmf_gd_function;
    options.fontdirs = fontFolders;
    options.font.ps = standardFonts;
    wmfAPI* api = nullptr;
    // Quiet: a damaged picture is reported to the caller, not on the terminal.
    const unsigned long flags = WMF_OPT_ALLOC | WMF_OPT_FUNCTION | WMF_OPT_FONTDIRS | WMF_OPT_FONTMAP | WMF_OPT_IGNORE_NONFATAL
        | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api)
            wmf_api_destroy(api);
        return nullptr;
    }
    return Api(api);
}

int collect(void* png, char* bytes, int length)
{
    static_cast<std::string*>(png)->append(bytes, static_cast<std::size_t>(length));
    return length;
}

std::uint16_t u16(const std::string& bytes, std::size_t at)
{
    return std::uint16_t(std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8);
}

std::int16_t i16(const std::string& bytes, std::size_t at)
{
    return std::int16_t(u16(bytes, at));
}

// The placeable header's rectangle in the player's units (points from the window
// origin, which files put at the rectangle's corner); false without a usable header.
bool placeableFrame(const std::string& wmf, wmfD_Rect& frame)
{
    if (wmf.size() < 22 || u16(wmf, 0) != 0xCDD7 || u16(wmf, 2) != 0x9AC6)
        return false;
    const int width = i16(wmf, 10) - i16(wmf, 6);
    const int height = i16(wmf, 12) - i16(wmf, 8);
    const unsigned unitsPerInch = u16(wmf, 14);
    if (width <= 0 || height <= 0 || unitsPerInch == 0)
        return false;
    frame.TL = {0, 0};
    frame.BR = {float(width * 72.0 / unitsPerInch), float(height * 72.0 / unitsPerInch)};
    return true;
}

bool play(wmfAPI* api, std::string& input, unsigned width, unsigned height)
{
    if (wmf_mem_open(api, reinterpret_cast<unsigned char*>(input.data()), long(input.size())) != wmf_E_None)
        return false;
    wmfD_Rect drawn{};
    if (wmf_scan(api, 0, &drawn) != wmf_E_None)
        return false;
    wmfD_Rect frame = drawn;
    placeableFrame(input, frame);
    wmf_gd_t* device = WMF_GD_GetData(api);
    device->type = wmf_gd_png;
    device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
    device->width = width;
    device->height = height;
    device->bbox = frame;
    return wmf_play(api, 0, &frame) == wmf_E_None;
}

} // namespace

std::string wmfToPng(std::string wmf, unsigned width, unsigned height)
{
    MemoryBudget budget;
    const Api api = createBitmapPlayer(budget);
    if (!api)
        return {};
    std::string png;
    wmf_gd_t* device = WMF_GD_GetData(api.get());
    device->sink.context = &png;
    device->sink.function = collect;
    return play(api.get(), wmf, width, height) ? png : std::string();
}

} // namespace veldra::metafile
