#pragma once

#include "platform/word/InlineShape.h"
#include "platform/word/picture/PictureRenderer.h"

#include <QHash>
#include <QString>

#include <chrono>
#include <deque>

namespace veldra {

// Bounds of the picture work of one Word import.
namespace import_picture_limits {
// All drawing of pictures together, as it is measured while it runs; the pictures after it
// are not drawn.
inline constexpr std::chrono::seconds DrawingTime{120};
// The drawn pictures kept for later citations of the same media at the same size and crop.
inline constexpr qint64 KeptBytes = 256 * 1024 * 1024;
}

// The pictures of one Word import. A document may cite one media part many times: each
// media is read and drawn once for each size and crop it is shown at, and a later citation
// gets that drawing; a media that could not be drawn is not tried again, and its citations
// get the same reason. Drawing all pictures together may take `drawingTime`; the pictures
// after it are not drawn, with the reason.
class PictureWork {
public:
    explicit PictureWork(std::chrono::milliseconds drawingTime);

    // The shape's picture at its size and crop, or why it is not drawn.
    word::RenderedPicture draw(const word::InlineShape& shape);
    // Whether the drawing time is spent, so that no further picture is drawn.
    bool drawingTimeIsSpent() const { return spent_ >= drawingTime_; }
    std::chrono::milliseconds drawingTime() const { return drawingTime_; }

private:
    word::RenderedPicture drawTimed(const word::InlineShape& shape, const QString& media);
    void keep(const QString& citation, const word::RenderedPicture& picture);

    std::chrono::milliseconds drawingTime_;
    std::chrono::nanoseconds spent_{0};
    // Why a media was not drawn, by media.
    QHash<QString, QString> mediaFailures_;
    // Drawings and failures by citation (media, size and crop), with their order and the
    // bytes the drawings hold, so that the oldest go first once they hold too much.
    QHash<QString, word::RenderedPicture> citations_;
    std::deque<QString> keptOrder_;
    qint64 keptBytes_ = 0;
};

} // namespace veldra
