#include "generation/report/ReportPictures.h"

#include "generation/FileCopy.h"
#include "platform/core/AppPaths.h"
#include "platform/core/FileSave.h"
#include "platform/core/VbError.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

namespace veldra {

namespace {

const QString Source = QStringLiteral("ReportPictures");

// A picture file of the key in the Images folder (the tree's rule: the name up to its first
// "." in lower case), or "".
QString pictureOf(const QString& imageKey)
{
    const QDir images(app_paths::inProgram(QStringLiteral("Images")));
    for (const QString& name : images.entryList(QDir::Files, QDir::Name))
        if (name.section(QLatin1Char('.'), 0, 0).toLower() == imageKey)
            return images.filePath(name);
    return QString();
}

QImage onWhite(const QImage& picture)
{
    QImage flat(picture.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, picture);
    return flat;
}

} // namespace

void copyReportPicture(const QString& imageKey, const QString& targetFolder)
{
    const QString target = targetFolder + QLatin1Char('/') + imageKey + QStringLiteral(".jpg");
    const QString jpeg = app_paths::inProgram(QStringLiteral("Images/") + imageKey + QStringLiteral(".jpg"));
    if (QFileInfo::exists(jpeg)) {
        copyFileReplacing(jpeg, target);
        return;
    }
    const QString picture = imageKey.isEmpty() ? QString() : pictureOf(imageKey);
    const QImage image(picture);
    if (image.isNull())
        throw VbError(err::Image, Source, QStringLiteral("There is no picture for '%1'.").arg(imageKey));
    QByteArray jpegBytes;
    QBuffer buffer(&jpegBytes);
    if (!buffer.open(QIODevice::WriteOnly) || !onWhite(image).save(&buffer, "JPG"))
        throw VbError(err::Image, Source, QStringLiteral("Cannot write %1").arg(target));
    if (const QString problem = saveReplacing(target, jpegBytes); !problem.isEmpty())
        throw VbError(err::Image, Source, QStringLiteral("Cannot write %1: %2").arg(target, problem));
}

} // namespace veldra
