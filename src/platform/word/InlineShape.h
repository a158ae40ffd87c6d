#pragma once

#include "platform/word/Range.h"
#include "platform/word/WordConstants.h"

#include <QByteArray>
#include <QRectF>
#include <QString>

namespace veldra::word {

// Pictures larger than this on a side (at 96 DPI) are not handed to a decoder.
inline constexpr int MaxPictureSidePixels = 20000;

// What a picture renderer needs of an inline picture.
struct PictureData {
    enum class Kind { Picture, Chart, SmartArt, Ole, Unknown };

    Kind kind = Kind::Unknown;
    QByteArray bytes;           // the stored media (or an OLE object's preview), empty when unreadable
    QString contentType;        // e.g. "image/png", "image/x-emf"; "" when the package names none
    QString extension;          // lower case without the dot, e.g. "png", "emf"
    // The part of the media shown, as fractions of its width and height (0,0,1,1 uncropped).
    QRectF crop{0, 0, 1, 1};
    qint64 extentCx = 0;        // the size on the page, EMU (914400 per inch)
    qint64 extentCy = 0;
    QString error;              // why no bytes are given; "" when bytes were read

    bool ok() const { return error.isEmpty(); }
};

class InlineShape {
public:
    InlineShape() = default;
    InlineShape(std::shared_ptr<const detail::Model> model, int index);

    bool isNull() const { return !model_; }
    // inline_shape_type::…: Picture, LinkedPicture, EmbeddedOleObject, Chart, SmartArt, …
    int type() const;
    // Size on the page in points.
    double width() const;
    double height() const;
    // Size in pixels at the fixed 96 DPI of the picture renderer.
    int pixelWidth() const;
    int pixelHeight() const;
    // Its "/" character.
    Range range() const;
    // Where its media comes from, without reading it: the stored media part's name, or the
    // linked file's target as the relationship gives it; both empty for graphics without
    // media. Citations of one picture name the same part.
    QString mediaPart() const;
    QString linkTarget() const;
    // The part of the media shown, as fractions of its width and height (0,0,1,1 uncropped).
    QRectF crop() const;
    // The media and how to show it. A linked picture is read from a file next to the
    // document, and only from inside the document's folder. Charts, SmartArt and unknown
    // graphics come without bytes (kind says which); so do pictures above
    // MaxPictureSidePixels, media above the part size limit and missing media.
    PictureData picture() const;

private:
    std::shared_ptr<const detail::Model> model_;
    int index_ = -1;
};

} // namespace veldra::word
