// The picture renderer: any media must be drawn or refused with a reason. The first byte
// chooses the declared content type and the crop, so that the fuzzer also reaches the paths
// chosen by type rather than by signature.
#include "FuzzTargets.h"
#include "harness/FuzzCheck.h"
#include "platform/word/picture/PictureRenderer.h"

#include <QGuiApplication>

using namespace veldra::word;
using veldra::fuzz::require;

namespace {

const char* const declaredTypes[] = {"", "image/png", "image/jpeg", "image/gif", "image/bmp", "image/tiff",
                                     "image/svg+xml", "image/x-emf", "image/x-wmf"};

// Drawing needs a GUI application: the test run has one; the fuzzer program makes its own.
void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "fuzz_picture_renderer";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(argc, argv);
}

} // namespace

void veldra::fuzz::pictureRenderer(const QByteArray& input)
{
    ensureApplication();
    if (input.isEmpty())
        return;
    const auto selector = static_cast<unsigned char>(input[0]);
    const PictureMedia media{input.mid(1), QString::fromLatin1(declaredTypes[selector % std::size(declaredTypes)]), QString()};
    const PictureCrop crop = (selector & 0x80) ? PictureCrop{10000, -5000, 20000, 0} : PictureCrop{};
    const RenderedPicture rendered = renderPicture(media, crop, QSize(64, 48));
    require(rendered.ok() || !rendered.reason.isEmpty(), "a picture that is not drawn says why");
}
