#include "platform/word/detail/Numbering.h"

#include "platform/word/WordConstants.h"
#include "platform/word/detail/Indentation.h"
#include "platform/word/detail/NumberFormats.h"
#include "platform/word/detail/Properties.h"
#include "platform/word/detail/Styles.h"
#include "platform/word/detail/SymbolFonts.h"
#include "platform/word/detail/Xml.h"

#include <limits>

namespace veldra::word::detail {

namespace {

// numStyleLink chains are one step in practice; a cycle in a damaged file must end.
constexpr int kMaxLinks = 4;

void readLevel(xmlNode* lvl, LevelDef& level)
{
    if (xmlNode* n = childW(lvl, "start"))
        level.start = intAttr(n, "val", 1);
    if (xmlNode* n = childW(lvl, "numFmt"))
        level.format = attr(n, "val");
    if (xmlNode* n = childW(lvl, "lvlText"))
        level.text = attr(n, "val");
    if (xmlNode* n = childW(lvl, "lvlRestart"))
        level.restart = intAttr(n, "val", -1);
    if (xmlNode* n = childW(lvl, "isLgl"))
        level.legal = onOff(n);
    if (childW(lvl, "lvlPicBulletId"))
        level.pictureBullet = true;
    if (xmlNode* n = childW(lvl, "pStyle"))
        level.paragraphStyle = attr(n, "val");
    if (const auto font = readRunProps(childW(lvl, "rPr")).font)
        level.font = *font;
    level.leftIndent = readLeftIndent(childW(lvl, "pPr"));
}

std::optional<int> levelIndex(xmlNode* lvl)
{
    const int index = intAttr(lvl, "ilvl", -1);
    return index >= 0 && index < kLevels ? std::optional<int>(index) : std::nullopt;
}

QString mapSymbols(const QString& text, const QString& font)
{
    if (!isSymbolFont(font))
        return text;
    std::u32string mapped;
    for (char32_t c : text.toStdU32String()) {
        bool ok = false;
        mapped += mapSymbolCharacter(c, font, &ok);
    }
    return QString::fromStdU32String(mapped);
}

} // namespace

void Numbering::read(xmlNode* numberingRoot, const Styles& styles)
{
    for (xmlNode* node : children(numberingRoot)) {
        if (isW(node, "abstractNum")) {
            AbstractNumDef def;
            def.id = attr(node, "abstractNumId");
            def.multiLevelType = attr(childW(node, "multiLevelType"), "val");
            def.numStyleLink = attr(childW(node, "numStyleLink"), "val");
            for (xmlNode* lvl : children(node))
                if (isW(lvl, "lvl"))
                    if (const auto index = levelIndex(lvl))
                        readLevel(lvl, def.levels[static_cast<size_t>(*index)]);
            abstracts_.insert(def.id, def);
        } else if (isW(node, "num")) {
            NumDef num;
            num.abstractId = attr(childW(node, "abstractNumId"), "val");
            for (xmlNode* over : children(node)) {
                if (!isW(over, "lvlOverride"))
                    continue;
                const auto index = levelIndex(over);
                if (!index)
                    continue;
                if (xmlNode* start = childW(over, "startOverride"))
                    num.startOverride[static_cast<size_t>(*index)] = intAttr(start, "val", 1);
                if (xmlNode* lvl = childW(over, "lvl")) {
                    LevelDef level;
                    readLevel(lvl, level);
                    num.levelOverride[static_cast<size_t>(*index)] = level;
                }
            }
            nums_.insert(intAttr(node, "numId", 0), num);
        }
    }
    // Numbering styles name the list that carries a linked abstract numbering's levels.
    for (const AbstractNumDef& def : std::as_const(abstracts_)) {
        if (def.numStyleLink.isEmpty())
            continue;
        if (const StyleRec* style = styles.findByName(def.numStyleLink))
            if (const auto numId = styles.chainPara(style->id).numId)
                numOfStyle_.insert(def.numStyleLink, *numId);
    }
}

const AbstractNumDef* Numbering::abstractOf(const NumDef& num) const
{
    const auto it = abstracts_.constFind(num.abstractId);
    const AbstractNumDef* def = it == abstracts_.cend() ? nullptr : &*it;
    for (int step = 0; def && !def->numStyleLink.isEmpty() && step < kMaxLinks; ++step) {
        const auto numId = numOfStyle_.constFind(def->numStyleLink);
        if (numId == numOfStyle_.cend() || !nums_.contains(*numId))
            break;
        const auto linked = abstracts_.constFind(nums_.value(*numId).abstractId);
        if (linked == abstracts_.cend() || &*linked == def)
            break;
        def = &*linked;
    }
    return def;
}

LevelDef Numbering::levelOf(const NumDef& num, const AbstractNumDef& abstract, int ilvl) const
{
    const auto& over = num.levelOverride[static_cast<size_t>(ilvl)];
    return over ? *over : abstract.levels[static_cast<size_t>(ilvl)];
}

int Numbering::startOf(const NumDef& num, const AbstractNumDef& abstract, int ilvl) const
{
    const auto& over = num.startOverride[static_cast<size_t>(ilvl)];
    return over ? *over : levelOf(num, abstract, ilvl).start;
}

void Numbering::restartBelow(const NumDef& num, const AbstractNumDef& abstract, Counters& counters, int ilvl) const
{
    for (int lower = ilvl + 1; lower < kLevels; ++lower) {
        const auto restart = levelOf(num, abstract, lower).restart;
        // Without lvlRestart a level restarts after any higher level; with it, only after
        // the levels up to the one it names; 0 never restarts.
        const bool restarts = !restart || *restart < 0 ? true : *restart == 0 ? false : ilvl <= *restart - 1;
        if (restarts)
            counters.used[static_cast<size_t>(lower)] = false;
    }
}

QString Numbering::expand(const NumDef& num, const AbstractNumDef& abstract, const Counters& counters, int ilvl,
                          qsizetype maxCharacters)
{
    const LevelDef level = levelOf(num, abstract, ilvl);
    if (level.format == QLatin1String("bullet"))
        return mapSymbols(level.text.left(maxCharacters + 1), level.font);
    QString result;
    const QString& text = level.text;
    for (qsizetype i = 0; i < text.size() && result.size() <= maxCharacters; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('%') && i + 1 < text.size() && text[i + 1] >= QLatin1Char('1') && text[i + 1] <= QLatin1Char('9')) {
            const int shown = text[i + 1].digitValue() - 1;
            ++i;
            const auto index = static_cast<size_t>(shown);
            const int value = counters.used[index] ? counters.value[index] : startOf(num, abstract, shown);
            const QString format = level.legal ? QStringLiteral("decimal") : levelOf(num, abstract, shown).format;
            bool known = true;
            result += formatNumber(value, format, &known);
            if (!known && !unknownFormats_.contains(format)) {
                unknownFormats_.insert(format);
                warnings_.append(QStringLiteral("The list number format '%1' is shown as decimal numbers.").arg(format));
            }
            continue;
        }
        result += c;
    }
    return result;
}

