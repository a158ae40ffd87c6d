// The metafile converter: a program of its own beside Veldra's executable, so that a
// metafile that hangs, crashes or exhausts memory in a third-party converter ends this
// process only. The renderer starts it for each EMF or WMF picture, with a time limit:
//     veldra-metafile emf < picture.emf > picture.svg
//     veldra-metafile wmf <width> <height> < picture.wmf > picture.png
// Exit status 0: the converted document is on standard output; 1: the library could not
// convert the metafile; 2: wrong arguments, a metafile or result too large, or limits the
// system refused.
#include "metafileconverter/Conversions.h"
#include "metafileconverter/ResourceLimits.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

namespace {

using namespace veldra::metafile;

constexpr int Converted = 0;
constexpr int NotConverted = 1;
constexpr int Refused = 2;

// As large as the renderer hands over, and as large as a drawing it asks for can become.
constexpr std::size_t MaxInputBytes = 64u * 1024 * 1024;
constexpr std::size_t MaxOutputBytes = 256u * 1024 * 1024;
constexpr unsigned long MaxSide = 20000;

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

int convert(int argc, char** argv, std::string&& metafile, std::string& result)
{
    const std::string kind = argc > 1 ? argv[1] : "";
    if (kind == "emf" && argc == 2)
        result = emfToSvg(std::move(metafile));
    else if (kind == "wmf" && argc == 4 && side(argv[2]) && side(argv[3]))
        result = wmfToPng(std::move(metafile), side(argv[2]), side(argv[3]));
    else
        return Refused;
    if (result.size() > MaxOutputBytes)
        return Refused;
    return result.empty() ? NotConverted : Converted;
}

} // namespace

int main(int argc, char** argv)
{
    if (!limitResources())
        return Refused;
    std::string metafile;
    if (!readAll(STDIN_FILENO, metafile))
        return Refused;
    std::string result;
    const int status = convert(argc, argv, std::move(metafile), result);
    if (status == Converted && !writeAll(STDOUT_FILENO, result))
        return Refused;
    // What the libraries keep for themselves goes back with the process.
    _exit(status);
}
