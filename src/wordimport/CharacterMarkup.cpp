#include "wordimport/clsWord.h"

#include "app/shared/SharedProcedures.h"
#include "platform/word/Field.h"

#include <array>
#include <map>
#include <set>
#include <utility>

namespace veldra {

namespace {

enum Run { Bold, Italic, Underline, Superscript, Subscript, RunCount };

const std::array<const char*, RunCount> openTags{"<content styleCode=\"bold\">", "<content styleCode=\"italics\">",
                                                 "<content styleCode=\"underline\">", "<sup>", "<sub>"};
const std::array<const char*, RunCount> closeTags{"</content>", "</content>", "</content>", "</sup>", "</sub>"};

std::array<bool, RunCount> formatsOf(const word::Font& font)
{
    return {font.bold() != word::False, font.italic() != word::False, font.underline() != word::underline::None,
            font.superscript() != word::False, font.subscript() != word::False};
}

// The open runs, innermost last. Closing a run that is not innermost closes the runs inside
// it first and reopens them after, so crossing runs still give well-formed markup.
class RunStack {
public:
    void open(Run run, QString& out)
    {
        out += QLatin1String(openTags[run]);
        open_.push_back(run);
    }
    void close(Run run, QString& out)
    {
        std::vector<Run> reopen;
        while (!open_.empty()) {
            const Run top = open_.back();
            open_.pop_back();
            out += QLatin1String(closeTags[top]);
            if (top == run)
                break;
            reopen.push_back(top);
        }
        for (auto it = reopen.rbegin(); it != reopen.rend(); ++it)
            open(*it, out);
    }
    // Closes every open run that `keep` leaves out, reopening only the runs inside them that
    // it keeps, so that runs ending together leave no empty element behind.
    void closeOthers(const std::array<bool, RunCount>& keep, QString& out)
    {
        std::vector<Run> reopen;
        while (std::any_of(open_.begin(), open_.end(), [&](Run run) { return !keep[run]; })) {
            const Run top = open_.back();
            open_.pop_back();
            out += QLatin1String(closeTags[top]);
            if (keep[top])
                reopen.push_back(top);
        }
        for (auto it = reopen.rbegin(); it != reopen.rend(); ++it)
            open(*it, out);
    }
    bool isOpen(Run run) const { return std::find(open_.begin(), open_.end(), run) != open_.end(); }
    void closeAll(QString& out)
    {
        while (!open_.empty()) {
            out += QLatin1String(closeTags[open_.back()]);
            open_.pop_back();
        }
    }

private:
    std::vector<Run> open_;
};

// Opens the runs `formats` holds and closes the others.
void setRuns(RunStack& runs, const std::array<bool, RunCount>& formats, QString& out)
{
    runs.closeOthers(formats, out);
    for (int r = 0; r < RunCount; ++r)
        if (formats[r] && !runs.isOpen(static_cast<Run>(r)))
            runs.open(static_cast<Run>(r), out);
}

// The runs that cover every character of a link, so that they stand around the link and keep
// its text whole. The underline of the link's character style is the link's own look; a
// superscript or subscript holds text only, never a link.
std::array<bool, RunCount> formatsAroundLink(const word::Font& font)
{
    const int underline = font.underline();
    const bool ownUnderline = underline != word::underline::None && underline != word::Mixed
                              && font.underlineFromCharacterStyle() == word::False;
    return {font.bold() == word::True, font.italic() == word::True, ownUnderline, false, false};
}

// The runs around each hyperlink of the paragraph, by the link's first character.
std::map<int, std::array<bool, RunCount>> linkStarts(const word::Range& range)
{
    std::map<int, std::array<bool, RunCount>> starts;
    for (const word::Hyperlink& link : range.hyperlinks()) {
        const word::Range text = link.range();
        if (text.start() < text.end())
            starts.emplace(text.start(), formatsAroundLink(text.font()));
    }
    return starts;
}

// Spans [start, end) of the paragraph's fields and hyperlinks: their characters change no
// run, so a link's text stays in one piece for the link conversion to find.
std::vector<std::pair<int, int>> linkSpans(const word::Range& range)
{
    std::vector<std::pair<int, int>> spans;
    for (const word::Field& field : range.fields())
        spans.emplace_back(field.result().start(), field.result().end());
    for (const word::Hyperlink& link : range.hyperlinks())
        spans.emplace_back(link.range().start(), link.range().end());
    return spans;
}

bool inSpans(const std::vector<std::pair<int, int>>& spans, int position)
{
    for (const auto& [start, end] : spans)
        if (position >= start && position < end)
            return true;
    return false;
}

// A manual line break becomes a line break of SPL text, a tab, page or column break a blank
// and a non-breaking hyphen a hyphen: each would otherwise be dropped with the control
// characters and glue the words around it. An optional hyphen shows only where a line
// breaks: it goes.
void appendText(QString& out, const QString& text)
{
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '\t':
        case '\f':
        case word::text_mark::ColumnBreak: out += QLatin1Char(' '); break;
        case '\v': out += QLatin1String("<br/>"); break;
        case word::text_mark::NonBreakingHyphen: out += QLatin1Char('-'); break;
        default: out += c;
        }
    }
}

