#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <chrono>

namespace veldra::word {

// A picture as a document package stores it: the media part's bytes, its content type
// ("image/png"; may be empty) and its part or file name or just its extension ("png"),
// used when the content type says nothing. Charts and SmartArt have no media; pass the content type
// of their part so that the reason given names them.
struct PictureMedia {
    QByteArray bytes;
    QString contentType;
    QString name;
};

// The part of the picture shown, as a:srcRect stores it: thousandths of a percent of the
// picture's width (left, right) or height (top, bottom) cut off each edge. Negative
// values add empty space on that side instead.
struct PictureCrop {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The picture drawn at its pixel size on white, in QImage::Format_RGB888; or a null
// image and a sentence saying why it could not be drawn (for the log).
struct RenderedPicture {
    QImage image;
    QString reason;

    bool ok() const { return !image.isNull(); }
};

// Limits for untrusted documents: the drawn size, the decoded size of a bitmap, the
// size of the stored media, the records of a metafile and the time its conversion may take.
// Beyond them a picture is not drawn.
namespace picture_limits {
inline constexpr int MaxSide = 10000;
inline constexpr qint64 MaxPixels = 25'000'000;
inline constexpr int MaxSourceSide = 30000;
inline constexpr qint64 MaxSourcePixels = 50'000'000;
inline constexpr qint64 MaxMediaBytes = 64 * 1024 * 1024;
inline constexpr qint64 MaxMetafileRecords = 1'000'000;
inline constexpr std::chrono::seconds MetafileTimeLimit{20};
}

// The pixel size of a picture extent given in EMU, at 96 pixels per inch (9525 EMU a
// pixel), rounded to the nearest pixel.
QSize pixelSizeFromExtent(qint64 widthEmu, qint64 heightEmu);

// Why a picture cannot be drawn at `pixels` with `crop`, whatever its media holds: no
// size, a size beyond the limits, a crop that leaves nothing. Empty when it can be.
QString citationFault(const PictureCrop& crop, QSize pixels);

// Draws the picture cropped and scaled to exactly `pixels`, its transparency flattened on
// white. PNG, JPEG, GIF, BMP, TIFF and WebP are decoded by Qt's image readers; SVG, EMF
// and WMF pictures are drawn by the converter program, in a process of its own under a
// time limit (SVG by QtSvg, EMF through an SVG conversion, WMF through a bitmap player). The format is
// recognised from the bytes first, then from the content type or name. Anything that
// cannot be drawn (a chart, SmartArt, an unknown or damaged format, a size beyond the
// limits) gives a reason, never an exception.
RenderedPicture renderPicture(const PictureMedia& media, const PictureCrop& crop, QSize pixels);

} // namespace veldra::word
