#include "platform/word/detail/BodyReader.h"

#include "platform/word/WordConstants.h"
#include "platform/word/detail/Indentation.h"
#include "platform/word/detail/Revisions.h"
#include "platform/word/detail/SymbolFonts.h"
#include "platform/word/detail/Xml.h"

#include <utility>

namespace veldra::word::detail {

namespace {

// The first paragraph or table that reading the blocks from `node` on meets, looking into
// content controls, custom XML and inserted or moved-in blocks; null when none. Bookmarks,
// the marks of comments and moves, and blocks deleted or moved away show nothing.
xmlNode* nextShownBlock(xmlNode* node)
{
    for (; node; node = node->next) {
        if (isW(node, "p") || isW(node, "tbl"))
            return node;
        xmlNode* content = isW(node, "sdt") ? childW(node, "sdtContent")
                           : isW(node, "customXml") || isW(node, "ins") || isW(node, "moveTo") ? node
                                                                                                : nullptr;
        if (xmlNode* inner = content ? nextShownBlock(content->children) : nullptr)
            return inner;
    }
    return nullptr;
}

} // namespace

BodyReader::BodyReader(Model& model, const Styles& styles, Numbering& numbering, QHash<QString, Relationship> relationships,
                       NoteTexts notes)
    : model_(model), styles_(styles), numbering_(numbering), rels_(std::move(relationships)), notes_(std::move(notes))
{
    model_.formats.push_back(CharFormat{});
}

bool BodyReader::read(xmlNode* documentRoot, qsizetype partSize)
{
    // Text is roughly a fifth of the markup around it; growing in steps costs more.
    const auto expected = static_cast<size_t>(std::min(partSize / 5, MaxCharacters));
    model_.text.reserve(expected);
    model_.attributes.reserve(expected);
    xmlNode* body = childW(documentRoot, "body");
    readBlocks(body, nullptr);
    if (tooLong_)
        return false;
    while (!fields_.empty())
        fieldEnd();
    if (xmlNode* sectPr = childW(body, "sectPr"); sectPr && !sawSection_)
        readSection(sectPr);
    for (size_t index = 0; index < model_.tables.size(); ++index)
        if (model_.tables[index].parent < 0)
            model_.topTables.push_back(static_cast<int>(index));
    for (size_t index = 0; index < model_.fields.size(); ++index)
        if (model_.fields[index].resultStart == model_.fields[index].resultEnd)
            model_.emptyFields.push_back(static_cast<int>(index));
    // Breaks the word processor recorded at its last layout hold the explicit ones too;
    // only a file without them falls back on the explicit breaks.
    model_.pageBreaks = renderedBreaks_.empty() ? explicitBreaks_ : renderedBreaks_;
    std::sort(model_.pageBreaks.begin(), model_.pageBreaks.end());
    model_.pageBreaks.erase(std::unique(model_.pageBreaks.begin(), model_.pageBreaks.end()), model_.pageBreaks.end());
    if (revisions_)
        model_.warnings.append(QStringLiteral(
            "The Word document holds tracked changes; they are read as accepted (insertions kept, deletions left out)."));
    if (floatingPictures_ > 0)
        model_.warnings.append(QStringLiteral("The Word document holds %1 floating picture(s); they are read in line, "
                                              "where they are anchored.").arg(floatingPictures_));
    for (const QString& warning : numbering_.warnings())
        model_.warnings.append(warning);
    return true;
}

void BodyReader::readBlocks(xmlNode* parent, const TableContext* table)
{
    for (xmlNode* node : children(parent)) {
        if (tooLong_)
            return;
        if (isW(node, "p"))
            readParagraph(node, table);
        else if (isW(node, "tbl"))
            readTable(node, table);
        else if (isW(node, "sdt"))
            readBlocks(childW(node, "sdtContent"), table);
        else if (isW(node, "customXml") || isW(node, "ins") || isW(node, "moveTo")) {
            revisions_ = revisions_ || !isW(node, "customXml");
            readBlocks(node, table);
        } else if (isW(node, "del") || isW(node, "moveFrom"))
            revisions_ = true;
        else if (isW(node, "bookmarkStart"))
            addBookmarkStart(node);
        else if (isW(node, "bookmarkEnd"))
            addBookmarkEnd(node);
    }
}

void BodyReader::readParagraph(xmlNode* p, const TableContext* table)
{
    xmlNode* pPr = childW(p, "pPr");
    const ParagraphStyle& paragraphStyle = paragraphStyleOf(attr(childW(pPr, "pStyle"), "val"));
    const StyleRec* style = paragraphStyle.style;
    const QString styleId = style ? style->id : QString();

    const ParaProps direct = readParaProps(pPr);
    ParaProps para = direct;
    para.inheritFrom(paragraphStyle.para);
    if (table)
        para.inheritFrom(table->para);
    para.inheritFrom(styles_.defaultPara());
    if (holdsRevisionMarker(pPr))
        revisions_ = true;

    const int start = static_cast<int>(model_.text.size());
    if (para.pageBreakBefore.value_or(false))
        explicitBreaks_.push_back(start);

    RunContext context;
    context.table = table;
    context.paragraphStyle = styleId;
    context.paragraphRun = paragraphStyle.run;
    readInline(p, context);
    settleShiftedRuns(context);

    xmlNode* markProps = childW(pPr, "rPr");
    const bool markRemoved = !keptByChanges(markProps);
    // Accepting a deleted or moved-away paragraph mark joins the paragraph to the next one,
    // which gives the joined paragraph its style and list number.
    if (markRemoved && isW(nextShownBlock(p->next), "p")) {
        if (!mergedParagraphStart_)
            mergedParagraphStart_ = start;
        return;
    }
    abandonUnfinishedFieldCodes();
    const ResolvedRun mark = resolve(context, RunProps{}, readRunProps(markProps));
    const int paragraphStart = mergedParagraphStart_.value_or(start);
    mergedParagraphStart_.reset();
    // A paragraph whose text and mark are all hidden is not shown at all; nor is one left
    // empty by its changes whose removed mark has no paragraph to join (before a table, last
    // in a cell).
    if ((mark.hidden || markRemoved) && paragraphStart == static_cast<int>(model_.text.size())) {
        readTextBoxes(table);
        return;
    }

    ParagraphRec rec;
    rec.start = paragraphStart;
    rec.style = style ? style->uiName : QStringLiteral("Normal");
    rec.alignment = para.alignment.value_or(alignment::Left);
    rec.table = table ? table->table : -1;
    const std::optional<int> numberingIndent = numberParagraph(rec, direct, para, styleId);
    rec.leftIndent = shownLeftIndent(direct, para, numberingIndent);
    append(U'\r', formatIndex(mark.format));
    rec.end = static_cast<int>(model_.text.size());
    model_.paragraphs.push_back(std::move(rec));
    if (xmlNode* sectPr = childW(pPr, "sectPr"))
        readSection(sectPr);
    readTextBoxes(table);
}

std::optional<int> BodyReader::numberParagraph(ParagraphRec& rec, const ParaProps& direct, const ParaProps& para,
                                               const QString& styleId)
{
    if (!para.numId || *para.numId == 0)
        return std::nullopt;
    // A list set on the paragraph itself starts from its own level, not the style's.
    const std::optional<int> ilvl = direct.numId ? direct.ilvl : para.ilvl;
    const int level = ilvl ? *ilvl : numbering_.levelForStyle(*para.numId, styleId).value_or(0);
    // What is shown in front of a list item counts as text of the story.
    const auto number = numbering_.next(*para.numId, level, charactersLeft());
    if (!number || !room(number->listString.size()))
        return std::nullopt;
    listCharacters_ += number->listString.size();
    rec.listString = number->listString;
    rec.listType = number->listType;
    rec.listLevel = number->level;
    rec.list = *para.numId;
    return number->leftIndent;
}

bool BodyReader::keptByChanges(xmlNode* properties)
{
    const bool removed = marksRemoval(properties);
    if (removed || marksAddition(properties) || holdsRevisionMarker(properties))
        revisions_ = true;
    return !removed;
}

void BodyReader::readTextBoxes(const TableContext* table)
{
    // A text box is a story of its own; its paragraphs follow the paragraph that holds it,
    // so that none of its text is lost.
    for (xmlNode* box : std::exchange(textBoxes_, {}))
        readBlocks(box, table);
}

const BodyReader::ParagraphStyle& BodyReader::paragraphStyleOf(const QString& styleId)
{
    if (const auto it = paragraphStyles_.constFind(styleId); it != paragraphStyles_.cend())
        return *it;
    ParagraphStyle resolved;
    resolved.style = styleId.isEmpty() ? nullptr : styles_.find(styleId);
    // An unknown style id falls back to the default style, as a word processor shows it.
    if (!resolved.style)
        resolved.style = styles_.defaultParagraphStyle();
    const QString id = resolved.style ? resolved.style->id : QString();
    resolved.para = styles_.chainPara(id);
    resolved.run = styles_.chainRun(id);
    return *paragraphStyles_.insert(styleId, resolved);
}

void BodyReader::readSection(xmlNode* sectPr)
{
    if (!sawSection_) {
        sawSection_ = true;
        if (xmlNode* pgNumType = childW(sectPr, "pgNumType"); pgNumType && hasAttr(pgNumType, "start"))
            model_.firstPageNumber = intAttr(pgNumType, "start", 1);
    }
    const QString type = attr(childW(sectPr, "type"), "val");
    // A section ends where its last paragraph ends; the next section starts a new page
    // unless it runs on continuously (its type is stored with the next section, so this
    // is an estimate in either case).
    if (type != QLatin1String("continuous") && type != QLatin1String("nextColumn"))
        explicitBreaks_.push_back(static_cast<int>(model_.text.size()));
}

BodyReader::ResolvedRun BodyReader::resolve(const RunContext& context, const RunProps& characterStyle,
                                            const RunProps& direct) const
{
    const RunProps& defaults = styles_.defaultRun();
    const RunProps none;
    const RunProps& table = context.table ? context.table->run : none;
    // Bold, italic and hidden toggle: each style level that sets them flips the value
    // below it; direct formatting sets them outright.
    auto toggle = [&](auto member) {
        bool value = (defaults.*member).value_or(false);
        for (const RunProps* level : {&table, &context.paragraphRun, &characterStyle})
            if ((level->*member))
                value = value != *(level->*member);
        if ((direct.*member))
            value = *(direct.*member);
        return value;
    };
    auto inherited = [&](auto member, auto fallback) {
        for (const RunProps* level : {&direct, &characterStyle, &context.paragraphRun, &table, &defaults})
            if ((level->*member))
                return *(level->*member);
        return fallback;
    };
    ResolvedRun run;
    run.format.bold = toggle(&RunProps::bold);
    run.format.italic = toggle(&RunProps::italic);
    run.hidden = toggle(&RunProps::hidden);
    run.format.underline = inherited(&RunProps::underline, 0);
    run.format.underlineFromCharacterStyle = !direct.underline && characterStyle.underline.value_or(0) != 0;
    const int vertAlign = inherited(&RunProps::vertAlign, 0);
    run.format.superscript = vertAlign == 1;
    run.format.subscript = vertAlign == 2;
    run.font = inherited(&RunProps::font, QString());
    // Text whose size no level states is shown at 10 points.
    run.size = inherited(&RunProps::size, 20);
    run.position = inherited(&RunProps::position, 0);
    return run;
}

void BodyReader::settleShiftedRuns(const RunContext& context)
{
    const std::vector<ShownRun> runs = std::exchange(paragraphRuns_, {});
    const std::vector<Script> scripts = scriptsByShift(runs, resolve(context, RunProps{}, RunProps{}).size);
    for (size_t index = 0; index < runs.size(); ++index) {
        if (scripts[index] == Script::None)
            continue;
        const ShownRun& run = runs[index];
        CharFormat format = model_.formats[model_.attributes[static_cast<size_t>(run.start)].format];
        format.superscript = scripts[index] == Script::Superscript;
        format.subscript = scripts[index] == Script::Subscript;
        const uint16_t shifted = formatIndex(format);
        for (int position = run.start; position < run.end; ++position)
            model_.attributes[static_cast<size_t>(position)].format = shifted;
    }
}

uint16_t BodyReader::formatIndex(const CharFormat& format)
{
    for (size_t i = 0; i < model_.formats.size(); ++i)
        if (model_.formats[i] == format)
            return static_cast<uint16_t>(i);
    model_.formats.push_back(format);
    return static_cast<uint16_t>(model_.formats.size() - 1);
}

bool BodyReader::emitting() const
{
    return codeDepth_ == 0;
}

qsizetype BodyReader::charactersLeft() const
{
    return MaxCharacters - static_cast<qsizetype>(model_.text.size()) - listCharacters_;
}

bool BodyReader::room(qsizetype count)
{
    tooLong_ = tooLong_ || count > charactersLeft();
    return !tooLong_;
}

void BodyReader::append(char32_t c, uint16_t format)
{
    if (!emitting() || !room(1))
        return;
    model_.text.push_back(c);
    model_.attributes.push_back(
        CharAttributes{format, fields_.empty() ? -1 : fields_.back().field, hyperlinks_.empty() ? -1 : hyperlinks_.back()});
}

void BodyReader::appendText(const xmlChar* utf8, uint16_t format, const QString& font)
{
    if (!emitting() || !utf8)
        return;
    // Counted before anything is appended, so one long run cannot grow the model past the limit.
    qsizetype characters = 0;
    for (const unsigned char* s = utf8; *s; ++s)
        characters += (*s & 0xC0) != 0x80;
    if (!room(characters))
        return;
    const bool symbol = isSymbolFont(font);
    // libxml2 hands over well-formed UTF-8; decoding it here spares a QString per run.
    for (const unsigned char* s = utf8; *s;) {
        char32_t c = *s++;
        if (c >= 0xF0)
            c = ((c & 0x07) << 18) | ((s[0] & 0x3F) << 12) | ((s[1] & 0x3F) << 6) | (s[2] & 0x3F), s += 3;
        else if (c >= 0xE0)
            c = ((c & 0x0F) << 12) | ((s[0] & 0x3F) << 6) | (s[1] & 0x3F), s += 2;
        else if (c >= 0xC0)
            c = ((c & 0x1F) << 6) | (s[0] & 0x3F), s += 1;
        // Some producers type a line end into the text for a line break; it is no paragraph
        // mark nor break of Word's, and reads as the blank between the words it parts.
        if (c == U'\n' || c == U'\r')
            c = U' ';
        if (symbol) {
            bool mapped = false;
            c = mapSymbolCharacter(c, font, &mapped);
            if (!mapped)
                warnOnce(font, QStringLiteral("Characters of the symbol font '%1' have no Unicode equivalent; "
                                              "they are read as stored.").arg(font));
        }
        append(c, format);
    }
}

void BodyReader::warnOnce(const QString& key, const QString& text)
{
    if (warned_.contains(key))
        return;
    warned_.insert(key);
    model_.warnings.append(text);
}

} // namespace veldra::word::detail