QString textOf(const QString& text)
{
    QString out;
    out.reserve(text.size() + 16);
    appendText(out, text);
    return out;
}

// A footnote's or endnote's mark becomes the SPL footnote itself, which shows the mark and
// the note's text; the note's text is not lost with the mark's control character.
std::map<int, QString> footnotesOf(const word::Range& range)
{
    std::map<int, QString> footnotes;
    for (const word::Note& note : range.notes())
        footnotes.emplace(note.reference().start(), QStringLiteral("<footnote>") + textOf(note.text()) + QStringLiteral("</footnote>"));
    return footnotes;
}

} // namespace

QString clsWord::FormatBoldItalicUnderlineSubScriptSuperScript(const word::Paragraph& Paragraph) const
{
    const word::Range range = Paragraph.range();
    // The character a picture occupies in the text is no text of the label.
    std::set<int> pictures;
    for (const word::InlineShape& shape : range.inlineShapes())
        pictures.insert(shape.range().start());

    const std::map<int, QString> footnotes = footnotesOf(range);

    const std::array<bool, RunCount> whole = formatsOf(range.font());
    if (std::none_of(whole.begin(), whole.end(), [](bool on) { return on; })) {
        if (pictures.empty() && footnotes.empty())
            return textOf(range.text());
        QString text;
        for (const word::Range& character : range.characters()) {
            if (const auto footnote = footnotes.find(character.start()); footnote != footnotes.end())
                text += footnote->second;
            else if (!pictures.count(character.start()))
                appendText(text, character.text());
        }
        return text;
    }
    QString blanksRemoved = range.text();
    blanksRemoved.remove(QLatin1Char(' '));
    if (blanksRemoved == QStringLiteral("/\r"))
        return QString();

    const std::vector<std::pair<int, int>> spans = linkSpans(range);
    const std::map<int, std::array<bool, RunCount>> links = linkStarts(range);
    QString out;
    RunStack runs;
    for (const word::Range& character : range.characters()) {
        if (pictures.count(character.start()))
            continue;
        if (const auto footnote = footnotes.find(character.start()); footnote != footnotes.end()) {
            // A superscript or subscript holds text only: the footnote stands outside it.
            for (const Run script : {Superscript, Subscript})
                if (runs.isOpen(script))
                    runs.close(script, out);
            out += footnote->second;
            continue;
        }
        if (const auto link = links.find(character.start()); link != links.end())
            setRuns(runs, link->second, out);
        else if (!inSpans(spans, character.start()))
            setRuns(runs, formatsOf(character.font()), out);
        appendText(out, character.text());
    }
    runs.closeAll(out);
    return out;
}

} // namespace veldra
