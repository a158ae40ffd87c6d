#include "platform/word/detail/BodyReader.h"

#include "platform/word/WordConstants.h"
#include "platform/word/detail/FieldCodes.h"
#include "platform/word/detail/Shapes.h"
#include "platform/word/detail/SymbolFonts.h"
#include "platform/word/detail/Xml.h"

namespace veldra::word::detail {

namespace {

// The table look a table without w:tblLook gets: header row and first column formats on.
constexpr unsigned kDefaultLook = 0x04A0;
constexpr unsigned kLookFirstRow = 0x0020;
constexpr unsigned kLookLastRow = 0x0040;
constexpr unsigned kLookFirstColumn = 0x0080;
constexpr unsigned kLookLastColumn = 0x0100;

// Markup-compatibility prefixes whose content this reader understands.
bool understood(const QString& requirement)
{
    static const QSet<QString> known{QStringLiteral("wps"), QStringLiteral("wpg"), QStringLiteral("wpc"),
                                     QStringLiteral("wp14"), QStringLiteral("w14"), QStringLiteral("w15"),
                                     QStringLiteral("a14"), QStringLiteral("v"), QStringLiteral("o")};
    const QStringList prefixes = requirement.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return !prefixes.isEmpty()
           && std::all_of(prefixes.begin(), prefixes.end(), [](const QString& p) { return known.contains(p); });
}

unsigned tableLook(xmlNode* tblPr)
{
    xmlNode* look = childW(tblPr, "tblLook");
    if (!look)
        return kDefaultLook;
    unsigned value = 0;
    if (hasAttr(look, "val")) {
        bool ok = false;
        value = attr(look, "val").toUInt(&ok, 16);
        if (!ok)
            value = kDefaultLook;
    }
    auto flag = [&](const char* name, unsigned bit) {
        if (hasAttr(look, name)) {
            const QString v = attr(look, name);
            value = v == QLatin1String("1") || v == QLatin1String("true") || v == QLatin1String("on")
                        ? value | bit : value & ~bit;
        }
    };
    flag("firstRow", kLookFirstRow);
    flag("lastRow", kLookLastRow);
    flag("firstColumn", kLookFirstColumn);
    flag("lastColumn", kLookLastColumn);
    return value;
}

bool isRevisionMarker(const xmlNode* node)
{
    static const char* const names[] = {"rPrChange", "pPrChange", "sectPrChange", "tblPrChange", "trPrChange",
                                        "tcPrChange", "numberingChange", "tblGridChange"};
    for (const char* name : names)
        if (isW(node, name))
            return true;
    return false;
}

bool holdsRevisionMarker(xmlNode* properties)
{
    for (xmlNode* child : children(properties))
        if (isRevisionMarker(child))
            return true;
    return false;
}

xmlNode* nextElement(xmlNode* node)
{
    for (node = node->next; node; node = node->next)
        if (node->type == XML_ELEMENT_NODE)
            return node;
    return nullptr;
}

// The rows or cells of a table, seen through content controls and custom XML wrappers.
template <typename Visit>
void forEachWrapped(xmlNode* parent, const char* name, Visit visit)
{
    for (xmlNode* child : children(parent)) {
        if (isW(child, name))
            visit(child);
        else if (isW(child, "sdt"))
            forEachWrapped(childW(child, "sdtContent"), name, visit);
        else if (isW(child, "customXml"))
            forEachWrapped(child, name, visit);
    }
}

} // namespace

BodyReader::BodyReader(Model& model, const Styles& styles, Numbering& numbering, QHash<QString, Relationship> relationships)
    : model_(model), styles_(styles), numbering_(numbering), rels_(std::move(relationships))
{
    model_.formats.push_back(CharFormat{});
}

void BodyReader::read(xmlNode* documentRoot, qsizetype partSize)
{
    // Text is roughly a fifth of the markup around it; growing in steps costs more.
    const auto expected = static_cast<size_t>(partSize / 5);
    model_.text.reserve(expected);
    model_.formatOf.reserve(expected);
    model_.fieldOf.reserve(expected);
    model_.hyperlinkOf.reserve(expected);
    xmlNode* body = childW(documentRoot, "body");
    readBlocks(body, nullptr);
    while (!fields_.empty())
        fieldEnd();
    if (xmlNode* sectPr = childW(body, "sectPr"); sectPr && !sawSection_)
        readSection(sectPr);
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
        model_.warnings.append(QStringLiteral("The Word document holds %1 floating picture(s); only pictures placed in line "
                                              "with the text are read.").arg(floatingPictures_));
    for (const QString& warning : numbering_.warnings())
        model_.warnings.append(warning);
}

void BodyReader::readBlocks(xmlNode* parent, const TableContext* table)
{
    for (xmlNode* node : children(parent)) {
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
    const QString directStyle = attr(childW(pPr, "pStyle"), "val");
    const StyleRec* style = directStyle.isEmpty() ? nullptr : styles_.find(directStyle);
    if (!style)
        style = styles_.defaultParagraphStyle();
    const QString styleId = style ? style->id : QString();

    ParaProps para = readParaProps(pPr);
    para.inheritFrom(styles_.chainPara(styleId));
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
    context.paragraphRun = styles_.chainRun(styleId);
    readInline(p, context);

    xmlNode* markProps = childW(pPr, "rPr");
    if (childW(markProps, "ins") || holdsRevisionMarker(markProps))
        revisions_ = true;
    if (childW(markProps, "del")) {
        revisions_ = true;
        // Accepting a deleted paragraph mark joins the paragraph to the next one.
        xmlNode* next = nextElement(p);
        if (next && isW(next, "p")) {
            if (!mergedParagraphStart_)
                mergedParagraphStart_ = start;
            return;
        }
    }
    abandonUnfinishedFieldCodes();
    bool markHidden = false;
    QString font;
    const CharFormat markFormat = resolve(context, RunProps{}, readRunProps(markProps), &markHidden, &font);
    const int paragraphStart = mergedParagraphStart_.value_or(start);
    mergedParagraphStart_.reset();
    // A paragraph whose text and mark are all hidden is not shown at all.
    if (markHidden && paragraphStart == static_cast<int>(model_.text.size()))
        return;

    ParagraphRec rec;
    rec.start = paragraphStart;
    rec.style = style ? style->uiName : QStringLiteral("Normal");
    rec.alignment = para.alignment.value_or(alignment::Left);
    rec.table = table ? table->table : -1;
    if (para.numId && *para.numId != 0) {
        int level = para.ilvl.value_or(-1);
        if (level < 0)
            level = numbering_.levelForStyle(*para.numId, styleId).value_or(0);
        if (const auto number = numbering_.next(*para.numId, level)) {
            rec.listString = number->listString;
            rec.listType = number->listType;
            rec.listLevel = number->level;
        }
    }
    append(U'\r', formatIndex(markFormat));
    rec.end = static_cast<int>(model_.text.size());
    model_.paragraphs.push_back(std::move(rec));
    if (xmlNode* sectPr = childW(pPr, "sectPr"))
        readSection(sectPr);
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

void BodyReader::readTable(xmlNode* tbl, const TableContext* outer)
{
    const int index = static_cast<int>(model_.tables.size());
    TableRec rec;
    rec.start = static_cast<int>(model_.text.size());
    rec.parent = outer ? outer->table : -1;
    model_.tables.push_back(rec);
    if (!openCells_.empty()) {
        const auto& [table, cell] = openCells_.back();
        model_.tables[static_cast<size_t>(table)].rows[static_cast<size_t>(cell.first)][static_cast<size_t>(cell.second)]
            .tables.push_back(index);
    }

    xmlNode* tblPr = childW(tbl, "tblPr");
    if (holdsRevisionMarker(tblPr))
        revisions_ = true;
    TableContext base;
    base.table = index;
    const QString styleName = attr(childW(tblPr, "tblStyle"), "val");
    const StyleRec* style = styleName.isEmpty() ? styles_.defaultTableStyle() : styles_.find(styleName);
    base.styleId = style ? style->id : QString();
    base.para = styles_.chainPara(base.styleId);
    Borders borders = readBorders(childW(tblPr, "tblBorders"));
    borders.inheritFrom(styles_.chainTableBorders(base.styleId));
    const unsigned look = tableLook(tblPr);

    std::vector<xmlNode*> rows;
    forEachWrapped(tbl, "tr", [&](xmlNode* tr) {
        xmlNode* trPr = childW(tr, "trPr");
        if (childW(trPr, "ins") || holdsRevisionMarker(trPr))
            revisions_ = true;
        if (childW(trPr, "del")) {
            revisions_ = true;
            return;
        }
        rows.push_back(tr);
    });
    model_.tables[static_cast<size_t>(index)].rows.resize(rows.size());
    for (size_t r = 0; r < rows.size(); ++r)
        readRow(rows[r], index, static_cast<int>(r), static_cast<int>(rows.size()), base, borders, look);
    model_.tables[static_cast<size_t>(index)].end = static_cast<int>(model_.text.size());
}

void BodyReader::readRow(xmlNode* tr, int table, int rowIndex, int rowCount, const TableContext& base,
                         const Borders& tableBorders, unsigned look)
{
    Borders rowBorders = readBorders(childW(childW(tr, "tblPrEx"), "tblBorders"));
    rowBorders.inheritFrom(tableBorders);
    std::vector<xmlNode*> cells;
    forEachWrapped(tr, "tc", [&](xmlNode* tc) { cells.push_back(tc); });
    model_.tables[static_cast<size_t>(table)].rows[static_cast<size_t>(rowIndex)].resize(cells.size());
    for (size_t c = 0; c < cells.size(); ++c)
        readCell(cells[c], table, rowIndex, static_cast<int>(c), rowIndex == rowCount - 1, c + 1 == cells.size(),
                 base, rowBorders, look);
}

void BodyReader::readCell(xmlNode* tc, int table, int rowIndex, int columnIndex, bool lastRow, bool lastColumn,
                          const TableContext& base, const Borders& tableBorders, unsigned look)
{
    xmlNode* tcPr = childW(tc, "tcPr");
    if (holdsRevisionMarker(tcPr))
        revisions_ = true;
    // Conditional formats apply in this order, the later winning.
    std::vector<TablePart> parts;
    if (columnIndex == 0 && (look & kLookFirstColumn))
        parts.push_back(TablePart::FirstColumn);
    if (lastColumn && (look & kLookLastColumn))
        parts.push_back(TablePart::LastColumn);
    if (rowIndex == 0 && (look & kLookFirstRow))
        parts.push_back(TablePart::FirstRow);
    if (lastRow && rowIndex > 0 && (look & kLookLastRow))
        parts.push_back(TablePart::LastRow);

    TableContext context = base;
    context.run = RunProps{};
    for (auto it = parts.rbegin(); it != parts.rend(); ++it)
        context.run.inheritFrom(styles_.chainPartRun(base.styleId, *it));
    context.run.inheritFrom(styles_.chainRun(base.styleId));

    CellRec cell;
    cell.start = static_cast<int>(model_.text.size());
    if (xmlNode* vMerge = childW(tcPr, "vMerge"))
        cell.mergedAway = attr(vMerge, "val") != QLatin1String("restart");
    Borders borders = readBorders(childW(tcPr, "tcBorders"));
    const std::array<int, 4> outer{EdgeTop, EdgeLeft, EdgeBottom, EdgeRight};
    const std::array<bool, 4> onEdge{rowIndex == 0, columnIndex == 0, lastRow, lastColumn};
    for (size_t edge = 0; edge < 4; ++edge) {
        const int tableEdge = onEdge[edge] ? outer[edge] : (edge % 2 == 0 ? EdgeInsideH : EdgeInsideV);
        std::optional<bool> shown = borders.edges[edge];
        if (!shown)
            shown = tableBorders.edges[static_cast<size_t>(tableEdge)];
        for (auto it = parts.rbegin(); it != parts.rend() && !shown; ++it)
            shown = styles_.chainPartCellBorders(base.styleId, *it).edges[edge];
        if (!shown)
            shown = styles_.chainCellBorders(base.styleId).edges[edge];
        cell.borders[edge] = shown.value_or(false);
    }
    if (xmlNode* vAlign = childW(tcPr, "vAlign")) {
        const QString v = attr(vAlign, "val");
        cell.verticalAlignment = v == QLatin1String("center") ? vertical_alignment::Center
                                 : v == QLatin1String("bottom") ? vertical_alignment::Bottom
                                                                 : vertical_alignment::Top;
    } else {
        cell.verticalAlignment = styles_.chainVerticalAlignment(base.styleId).value_or(vertical_alignment::Top);
    }
    auto& slot = model_.tables[static_cast<size_t>(table)].rows[static_cast<size_t>(rowIndex)][static_cast<size_t>(columnIndex)];
    slot = cell;

    openCells_.push_back({table, {rowIndex, columnIndex}});
    const size_t paragraphsBefore = model_.paragraphs.size();
    readBlocks(tc, &context);
    // Every cell holds at least one paragraph, even when the file leaves it out.
    if (model_.paragraphs.size() == paragraphsBefore) {
        abandonUnfinishedFieldCodes();
        ParagraphRec rec;
        rec.start = static_cast<int>(model_.text.size());
        rec.style = styles_.defaultParagraphStyle() ? styles_.defaultParagraphStyle()->uiName : QStringLiteral("Normal");
        rec.table = table;
        append(U'\r', 0);
        rec.end = rec.start + 1;
        model_.paragraphs.push_back(rec);
    }
    openCells_.pop_back();
    model_.tables[static_cast<size_t>(table)].rows[static_cast<size_t>(rowIndex)][static_cast<size_t>(columnIndex)].end =
        static_cast<int>(model_.text.size());
}

void BodyReader::readInline(xmlNode* parent, const RunContext& context)
{
    for (xmlNode* node : children(parent)) {
        if (!inWordNamespace(node)) {
            if (isNamed(node, "AlternateContent"))
                readAlternateContent(node, context);
            continue;
        }
        const char* name = reinterpret_cast<const char*>(node->name);
        if (!std::strcmp(name, "r"))
            readRun(node, context);
        else if (!std::strcmp(name, "hyperlink")) {
            HyperlinkRec link;
            const QString id = relAttr(node, "id");
            if (!id.isEmpty() && rels_.contains(id))
                link.address = rels_.value(id).target;
            link.subAddress = attr(node, "anchor");
            link.start = static_cast<int>(model_.text.size());
            const int index = static_cast<int>(model_.hyperlinks.size());
            model_.hyperlinks.push_back(link);
            hyperlinks_.push_back(index);
            readInline(node, context);
            hyperlinks_.pop_back();
            model_.hyperlinks[static_cast<size_t>(index)].end = static_cast<int>(model_.text.size());
        } else if (!std::strcmp(name, "fldSimple")) {
            fieldBegin();
            fields_.back().code = attr(node, "instr");
            fieldSeparate();
            readInline(node, context);
            fieldEnd();
        } else if (!std::strcmp(name, "ins") || !std::strcmp(name, "moveTo")) {
            revisions_ = true;
            readInline(node, context);
        } else if (!std::strcmp(name, "del") || !std::strcmp(name, "moveFrom")) {
            revisions_ = true;
        } else if (!std::strcmp(name, "smartTag") || !std::strcmp(name, "customXml") || !std::strcmp(name, "dir")
                   || !std::strcmp(name, "bdo")) {
            readInline(node, context);
        } else if (!std::strcmp(name, "sdt")) {
            readInline(childW(node, "sdtContent"), context);
        } else if (!std::strcmp(name, "bookmarkStart")) {
            addBookmarkStart(node);
        } else if (!std::strcmp(name, "bookmarkEnd")) {
            addBookmarkEnd(node);
        }
    }
}

void BodyReader::readAlternateContent(xmlNode* node, const RunContext& context)
{
    xmlNode* fallback = nullptr;
    for (xmlNode* branch : children(node)) {
        if (isNamed(branch, "Choice") && understood(attr(branch, "Requires"))) {
            readInline(branch, context);
            return;
        }
        if (isNamed(branch, "Fallback"))
            fallback = branch;
    }
    if (fallback)
        readInline(fallback, context);
}

void BodyReader::readRun(xmlNode* r, const RunContext& context)
{
    xmlNode* rPr = childW(r, "rPr");
    if (holdsRevisionMarker(rPr))
        revisions_ = true;
    const QString charStyle = attr(childW(rPr, "rStyle"), "val");
    bool hidden = false;
    QString font;
    const CharFormat format = resolve(context, charStyle.isEmpty() ? RunProps{} : styles_.chainRun(charStyle),
                                      readRunProps(rPr), &hidden, &font);
    if (hidden) {
        // Hidden runs still carry field structure: a field's code may sit in a hidden run.
        for (xmlNode* node : children(r)) {
            if (isW(node, "fldChar")) {
                const QString type = attr(node, "fldCharType");
                if (type == QLatin1String("begin"))
                    fieldBegin();
                else if (type == QLatin1String("separate"))
                    fieldSeparate();
                else if (type == QLatin1String("end"))
                    fieldEnd();
            } else if (isW(node, "instrText") && !fields_.empty() && fields_.back().inCode) {
                fields_.back().code += textOf(node);
            }
        }
        return;
    }
    readRunContent(r, context, formatIndex(format), font);
}

void BodyReader::readRunContent(xmlNode* r, const RunContext& context, uint16_t format, const QString& font)
{
    for (xmlNode* node : children(r)) {
        if (!inWordNamespace(node)) {
            if (isNamed(node, "AlternateContent")) {
                // Pictures inside alternate content stay in this run.
                for (xmlNode* branch : children(node)) {
                    const bool choice = isNamed(branch, "Choice") && understood(attr(branch, "Requires"));
                    if (choice || isNamed(branch, "Fallback")) {
                        readRunContent(branch, context, format, font);
                        break;
                    }
                }
            }
            continue;
        }
        const char* name = reinterpret_cast<const char*>(node->name);
        if (!std::strcmp(name, "t")) {
            if (emitting())
                for (xmlNode* text = node->children; text; text = text->next)
                    if (text->type == XML_TEXT_NODE || text->type == XML_CDATA_SECTION_NODE)
                        appendText(text->content, format, font);
        } else if (!std::strcmp(name, "tab") || !std::strcmp(name, "ptab")) {
            append(U'\t', format);
        } else if (!std::strcmp(name, "br")) {
            const QString type = attr(node, "type");
            if (type == QLatin1String("page")) {
                if (emitting())
                    explicitBreaks_.push_back(static_cast<int>(model_.text.size()) + 1);
                append(U'\f', format);
            } else {
                append(type == QLatin1String("column") ? char32_t(14) : char32_t(11), format);
            }
        } else if (!std::strcmp(name, "cr")) {
            append(11, format);
        } else if (!std::strcmp(name, "noBreakHyphen")) {
            append(30, format);
        } else if (!std::strcmp(name, "softHyphen")) {
            append(31, format);
        } else if (!std::strcmp(name, "sym")) {
            bool ok = false;
            const char32_t code = attr(node, "char").toUInt(&ok, 16);
            if (ok && emitting()) {
                const QString symbolFont = attr(node, "font");
                bool mapped = false;
                const char32_t c = mapSymbolCharacter(code, symbolFont, &mapped);
                if (!mapped)
                    warnOnce(symbolFont, QStringLiteral("Characters of the symbol font '%1' have no Unicode equivalent; "
                                                        "they are read as stored.").arg(symbolFont));
                append(c, format);
            }
        } else if (!std::strcmp(name, "fldChar")) {
            const QString type = attr(node, "fldCharType");
            if (type == QLatin1String("begin"))
                fieldBegin();
            else if (type == QLatin1String("separate"))
                fieldSeparate();
            else if (type == QLatin1String("end"))
                fieldEnd();
        } else if (!std::strcmp(name, "instrText")) {
            if (!fields_.empty() && fields_.back().inCode)
                fields_.back().code += textOf(node);
        } else if (!std::strcmp(name, "lastRenderedPageBreak")) {
            if (emitting())
                renderedBreaks_.push_back(static_cast<int>(model_.text.size()));
        } else if (!std::strcmp(name, "drawing")) {
            if (emitting())
                readDrawing(node, format);
        } else if (!std::strcmp(name, "pict")) {
            if (emitting())
                readVml(node, format, false);
        } else if (!std::strcmp(name, "object")) {
            if (emitting())
                readVml(node, format, true);
        }
    }
}

void BodyReader::readDrawing(xmlNode* drawing, uint16_t format)
{
    // Floating (anchored) drawings are not inline shapes; they are left out.
    for (xmlNode* child : children(drawing)) {
        if (isNamed(child, "inline"))
            addShape(shapeFromInline(child, rels_), format);
        else if (isNamed(child, "anchor") && isPicture(child))
            ++floatingPictures_;
    }
}

void BodyReader::readVml(xmlNode* container, uint16_t format, bool ole)
{
    bool floating = false;
    if (auto shape = shapeFromVml(container, rels_, ole, &floating))
        addShape(*shape, format);
    if (floating)
        ++floatingPictures_;
}

void BodyReader::addShape(ShapeRec shape, uint16_t format)
{
    shape.position = static_cast<int>(model_.text.size());
    model_.shapes.push_back(std::move(shape));
    append(U'/', format);
}

void BodyReader::fieldBegin()
{
    fields_.push_back(FieldFrame{});
    ++codeDepth_;
}

void BodyReader::fieldSeparate()
{
    if (fields_.empty() || !fields_.back().inCode)
        return;
    FieldFrame& frame = fields_.back();
    frame.inCode = false;
    --codeDepth_;
    // Fields in another field's code are part of that code, not of the document.
    if (codeDepth_ > 0)
        return;
    FieldRec rec;
    rec.code = frame.code.trimmed();
    rec.type = fieldTypeOf(rec.code);
    rec.resultStart = static_cast<int>(model_.text.size());
    for (auto it = fields_.rbegin() + 1; it != fields_.rend(); ++it)
        if (it->field >= 0) {
            rec.parent = it->field;
            break;
        }
    frame.field = static_cast<int>(model_.fields.size());
    model_.fields.push_back(rec);
    if (rec.type == field_type::Hyperlink) {
        const HyperlinkTarget target = hyperlinkTargetOf(rec.code);
        HyperlinkRec link{target.address, target.subAddress, rec.resultStart, rec.resultStart};
        frame.hyperlink = static_cast<int>(model_.hyperlinks.size());
        model_.hyperlinks.push_back(link);
        hyperlinks_.push_back(frame.hyperlink);
    }
}

void BodyReader::fieldEnd()
{
    if (fields_.empty())
        return;
    if (fields_.back().inCode)
        fieldSeparate();    // a field without a result: an empty one at this point
    const FieldFrame frame = fields_.back();
    fields_.pop_back();
    const int position = static_cast<int>(model_.text.size());
    if (frame.field >= 0)
        model_.fields[static_cast<size_t>(frame.field)].resultEnd = position;
    if (frame.hyperlink >= 0) {
        model_.hyperlinks[static_cast<size_t>(frame.hyperlink)].end = position;
        if (!hyperlinks_.empty() && hyperlinks_.back() == frame.hyperlink)
            hyperlinks_.pop_back();
    }
}

void BodyReader::abandonUnfinishedFieldCodes()
{
    // A paragraph mark inside a field code means a damaged field: the mark must stay in the
    // story, so the unfinished fields are dropped.
    while (!emitting()) {
        const FieldFrame frame = fields_.back();
        fields_.pop_back();
        if (frame.inCode)
            --codeDepth_;
        if (frame.field >= 0)
            model_.fields[static_cast<size_t>(frame.field)].resultEnd = static_cast<int>(model_.text.size());
        if (frame.hyperlink >= 0) {
            model_.hyperlinks[static_cast<size_t>(frame.hyperlink)].end = static_cast<int>(model_.text.size());
            if (!hyperlinks_.empty() && hyperlinks_.back() == frame.hyperlink)
                hyperlinks_.pop_back();
        }
    }
}

void BodyReader::addBookmarkStart(xmlNode* node)
{
    const QString name = attr(node, "name");
    // Hidden bookmarks (cross-reference targets, table-of-contents entries) are not shown.
    if (name.isEmpty() || name.startsWith(QLatin1Char('_')))
        return;
    const int position = static_cast<int>(model_.text.size());
    openBookmarks_.insert(attr(node, "id"), static_cast<int>(model_.bookmarks.size()));
    model_.bookmarks.push_back(BookmarkRec{name, position, position});
}

void BodyReader::addBookmarkEnd(xmlNode* node)
{
    const auto it = openBookmarks_.find(attr(node, "id"));
    if (it == openBookmarks_.end())
        return;
    model_.bookmarks[static_cast<size_t>(*it)].end = static_cast<int>(model_.text.size());
    openBookmarks_.erase(it);
}

CharFormat BodyReader::resolve(const RunContext& context, const RunProps& characterStyle, const RunProps& direct,
                               bool* hidden, QString* font) const
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
    CharFormat format;
    format.bold = toggle(&RunProps::bold);
    format.italic = toggle(&RunProps::italic);
    *hidden = toggle(&RunProps::hidden);
    format.underline = inherited(&RunProps::underline, 0);
    const int vertAlign = inherited(&RunProps::vertAlign, 0);
    format.superscript = vertAlign == 1;
    format.subscript = vertAlign == 2;
    *font = inherited(&RunProps::font, QString());
    return format;
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

void BodyReader::append(char32_t c, uint16_t format)
{
    if (!emitting())
        return;
    model_.text.push_back(c);
    model_.formatOf.push_back(format);
    model_.fieldOf.push_back(fields_.empty() ? -1 : fields_.back().field);
    model_.hyperlinkOf.push_back(hyperlinks_.empty() ? -1 : hyperlinks_.back());
}

void BodyReader::appendText(const xmlChar* utf8, uint16_t format, const QString& font)
{
    if (!emitting() || !utf8)
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
