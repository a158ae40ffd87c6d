#include "platform/word/detail/Styles.h"

#include "platform/word/WordConstants.h"
#include "platform/word/detail/Xml.h"

namespace veldra::word::detail {

namespace {

// Style chains are short; a cycle in a damaged file must not loop forever.
constexpr int kMaxChain = 32;

std::optional<TablePart> tablePartOf(const QString& type)
{
    if (type == QLatin1String("firstRow"))
        return TablePart::FirstRow;
    if (type == QLatin1String("lastRow"))
        return TablePart::LastRow;
    if (type == QLatin1String("firstCol"))
        return TablePart::FirstColumn;
    if (type == QLatin1String("lastCol"))
        return TablePart::LastColumn;
    return std::nullopt;
}

int verticalAlignmentOf(const QString& value)
{
    if (value == QLatin1String("center"))
        return vertical_alignment::Center;
    if (value == QLatin1String("bottom"))
        return vertical_alignment::Bottom;
    return vertical_alignment::Top;
}

StyleRec readStyle(xmlNode* node)
{
    StyleRec style;
    style.id = attr(node, "styleId");
    style.type = attr(node, "type");
    const QString customValue = attr(node, "customStyle");
    const bool custom = customValue == QLatin1String("1") || customValue == QLatin1String("true")
                        || customValue == QLatin1String("on");
    const QString stored = attr(childW(node, "name"), "val");
    style.uiName = uiStyleName(stored.isEmpty() ? style.id : stored, custom);
    style.basedOn = attr(childW(node, "basedOn"), "val");
    style.run = readRunProps(childW(node, "rPr"));
    style.para = readParaProps(childW(node, "pPr"));
    style.tableBorders = readBorders(childW(childW(node, "tblPr"), "tblBorders"));
    xmlNode* tcPr = childW(node, "tcPr");
    style.cellBorders = readBorders(childW(tcPr, "tcBorders"));
    if (xmlNode* vAlign = childW(tcPr, "vAlign"))
        style.verticalAlignment = verticalAlignmentOf(attr(vAlign, "val"));
    for (xmlNode* part : children(node)) {
        if (!isW(part, "tblStylePr"))
            continue;
        if (const auto which = tablePartOf(attr(part, "type"))) {
            const int index = static_cast<int>(*which);
            style.partRun[index] = readRunProps(childW(part, "rPr"));
            style.partCellBorders[index] = readBorders(childW(childW(part, "tcPr"), "tcBorders"));
        }
    }
    return style;
}

} // namespace

void Styles::read(xmlNode* stylesRoot)
{
    if (xmlNode* defaults = childW(stylesRoot, "docDefaults")) {
        defaultRun_ = readRunProps(childW(childW(defaults, "rPrDefault"), "rPr"));
        defaultPara_ = readParaProps(childW(childW(defaults, "pPrDefault"), "pPr"));
    }
    for (xmlNode* node : children(stylesRoot)) {
        if (!isW(node, "style"))
            continue;
        StyleRec style = readStyle(node);
        if (style.id.isEmpty() || styles_.contains(style.id))
            continue;
        const bool isDefault = hasAttr(node, "default") && attr(node, "default") != QLatin1String("0")
                               && attr(node, "default") != QLatin1String("false");
        if (isDefault && style.type == QLatin1String("paragraph") && defaultParagraph_.isEmpty())
            defaultParagraph_ = style.id;
        if (isDefault && style.type == QLatin1String("table") && defaultTable_.isEmpty())
            defaultTable_ = style.id;
        idByName_.insert(style.uiName, style.id);
        styles_.insert(style.id, std::move(style));
    }
}

const StyleRec* Styles::find(const QString& id) const
{
    const auto it = styles_.constFind(id);
    return it == styles_.cend() ? nullptr : &*it;
}

const StyleRec* Styles::findByName(const QString& name) const
{
    if (const StyleRec* byId = find(name))
        return byId;
    return find(idByName_.value(name));
}

const StyleRec* Styles::defaultParagraphStyle() const
{
    return find(defaultParagraph_);
}

const StyleRec* Styles::defaultTableStyle() const
{
    return find(defaultTable_);
}

template <typename T, typename Get>
T Styles::chain(const QString& id, Get get) const
{
    T result;
    const StyleRec* style = find(id);
    for (int depth = 0; style && depth < kMaxChain; ++depth) {
        result.inheritFrom(get(*style));
        style = style->basedOn.isEmpty() || style->basedOn == style->id ? nullptr : find(style->basedOn);
    }
    return result;
}

RunProps Styles::chainRun(const QString& id) const
{
    if (const auto it = runCache_.constFind(id); it != runCache_.cend())
        return *it;
    RunProps result = chain<RunProps>(id, [](const StyleRec& s) { return s.run; });
    runCache_.insert(id, result);
    return result;
}

ParaProps Styles::chainPara(const QString& id) const
{
    return chain<ParaProps>(id, [](const StyleRec& s) { return s.para; });
}

Borders Styles::chainTableBorders(const QString& id) const
{
    return chain<Borders>(id, [](const StyleRec& s) { return s.tableBorders; });
}

Borders Styles::chainCellBorders(const QString& id) const
{
    return chain<Borders>(id, [](const StyleRec& s) { return s.cellBorders; });
}

std::optional<int> Styles::chainVerticalAlignment(const QString& id) const
{
    const StyleRec* style = find(id);
    for (int depth = 0; style && depth < kMaxChain; ++depth) {
        if (style->verticalAlignment)
            return style->verticalAlignment;
        style = style->basedOn.isEmpty() ? nullptr : find(style->basedOn);
    }
    return std::nullopt;
}

RunProps Styles::chainPartRun(const QString& id, TablePart part) const
{
    return chain<RunProps>(id, [part](const StyleRec& s) { return s.partRun[static_cast<int>(part)]; });
}

Borders Styles::chainPartCellBorders(const QString& id, TablePart part) const
{
    return chain<Borders>(id, [part](const StyleRec& s) { return s.partCellBorders[static_cast<int>(part)]; });
}

} // namespace veldra::word::detail
