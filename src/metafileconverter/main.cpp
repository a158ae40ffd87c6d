// The metafile converter: a program of its own beside Veldra's executable, so that a
// vector picture that hangs, crashes or exhausts memory in a third-party converter, or
// takes long to draw, ends this process only. The renderer starts it for each EMF, WMF or
// SVG picture, with a time limit, and gets the picture drawn at the size it asks for:
//     veldra-metafile emf <width> <height> < picture.emf > picture.png
//     veldra-metafile wmf <width> <height> < picture.wmf > picture.png
//     veldra-metafile svg <width> <height> < picture.svg > picture.png
// The exit status says how it went (platform/core/ChildExitStatus.h).
#include "metafileconverter/Conversions.h"
#include "platform/core/ChildExitStatus.h"
#include "platform/core/ProcessLimits.h"

#include <QGuiApplication>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

namespace {

using namespace veldra::metafile;

// As large as the renderer hands over, and as large as a drawing it asks for can become.
constexpr std::size_t MaxInputBytes = 64u * 1024 * 1024;
constexpr std::size_t MaxOutputBytes = 256u * 1024 * 1024;
constexpr unsigned long MaxSide = 20000;
// The renderer's own time limit is shorter and ends the converter first; this one ends it if
// the renderer is gone.
constexpr std::uint64_t ProcessorSeconds = 60;
// A drawing of the largest size the renderer asks for (25 million pixels of four bytes), its
// PNG, the player's own 64 MB, the SVG reader's nodes of an EMF drawing (bounded by their
// count) and the libraries themselves fit well within this.
constexpr std::uint64_t AddressSpaceBytes = std::uint64_t(1) << 30;

bool readAll(int fd, std::string& bytes)
{
    char block[65536];
    for (;;) {
        const ssize_t got = read(fd, block, sizeof block);
        if (got == 0)
            return true;
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 || bytes.size() + std::size_t(got) > MaxInputBytes)
            return false;
        bytes.append(block, std::size_t(got));
    }
}

bool writeAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += std::size_t(wrote);
    }
    return true;
}

// A side of the drawing, or 0 when the argument is not one.
unsigned side(const char* text)
{
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 1 || value > MaxSide)
        return 0;
    return unsigned(value);
}

// Qt's SVG reader draws text with the fonts of a GUI application (without a display).
std::string drawSvg(const std::string& svg, unsigned width, unsigned height, std::string& refusal)
{
    if (svg.empty())
        return {};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "veldra-metafile";
    static char* argv[] = {name, nullptr};
    const QGuiApplication application(argc, argv);
    return svgToPng(svg, width, height, refusal);
}

int convert(int argc, char** argv, std::string&& picture, std::string& result)
{
    const std::string kind = argc > 1 ? argv[1] : "";
    if (argc != 4 || !side(argv[2]) || !side(argv[3]))
        return Refused;
    std::string refusal;
    if (kind == "emf")
        result = drawSvg(emfToSvg(std::move(picture)), side(argv[2]), side(argv[3]), refusal);
    else if (kind == "svg")
        result = drawSvg(picture, side(argv[2]), side(argv[3]), refusal);
    else if (kind == "wmf")
        result = wmfToPng(std::move(picture), side(argv[2]), side(argv[3]));
    else
        return Refused;
    if (!refusal.empty()) {
        result = refusal;
        return NotDrawn;
    }
    if (result.size() > MaxOutputBytes)
        return Refused;
    return result.empty() ? NotConverted : Converted;
}

} // namespace

int main(int argc, char** argv)
{
    if (!veldra::limitProcessResources(ProcessorSeconds, AddressSpaceBytes))
        return Refused;
    std::string picture;
    if (!readAll(STDIN_FILENO, picture))
        return Refused;
    std::string result;
    const int status = convert(argc, argv, std::move(picture), result);
    if ((status == Converted || status == NotDrawn) && !writeAll(STDOUT_FILENO, result))
        return Refused;
    // What the libraries keep for themselves goes back with the process.
    _exit(status);
}