std::optional<ListNumber> Numbering::next(int numId, int ilvl, qsizetype maxCharacters)
{
    const auto numIt = nums_.constFind(numId);
    if (numId == 0 || numIt == nums_.cend())
        return std::nullopt;
    const NumDef& num = *numIt;
    const AbstractNumDef* abstract = abstractOf(num);
    if (!abstract)
        return std::nullopt;
    ilvl = std::clamp(ilvl, 0, kLevels - 1);
    Counters& counters = counters_[abstract->id];
    if (!started_.contains(numId)) {
        started_.insert(numId);
        for (size_t level = 0; level < kLevels; ++level)
            if (num.startOverride[level])
                counters.used[level] = false;
    }
    const auto index = static_cast<size_t>(ilvl);
    // A list started at the largest number stays there rather than wrapping around.
    const int current = counters.value[index];
    counters.value[index] = !counters.used[index]                        ? startOf(num, *abstract, ilvl)
                            : current == std::numeric_limits<int>::max() ? current
                                                                         : current + 1;
    counters.used[index] = true;
    restartBelow(num, *abstract, counters, ilvl);

    const LevelDef level = levelOf(num, *abstract, ilvl);
    ListNumber result;
    result.level = ilvl + 1;
    result.listString = expand(num, *abstract, counters, ilvl, maxCharacters);
    if (level.format == QLatin1String("bullet"))
        result.listType = level.pictureBullet ? list_type::PictureBullet : list_type::Bullet;
    else
        result.listType = abstract->multiLevelType == QLatin1String("multilevel") ? list_type::Outline : list_type::Simple;
    result.leftIndent = level.leftIndent;
    return result;
}

std::optional<int> Numbering::levelForStyle(int numId, const QString& styleId) const
{
    const auto numIt = nums_.constFind(numId);
    if (numIt == nums_.cend())
        return std::nullopt;
    const AbstractNumDef* abstract = abstractOf(*numIt);
    if (!abstract)
        return std::nullopt;
    for (int level = 0; level < kLevels; ++level)
        if (levelOf(*numIt, *abstract, level).paragraphStyle == styleId)
            return level;
    return std::nullopt;
}

} // namespace veldra::word::detail
