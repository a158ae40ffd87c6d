#include "wordimport/LinkPlacement.h"

#include <algorithm>

namespace veldra {

namespace {

// A tag's name: "sup" for "<sup>", "</sup>" and "<sup/>".
QStringView tagName(QStringView tag)
{
    const qsizetype start = tag.startsWith(u"</") ? 2 : 1;
    qsizetype end = start;
    while (end < tag.size() && tag[end] != u'>' && tag[end] != u'/' && !tag[end].isSpace())
        ++end;
    return tag.mid(start, end - start);
}

// Tags that change only the look of text or link it: the text on both sides reads as one.
bool joinsText(QStringView tag)
{
    const QStringView name = tagName(tag);
    return name == u"content" || name == u"linkHtml";
}

// The character read just before `position`, through tags that join text; a null character
// at the start or where a tag parts the text (a superscript, a line break, a footnote).
QChar characterBefore(const QString& markup, qsizetype position)
{
    while (position > 0 && markup[position - 1] == u'>') {
        const qsizetype open = markup.lastIndexOf(u'<', position - 1);
        if (open < 0 || !joinsText(QStringView(markup).mid(open, position - open)))
            return {};
        position = open;
    }
    return position > 0 ? markup[position - 1] : QChar();
}

// The character read at `position`, through tags that join text, as characterBefore.
QChar characterAt(const QString& markup, qsizetype position)
{
    while (position < markup.size() && markup[position] == u'<') {
        const qsizetype close = markup.indexOf(u'>', position);
        if (close < 0 || !joinsText(QStringView(markup).mid(position, close + 1 - position)))
            return {};
        position = close + 1;
    }
    return position < markup.size() ? markup[position] : QChar();
}

// Whether `from` found at `start` stands on its own: "1" is not found in "10", nor
// "Warnings" in "WarningsX".
bool standsAlone(const QString& markup, qsizetype start, QStringView from)
{
    if (from.front().isLetterOrNumber() && characterBefore(markup, start).isLetterOrNumber())
        return false;
    return !(from.back().isLetterOrNumber() && characterAt(markup, start + from.size()).isLetterOrNumber());
}

// The length of the text at `position`: an entity reference ("&amp;") reads as one character
// and is never matched from its middle.
qsizetype textUnitLength(const QString& markup, qsizetype position)
{
    if (markup[position] != u'&')
        return 1;
    qsizetype end = position + 1;
    while (end < markup.size() && (markup[end].isLetterOrNumber() || markup[end] == u'#'))
        ++end;
    return end < markup.size() && markup[end] == u';' ? end + 1 - position : 1;
}

// How deep the scan stands in links and in superscripts or subscripts.
struct Nesting {
    int links = 0;
    int scripts = 0;

    void pass(QStringView tag)
    {
        if (tag.endsWith(u"/>"))
            return;
        const QStringView name = tagName(tag);
        int* depth = name == u"linkHtml" ? &links : (name == u"sup" || name == u"sub") ? &scripts : nullptr;
        if (depth)
            *depth = tag.startsWith(u"</") ? std::max(0, *depth - 1) : *depth + 1;
    }
};

} // namespace

LinkPlacement placeLink(QString& markup, const QString& from, const QString& to)
{
    LinkPlacement placement;
    if (from.isEmpty())
        return placement;
    QString out;
    out.reserve(markup.size());
    Nesting nesting;
    qsizetype i = 0;
    while (i < markup.size()) {
        if (markup[i] == u'<') {
            const qsizetype close = markup.indexOf(u'>', i);
            const qsizetype end = close < 0 ? markup.size() : close + 1;
            const QStringView tag = QStringView(markup).mid(i, end - i);
            nesting.pass(tag);
            out += tag;
            i = end;
            continue;
        }
        if (nesting.links == 0 && QStringView(markup).mid(i).startsWith(from) && standsAlone(markup, i, from)) {
            if (nesting.scripts == 0) {
                out += to;
                ++placement.linked;
            } else {
                out += from;
                ++placement.raised;
            }
            i += from.size();
            continue;
        }
        const qsizetype unit = textUnitLength(markup, i);
        out += QStringView(markup).mid(i, unit);
        i += unit;
    }
    markup = out;
    return placement;
}

} // namespace veldra
