// libFuzzer target for the picture renderer: any media must be drawn or refused with a
// reason. The first byte chooses the declared content type and the crop, so that the
// fuzzer also reaches the paths chosen by type rather than by signature.
#include "platform/word/picture/PictureRenderer.h"

#include <QByteArray>
#include <QGuiApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace veldra::word;

namespace {

const char* const declaredTypes[] = {"", "image/png", "image/jpeg", "image/gif", "image/bmp", "image/tiff",
                                     "image/svg+xml", "image/x-emf", "image/x-wmf"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "picture_renderer_fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = (qputenv("QT_QPA_PLATFORM", "offscreen"), new QGuiApplication(argc, argv));
    (void)app;
    if (size == 0)
        return 0;
    const uint8_t selector = data[0];
    const PictureMedia media{QByteArray(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1)),
                             QString::fromLatin1(declaredTypes[selector % std::size(declaredTypes)]), QString()};
    const PictureCrop crop = (selector & 0x80) ? PictureCrop{10000, -5000, 20000, 0} : PictureCrop{};
    const RenderedPicture rendered = renderPicture(media, crop, QSize(64, 48));
    if (!rendered.ok() && rendered.reason.isEmpty())
        std::abort();
    return 0;
}
