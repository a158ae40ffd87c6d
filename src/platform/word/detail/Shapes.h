#pragma once

#include "platform/word/detail/Model.h"
#include "platform/word/detail/Package.h"

#include <QHash>

#include <libxml/tree.h>

#include <optional>
#include <vector>

namespace veldra::word::detail {

// A DrawingML picture, inline (wp:inline) or floating (wp:anchor): its extent, what kind
// of graphic it holds, where its media is and how it is cropped.
ShapeRec shapeFromInline(xmlNode* inl, const QHash<QString, Relationship>& rels);
// A VML picture (w:pict) or an OLE object's preview (w:object); nullopt when the
// container holds no picture (a text box, a drawn shape). *floating tells a picture
// placed on the page from one in line with the text.
std::optional<ShapeRec> shapeFromVml(xmlNode* container, const QHash<QString, Relationship>& rels, bool ole, bool* floating);
// The pictures of a VML group (v:group) in a w:pict, in document order.
std::vector<ShapeRec> picturesOfVmlGroup(xmlNode* container, const QHash<QString, Relationship>& rels);
// Whether a floating DrawingML object (wp:anchor) is a picture.
bool isPicture(xmlNode* anchor);
// Whether a DrawingML object is a drawn group or canvas, which may hold pictures.
bool isDrawnGroup(xmlNode* drawingObject);
// The pictures a drawn group or canvas holds, each with its own extent, in document order.
std::vector<ShapeRec> picturesOfGroup(xmlNode* drawingObject, const QHash<QString, Relationship>& rels);
// A CSS length of VML ("72pt", "1in", "96px", "2.54cm") in EMU; 0 when unreadable.
qint64 vmlLengthToEmu(const QString& length);

} // namespace veldra::word::detail
