// Starts the helper `program` through one of Veldra's starters, `preview` or `picture`, and
// waits for it as Veldra does, so that a test can kill this process meanwhile.
#include "generation/preview/PreviewTransform.h"
#include "platform/word/picture/MetafileConverter.h"

#include <QCoreApplication>

#include <cstring>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QString program = QString::fromLocal8Bit(argv[2]);
    if (std::strcmp(argv[1], "preview") == 0) {
        veldra::setPreviewTransformForTesting(program, veldra::PreviewCap);
        veldra::runPreviewTransform(QStringLiteral("spl.xsl"), {}, QByteArrayLiteral("<document/>"));
    } else {
        veldra::word::setMetafileConverterForTesting(program, std::chrono::minutes(10));
        veldra::word::runMetafileConverter(QStringLiteral("WMF"), {}, QByteArray());
    }
    return 0;
}
