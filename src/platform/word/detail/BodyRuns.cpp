#include "platform/word/detail/BodyReader.h"

#include "platform/word/WordConstants.h"
#include "platform/word/detail/FieldCodes.h"
#include "platform/word/detail/Revisions.h"
#include "platform/word/detail/Shapes.h"
#include "platform/word/detail/SymbolFonts.h"
#include "platform/word/detail/Xml.h"

#include <QSet>

// The content of paragraphs: runs and their text, fields, hyperlinks, bookmarks,
// equations and inline pictures.
namespace veldra::word::detail {

namespace {

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

// The text boxes of a drawing or a VML shape; a box is a story of its own, so the search
// stops at each one.
void collectTextBoxes(xmlNode* node, std::vector<xmlNode*>& into)
{
    for (xmlNode* child : children(node)) {
        if (isW(child, "txbxContent"))
            into.push_back(child);
        else
            collectTextBoxes(child, into);
    }
}

} // namespace

void BodyReader::readInline(xmlNode* parent, const RunContext& context)
{
    for (xmlNode* node : children(parent)) {
        if (!inWordNamespace(node)) {
            if (isNamed(node, "AlternateContent"))
                readAlternateContent(node, context);
            else if (isNamed(node, "oMathPara") || isNamed(node, "oMath"))
                readMath(node, context);
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

void BodyReader::readMath(xmlNode* math, const RunContext& context)
{
    // An equation's text is part of the paragraph; its layout (fractions, scripts,
    // radicals) is not, so the text reads in line and the reader says so.
    warnOnce(QStringLiteral("math"), QStringLiteral("Equations in the Word document are read as plain text, without their layout."));
    const uint16_t format = formatIndex(resolve(context, RunProps{}, RunProps{}).format);
    for (xmlNode* node : children(math)) {
        if (isNamed(node, "t") && !inWordNamespace(node)) {
            for (xmlNode* text = node->children; text; text = text->next)
                if (text->type == XML_TEXT_NODE || text->type == XML_CDATA_SECTION_NODE)
                    appendText(text->content, format, QString());
        } else if (!isNamed(node, "rPr") && !isNamed(node, "ctrlPr")) {
            if (isNamed(node, "den"))
                append(U'/', format);   // a fraction's bar
            readMath(node, context);
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
    const ResolvedRun run =
        resolve(context, charStyle.isEmpty() ? RunProps{} : styles_.chainRun(charStyle), readRunProps(rPr));
    if (run.hidden) {
        // Hidden runs still carry field structure: a field's code may sit in a hidden run.
        for (xmlNode* node : children(r))
            if (isW(node, "fldChar") || isW(node, "instrText"))
                readFieldMark(node);
        return;
    }
    const int start = static_cast<int>(model_.text.size());
    readRunContent(r, context, formatIndex(run.format), run.font);
    const int end = static_cast<int>(model_.text.size());
    if (end > start)
        paragraphRuns_.push_back(
            ShownRun{start, end, run.size, run.position, run.format.superscript || run.format.subscript});
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
                append(type == QLatin1String("column") ? char32_t(text_mark::ColumnBreak) : char32_t(11), format);
            }
        } else if (!std::strcmp(name, "cr")) {
            append(11, format);
        } else if (!std::strcmp(name, "noBreakHyphen")) {
            append(text_mark::NonBreakingHyphen, format);
        } else if (!std::strcmp(name, "softHyphen")) {
            append(text_mark::OptionalHyphen, format);
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
        } else if (!std::strcmp(name, "footnoteReference")) {
            addNoteReference(node, notes_.footnotes, format);
        } else if (!std::strcmp(name, "endnoteReference")) {
            addNoteReference(node, notes_.endnotes, format);
        } else if (!std::strcmp(name, "fldChar") || !std::strcmp(name, "instrText")) {
            readFieldMark(node);
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
    // A floating (anchored) picture is read in line where it is anchored, and a drawn group
    // or canvas gives the pictures it holds, so that none is lost; other drawings give only
    // the text of their text boxes.
    for (xmlNode* child : children(drawing)) {
        const bool floating = isNamed(child, "anchor");
        if (!floating && !isNamed(child, "inline"))
            continue;
        std::vector<ShapeRec> pictures;
        if (isDrawnGroup(child))
            pictures = picturesOfGroup(child, rels_);
        else if (!floating || isPicture(child))
            pictures.push_back(shapeFromInline(child, rels_));
        for (ShapeRec& picture : pictures)
            addShape(std::move(picture), format);
        if (floating)
            floatingPictures_ += static_cast<int>(pictures.size());
    }
    collectTextBoxes(drawing, textBoxes_);
}

void BodyReader::readVml(xmlNode* container, uint16_t format, bool ole)
{
    bool floating = false;
    if (auto shape = shapeFromVml(container, rels_, ole, &floating)) {
        addShape(*shape, format);
        if (floating)
            ++floatingPictures_;
    }
    for (ShapeRec& picture : picturesOfVmlGroup(container, rels_))
        addShape(std::move(picture), format);
    collectTextBoxes(container, textBoxes_);
}

void BodyReader::addShape(ShapeRec shape, uint16_t format)
{
    shape.position = static_cast<int>(model_.text.size());
    model_.shapes.push_back(std::move(shape));
    append(U'/', format);
}

void BodyReader::addNoteReference(xmlNode* reference, const QHash<QString, QString>& texts, uint16_t format)
{
    const auto it = texts.constFind(attr(reference, "id"));
    if (!emitting() || it == texts.cend())
        return;
    model_.notes.push_back(NoteRec{static_cast<int>(model_.text.size()), *it});
    append(text_mark::NoteReference, format);
}

void BodyReader::readFieldMark(xmlNode* node)
{
    if (isW(node, "instrText")) {
        if (!fields_.empty() && fields_.back().inCode)
            fields_.back().code += textOf(node);
        return;
    }
    const QString type = attr(node, "fldCharType");
    if (type == QLatin1String("begin"))
        fieldBegin();
    else if (type == QLatin1String("separate"))
        fieldSeparate();
    else if (type == QLatin1String("end"))
        fieldEnd();
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

} // namespace veldra::word::detail
