#include "platform/word/InlineShape.h"

#include "platform/core/RegularFile.h"
#include "platform/word/detail/Model.h"
#include "platform/word/detail/Package.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace veldra::word {

namespace {

constexpr double kEmuPerPoint = 12700.0;
constexpr double kEmuPerPixel = 9525.0;  // at 96 DPI

int toPixels(qint64 emu)
{
    return static_cast<int>(std::min<qint64>(static_cast<qint64>(emu / kEmuPerPixel + 0.5), std::numeric_limits<int>::max()));
}

PictureData::Kind kindOf(detail::GraphicKind kind)
{
    switch (kind) {
    case detail::GraphicKind::Picture: return PictureData::Kind::Picture;
    case detail::GraphicKind::Chart: return PictureData::Kind::Chart;
    case detail::GraphicKind::SmartArt: return PictureData::Kind::SmartArt;
    case detail::GraphicKind::Ole: return PictureData::Kind::Ole;
    case detail::GraphicKind::Unknown: break;
    }
    return PictureData::Kind::Unknown;
}

QString extensionOf(const QString& name)
{
    const QString file = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
    const int dot = file.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : file.mid(dot + 1).toLower();
}

// The linked file, only when it lies inside the document's folder (or below it).
QString linkedFile(const QString& baseFolder, const QString& target, QString* error)
{
    if (baseFolder.isEmpty()) {
        *error = QStringLiteral("The picture is linked to a file, and the document's folder is not known.");
        return QString();
    }
    QString path = target;
    const QUrl url(target);
    if (url.isLocalFile())
        path = url.toLocalFile();
    else if (url.scheme().size() > 1)
        path.clear();   // a web address: never fetched
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString base = QFileInfo(baseFolder).canonicalFilePath();
    const QString resolved = path.isEmpty() ? QString() : QFileInfo(QDir(base).absoluteFilePath(path)).canonicalFilePath();
    if (resolved.isEmpty() || base.isEmpty() || !resolved.startsWith(base + QLatin1Char('/'))) {
        *error = QStringLiteral("The linked picture '%1' is not a file in the document's folder.").arg(target);
        return QString();
    }
    return resolved;
}

} // namespace

InlineShape::InlineShape(std::shared_ptr<const detail::Model> model, int index) : model_(std::move(model)), index_(index) {}

int InlineShape::type() const
{
    return model_ ? model_->shapes[static_cast<size_t>(index_)].type : 0;
}

double InlineShape::width() const
{
    return model_ ? static_cast<double>(model_->shapes[static_cast<size_t>(index_)].cx) / kEmuPerPoint : 0.0;
}

double InlineShape::height() const
{
    return model_ ? static_cast<double>(model_->shapes[static_cast<size_t>(index_)].cy) / kEmuPerPoint : 0.0;
}

int InlineShape::pixelWidth() const
{
    return model_ ? toPixels(model_->shapes[static_cast<size_t>(index_)].cx) : 0;
}

int InlineShape::pixelHeight() const
{
    return model_ ? toPixels(model_->shapes[static_cast<size_t>(index_)].cy) : 0;
}

Range InlineShape::range() const
{
    if (!model_)
        return Range();
    const int position = model_->shapes[static_cast<size_t>(index_)].position;
    return Range(model_, position, position + 1);
}

QString InlineShape::mediaPart() const
{
    return model_ ? model_->shapes[static_cast<size_t>(index_)].mediaPart : QString();
}

QString InlineShape::linkTarget() const
{
    return model_ ? model_->shapes[static_cast<size_t>(index_)].linkTarget : QString();
}

QRectF InlineShape::crop() const
{
    if (!model_)
        return QRectF(0, 0, 1, 1);
    const auto& [left, top, right, bottom] = model_->shapes[static_cast<size_t>(index_)].crop;
    return QRectF(left, top, std::max(0.0, 1.0 - left - right), std::max(0.0, 1.0 - top - bottom));
}

PictureData InlineShape::picture() const
{
    PictureData data;
    if (!model_) {
        data.error = QStringLiteral("No picture.");
        return data;
    }
    const detail::ShapeRec& shape = model_->shapes[static_cast<size_t>(index_)];
    data.kind = kindOf(shape.kind);
    data.extentCx = shape.cx;
    data.extentCy = shape.cy;
    data.crop = crop();
    switch (data.kind) {
    case PictureData::Kind::Chart:
        data.error = QStringLiteral("The graphic is a chart, which cannot be rendered as a picture.");
        return data;
    case PictureData::Kind::SmartArt:
        data.error = QStringLiteral("The graphic is a SmartArt diagram, which cannot be rendered as a picture.");
        return data;
    case PictureData::Kind::Unknown:
        data.error = QStringLiteral("The graphic is not a picture and cannot be rendered.");
        return data;
    default:
        break;
    }
    if (pixelWidth() > MaxPictureSidePixels || pixelHeight() > MaxPictureSidePixels) {
        data.error = QStringLiteral("The picture is larger than %1 pixels a side.").arg(MaxPictureSidePixels);
        return data;
    }
    if (!shape.mediaPart.isEmpty()) {
        QString reason;
        const auto bytes = model_->package->read(shape.mediaPart, &reason);
        if (!bytes) {
            data.error = reason.isEmpty() ? QStringLiteral("The picture's part %1 is missing.").arg(shape.mediaPart) : reason;
            return data;
        }
        data.bytes = *bytes;
        data.contentType = model_->package->contentType(shape.mediaPart);
        data.extension = extensionOf(shape.mediaPart);
        return data;
    }
    if (shape.linkTarget.isEmpty()) {
        data.error = QStringLiteral("The picture has no media.");
        return data;
    }
    const QString file = linkedFile(model_->baseFolder, shape.linkTarget, &data.error);
    if (file.isEmpty())
        return data;
    FileContent content = readRegularFile(file, detail::MaxPartBytes);
    if (!content.ok()) {
        data.error = content.problem;
        return data;
    }
    data.bytes = std::move(content.bytes);
    data.extension = extensionOf(file);
    return data;
}

} // namespace veldra::word
