#include "platform/word/detail/Properties.h"

#include "platform/word/WordConstants.h"
#include "platform/word/detail/Indentation.h"
#include "platform/word/detail/Xml.h"

#include <QHash>

namespace veldra::word::detail {

namespace {

template <typename T>
void inherit(std::optional<T>& value, const std::optional<T>& base)
{
    if (!value)
        value = base;
}

} // namespace

void RunProps::inheritFrom(const RunProps& base)
{
    inherit(bold, base.bold);
    inherit(italic, base.italic);
    inherit(hidden, base.hidden);
    inherit(underline, base.underline);
    inherit(vertAlign, base.vertAlign);
    inherit(size, base.size);
    inherit(position, base.position);
    inherit(font, base.font);
}

void ParaProps::inheritFrom(const ParaProps& base)
{
    inherit(alignment, base.alignment);
    // Numbering is one setting: a level stated without a list takes the list from below.
    inherit(numId, base.numId);
    inherit(ilvl, base.ilvl);
    inherit(pageBreakBefore, base.pageBreakBefore);
    inherit(leftIndent, base.leftIndent);
}

void Borders::inheritFrom(const Borders& base)
{
    for (size_t i = 0; i < edges.size(); ++i)
        inherit(edges[i], base.edges[i]);
}

int alignmentOf(const QString& jc)
{
    static const QHash<QString, int> map{
        {QStringLiteral("left"), alignment::Left},         {QStringLiteral("start"), alignment::Left},
        {QStringLiteral("center"), alignment::Center},     {QStringLiteral("right"), alignment::Right},
        {QStringLiteral("end"), alignment::Right},         {QStringLiteral("both"), alignment::Justify},
        {QStringLiteral("distribute"), alignment::Distribute},
        {QStringLiteral("mediumKashida"), alignment::JustifyMedium},
        {QStringLiteral("highKashida"), alignment::JustifyHigh},
        {QStringLiteral("lowKashida"), alignment::JustifyLow},
        {QStringLiteral("thaiDistribute"), alignment::ThaiJustify},
    };
    return map.value(jc, alignment::Left);
}

int underlineOf(const QString& value)
{
    static const QHash<QString, int> map{
        {QStringLiteral("none"), underline::None},       {QStringLiteral("single"), underline::Single},
        {QStringLiteral("words"), underline::Words},     {QStringLiteral("double"), underline::Double},
        {QStringLiteral("dotted"), underline::Dotted},   {QStringLiteral("thick"), underline::Thick},
        {QStringLiteral("dash"), underline::Dash},       {QStringLiteral("dotDash"), underline::DotDash},
        {QStringLiteral("dotDotDash"), underline::DotDotDash}, {QStringLiteral("wave"), underline::Wavy},
    };
    // Kinds without a number of their own are still underlined.
    return map.value(value, underline::Single);
}

RunProps readRunProps(xmlNode* rPr)
{
    RunProps props;
    for (xmlNode* node : children(rPr)) {
        if (!inWordNamespace(node))
            continue;
        const char* name = reinterpret_cast<const char*>(node->name);
        if (!std::strcmp(name, "b"))
            props.bold = onOff(node);
        else if (!std::strcmp(name, "i"))
            props.italic = onOff(node);
        else if (!std::strcmp(name, "vanish"))
            props.hidden = onOff(node);
        else if (!std::strcmp(name, "u"))
            props.underline = hasAttr(node, "val") ? underlineOf(attr(node, "val")) : underline::Single;
        else if (!std::strcmp(name, "vertAlign")) {
            const QString value = attr(node, "val");
            props.vertAlign = value == QLatin1String("superscript") ? 1 : value == QLatin1String("subscript") ? 2 : 0;
        } else if (!std::strcmp(name, "sz")) {
            // A size given in another unit than half-points is left to the levels below. A
            // producer that names the size twice gives a raised or lowered run's own size
            // first and repeats the size of the text around it after: the first is the run's.
            if (const int size = intAttr(node, "val", 0); size > 0 && !props.size)
                props.size = size;
        } else if (!std::strcmp(name, "position")) {
            props.position = intAttr(node, "val", 0);
        } else if (!std::strcmp(name, "rFonts")) {
            QString font = attr(node, "ascii");
            if (font.isEmpty())
                font = attr(node, "hAnsi");
            if (!font.isEmpty())
                props.font = font;
        }
    }
    return props;
}

ParaProps readParaProps(xmlNode* pPr)
{
    ParaProps props;
    if (xmlNode* jc = childW(pPr, "jc"))
        props.alignment = alignmentOf(attr(jc, "val"));
    if (xmlNode* numPr = childW(pPr, "numPr")) {
        if (xmlNode* numId = childW(numPr, "numId"))
            props.numId = intAttr(numId, "val", 0);
        if (xmlNode* ilvl = childW(numPr, "ilvl"))
            props.ilvl = intAttr(ilvl, "val", 0);
    }
    if (xmlNode* pageBreak = childW(pPr, "pageBreakBefore"))
        props.pageBreakBefore = onOff(pageBreak);
    props.leftIndent = readLeftIndent(pPr);
    return props;
}

Borders readBorders(xmlNode* borders)
{
    static const char* const names[6][2] = {{"top", nullptr}, {"left", "start"}, {"bottom", nullptr},
                                            {"right", "end"}, {"insideH", nullptr}, {"insideV", nullptr}};
    Borders result;
    for (xmlNode* node : children(borders)) {
        for (size_t edge = 0; edge < 6; ++edge) {
            if (isW(node, names[edge][0]) || (names[edge][1] && isW(node, names[edge][1]))) {
                const QString value = attr(node, "val");
                result.edges[edge] = !(value == QLatin1String("nil") || value == QLatin1String("none"));
            }
        }
    }
    return result;
}

} // namespace veldra::word::detail
