#include "platform/word/detail/Shapes.h"

#include "platform/word/WordConstants.h"
#include "platform/word/detail/Xml.h"

namespace veldra::word::detail {

namespace {

// The largest extent DrawingML can state, 2147483647 points (ST_PositiveCoordinate). A VML
// length or an object's original size beyond it, infinity included, is held there, so that
// no size becomes a number that wrapped round.
constexpr qint64 kLargestExtentEmu = 27273042316900;
constexpr qint64 kEmuPerTwip = 635;

// A computed length as EMU: no size for a negative or zero one and for what is not a number.
qint64 emuFrom(double emu)
{
    if (!(emu > 0))
        return 0;
    return emu < static_cast<double>(kLargestExtentEmu) ? static_cast<qint64>(emu + 0.5) : kLargestExtentEmu;
}

// An object's original size, in twentieths of a point, as EMU.
qint64 twipsToEmu(qint64 twips)
{
    return std::clamp<qint64>(twips, 0, kLargestExtentEmu / kEmuPerTwip) * kEmuPerTwip;
}

void setMedia(ShapeRec& shape, const QHash<QString, Relationship>& rels, const QString& embedId, const QString& linkId)
{
    if (const auto it = rels.constFind(embedId); !embedId.isEmpty() && it != rels.cend() && !it->external)
        shape.mediaPart = it->target;
    if (const auto it = rels.constFind(linkId); !linkId.isEmpty() && it != rels.cend()) {
        shape.linkTarget = it->target;
        shape.type = inline_shape_type::LinkedPicture;
    }
    // An embed id that names an external target is a link as well.
    if (const auto it = rels.constFind(embedId); !embedId.isEmpty() && it != rels.cend() && it->external) {
        shape.linkTarget = it->target;
        shape.type = inline_shape_type::LinkedPicture;
    }
}

// srcRect values are thousandths of a percent; negative ones extend the picture, which
// the renderer does not do, so they count as no crop.
double cropFraction(const xmlNode* rect, const char* side)
{
    const qint64 value = int64Attr(rect, side, 0);
    return std::clamp(static_cast<double>(value) / 100000.0, 0.0, 1.0);
}

// VML crop values are fractions ("0.1") or 1/65536ths ("6554f").
double vmlCropFraction(const QString& value)
{
    if (value.isEmpty())
        return 0.0;
    bool ok = false;
    const double fraction = value.endsWith(QLatin1Char('f')) ? value.chopped(1).toDouble(&ok) / 65536.0 : value.toDouble(&ok);
    return ok && fraction > 0 ? std::min(fraction, 1.0) : 0.0;  // not a number: no crop
}

QString styleValue(const QString& style, const QString& key)
{
    for (const QString& part : style.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int colon = part.indexOf(QLatin1Char(':'));
        if (colon > 0 && part.left(colon).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return part.mid(colon + 1).trimmed();
    }
    return QString();
}

bool isVmlShape(const xmlNode* node)
{
    return (isNamed(node, "shape") || isNamed(node, "rect") || isNamed(node, "image")) && !inWordNamespace(node);
}

xmlNode* findVmlShape(xmlNode* container)
{
    for (xmlNode* child : children(container))
        if (isVmlShape(child))
            return child;
    return nullptr;
}

void setVmlMedia(ShapeRec& shape, xmlNode* imageData, const QHash<QString, Relationship>& rels)
{
    QString embed = relAttr(imageData, "id");
    if (embed.isEmpty())
        embed = attr(imageData, "relid");
    const QString link = relAttr(imageData, "href");
    const bool wasOle = shape.type == inline_shape_type::EmbeddedOleObject;
    setMedia(shape, rels, embed, link);
    if (wasOle)
        shape.type = inline_shape_type::EmbeddedOleObject;
    shape.crop = {vmlCropFraction(attr(imageData, "cropleft")), vmlCropFraction(attr(imageData, "croptop")),
                  vmlCropFraction(attr(imageData, "cropright")), vmlCropFraction(attr(imageData, "cropbottom"))};
}

// A length inside a VML group, in the group's coordinate units, as EMU.
qint64 groupLengthToEmu(const QString& length, double emuPerUnit)
{
    bool ok = false;
    const double units = length.toDouble(&ok);
    return ok ? emuFrom(units * emuPerUnit) : 0;
}

// The pictures of a VML group whose extent is widthEmu x heightEmu. Its members are placed
// and sized in the group's coordinates (coordsize, 1000 x 1000 when absent).
void collectVmlGroupPictures(xmlNode* group, qint64 widthEmu, qint64 heightEmu, const QHash<QString, Relationship>& rels,
                             std::vector<ShapeRec>& into)
{
    const QStringList coordinates = attr(group, "coordsize").split(QLatin1Char(','));
    const double unitsWide = coordinates.size() == 2 && coordinates[0].toDouble() > 0 ? coordinates[0].toDouble() : 1000.0;
    const double unitsHigh = coordinates.size() == 2 && coordinates[1].toDouble() > 0 ? coordinates[1].toDouble() : 1000.0;
    for (xmlNode* child : children(group)) {
        const QString style = attr(child, "style");
        const qint64 cx = groupLengthToEmu(styleValue(style, QStringLiteral("width")), double(widthEmu) / unitsWide);
        const qint64 cy = groupLengthToEmu(styleValue(style, QStringLiteral("height")), double(heightEmu) / unitsHigh);
        if (isNamed(child, "group") && !inWordNamespace(child)) {
            collectVmlGroupPictures(child, cx, cy, rels, into);
        } else if (xmlNode* imageData = isVmlShape(child) ? descendant(child, "imagedata") : nullptr) {
            ShapeRec shape;
            shape.cx = cx;
            shape.cy = cy;
            setVmlMedia(shape, imageData, rels);
            into.push_back(std::move(shape));
        }
    }
}

void readPicture(xmlNode* holder, const QHash<QString, Relationship>& rels, ShapeRec& shape)
{
    shape.kind = GraphicKind::Picture;
    shape.type = inline_shape_type::Picture;
    xmlNode* blipFill = descendant(holder, "blipFill");
    xmlNode* blip = descendant(blipFill, "blip");
    setMedia(shape, rels, relAttr(blip, "embed"), relAttr(blip, "link"));
    if (xmlNode* rect = descendant(blipFill, "srcRect"))
        shape.crop = {cropFraction(rect, "l"), cropFraction(rect, "t"), cropFraction(rect, "r"), cropFraction(rect, "b")};
}

void collectGroupPictures(xmlNode* node, const QHash<QString, Relationship>& rels, std::vector<ShapeRec>& into)
{
    for (xmlNode* child : children(node)) {
        if (inWordNamespace(child))
            continue;   // a text box's content is read as text, with its own pictures
        if (!isNamed(child, "pic")) {
            collectGroupPictures(child, rels, into);
            continue;
        }
        ShapeRec shape;
        readPicture(child, rels, shape);
        if (xmlNode* extent = descendant(descendant(child, "xfrm"), "ext")) {
            shape.cx = std::max<qint64>(0, int64Attr(extent, "cx", 0));
            shape.cy = std::max<qint64>(0, int64Attr(extent, "cy", 0));
        }
        into.push_back(std::move(shape));
    }
}

} // namespace

qint64 vmlLengthToEmu(const QString& length)
{
    static const std::pair<const char*, double> units[] = {
        {"pt", 12700.0}, {"in", 914400.0}, {"cm", 360000.0}, {"mm", 36000.0}, {"pc", 152400.0}, {"px", 9525.0}};
    const QString text = length.trimmed().toLower();
    for (const auto& [unit, emu] : units) {
        if (text.endsWith(QLatin1String(unit))) {
            bool ok = false;
            const double value = text.chopped(2).toDouble(&ok);
            return ok ? emuFrom(value * emu) : 0;
        }
    }
    bool ok = false;
    const double pixels = text.toDouble(&ok);
    return ok ? emuFrom(pixels * 9525.0) : 0;
}

ShapeRec shapeFromInline(xmlNode* inl, const QHash<QString, Relationship>& rels)
{
    ShapeRec shape;
    if (xmlNode* extent = descendant(inl, "extent")) {
        shape.cx = std::max<qint64>(0, int64Attr(extent, "cx", 0));
        shape.cy = std::max<qint64>(0, int64Attr(extent, "cy", 0));
    }
    xmlNode* data = descendant(inl, "graphicData");
    const QString uri = attr(data, "uri");
    if (uri.endsWith(QLatin1String("/picture"))) {
        readPicture(data, rels, shape);
    } else if (uri.endsWith(QLatin1String("/chart"))) {
        shape.kind = GraphicKind::Chart;
        shape.type = inline_shape_type::Chart;
    } else if (uri.endsWith(QLatin1String("/diagram"))) {
        shape.kind = GraphicKind::SmartArt;
        shape.type = inline_shape_type::SmartArt;
    } else if (uri.endsWith(QLatin1String("/lockedCanvas"))) {
        shape.kind = GraphicKind::Unknown;
        shape.type = inline_shape_type::LockedCanvas;
    } else {
        shape.kind = GraphicKind::Unknown;
        shape.type = inline_shape_type::Picture;
    }
    return shape;
}

bool isPicture(xmlNode* anchor)
{
    return attr(descendant(anchor, "graphicData"), "uri").endsWith(QLatin1String("/picture"));
}

bool isDrawnGroup(xmlNode* drawingObject)
{
    const QString uri = attr(descendant(drawingObject, "graphicData"), "uri");
    return uri.endsWith(QLatin1String("/wordprocessingGroup")) || uri.endsWith(QLatin1String("/wordprocessingCanvas"));
}

std::vector<ShapeRec> picturesOfGroup(xmlNode* drawingObject, const QHash<QString, Relationship>& rels)
{
    std::vector<ShapeRec> shapes;
    collectGroupPictures(descendant(drawingObject, "graphicData"), rels, shapes);
    return shapes;
}

std::optional<ShapeRec> shapeFromVml(xmlNode* container, const QHash<QString, Relationship>& rels, bool ole, bool* floating)
{
    *floating = false;
    xmlNode* vShape = findVmlShape(container);
    xmlNode* imageData = vShape ? descendant(vShape, "imagedata") : nullptr;
    if (!vShape || (!imageData && !ole))
        return std::nullopt;
    const QString style = attr(vShape, "style");
    *floating = styleValue(style, QStringLiteral("position")) == QLatin1String("absolute");
    ShapeRec shape;
    shape.kind = ole ? GraphicKind::Ole : GraphicKind::Picture;
    shape.type = ole ? inline_shape_type::EmbeddedOleObject : inline_shape_type::Picture;
    shape.cx = vmlLengthToEmu(styleValue(style, QStringLiteral("width")));
    shape.cy = vmlLengthToEmu(styleValue(style, QStringLiteral("height")));
    if (ole && (shape.cx == 0 || shape.cy == 0)) {
        shape.cx = twipsToEmu(int64Attr(container, "dxaOrig", 0));
        shape.cy = twipsToEmu(int64Attr(container, "dyaOrig", 0));
    }
    if (imageData)
        setVmlMedia(shape, imageData, rels);
    return shape;
}

std::vector<ShapeRec> picturesOfVmlGroup(xmlNode* container, const QHash<QString, Relationship>& rels)
{
    std::vector<ShapeRec> shapes;
    for (xmlNode* child : children(container)) {
        if (!isNamed(child, "group") || inWordNamespace(child))
            continue;
        const QString style = attr(child, "style");
        collectVmlGroupPictures(child, vmlLengthToEmu(styleValue(style, QStringLiteral("width"))),
                                vmlLengthToEmu(styleValue(style, QStringLiteral("height"))), rels, shapes);
    }
    return shapes;
}

} // namespace veldra::word::detail
