#include "platform/rtf/RtfWriter.h"

#include <QColor>
#include <QList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

namespace veldra::rtf {

namespace {

// The character attributes that the RTF keeps. An invalid colour is the reader's
// automatic colour (index 0 of the colour table).
struct RunFormat {
    QString family;
    QColor colour;
    bool bold = false;
    int halfPoints = 0;

    bool operator==(const RunFormat&) const = default;
};

RunFormat formatOf(const QTextCharFormat& format, const QFont& defaultFont)
{
    RunFormat run;
    const QFont font = format.font().resolve(defaultFont);
    run.family = font.family();
    if (format.foreground().style() != Qt::NoBrush)
        run.colour = format.foreground().color();
    run.bold = font.weight() >= QFont::Bold;
    const qreal points = format.fontPointSize() > 0 ? format.fontPointSize() : defaultFont.pointSizeF();
    run.halfPoints = qRound(points * 2);
    return run;
}

// Calls `visit(text, format)` for every stretch of equally formatted text, and
// `endParagraph()` between paragraphs.
template <class Visit, class EndParagraph>
void walk(const QTextDocument& document, Visit visit, EndParagraph endParagraph)
{
    const QFont defaultFont = document.defaultFont();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            endParagraph();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid())
                visit(fragment.text(), formatOf(fragment.charFormat(), defaultFont));
        }
    }
}

void appendEscaped(QByteArray& out, const QString& text)
{
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit == u'\\' || unit == u'{' || unit == u'}') {
            out += '\\';
            out += char(unit);
        } else if (unit == u'\t') {
            out += "\\tab ";
        } else if (c == QChar::LineSeparator) {
            out += "\\line ";
        } else if (unit >= 0x20 && unit < 0x7f) {
            out += char(unit);
        } else {
            // RTF's \u takes a signed 16-bit number; "?" stands in for readers without Unicode.
            out += "\\u" + QByteArray::number(unit > 0x7fff ? int(unit) - 0x10000 : int(unit)) + '?';
        }
    }
}

class Tables {
public:
    int fontIndex(const QString& family)
    {
        if (!fonts_.contains(family))
            fonts_ << family;
        return int(fonts_.indexOf(family));
    }

    // 0 is the automatic colour.
    int colourIndex(const QColor& colour)
    {
        if (!colour.isValid())
            return 0;
        const QRgb rgb = colour.rgb();
        if (!colours_.contains(rgb))
            colours_ << rgb;
        return int(colours_.indexOf(rgb)) + 1;
    }

    QByteArray rtf() const
    {
        QByteArray out = "{\\fonttbl";
        for (qsizetype i = 0; i < fonts_.size(); ++i) {
            out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
            appendEscaped(out, fonts_.at(i));
            out += ";}";
        }
        out += "}\n{\\colortbl ;";
        for (const QRgb rgb : colours_)
            out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" + QByteArray::number(qGreen(rgb))
                   + "\\blue" + QByteArray::number(qBlue(rgb)) + ';';
        out += "}\n";
        return out;
    }

private:
    QStringList fonts_;
    QList<QRgb> colours_;
};

// Control words for the attributes that change from `from` to `to`.
QByteArray formatChange(const RunFormat& from, const RunFormat& to, Tables& tables, bool first)
{
    QByteArray out;
    if (first || from.family != to.family)
        out += "\\f" + QByteArray::number(tables.fontIndex(to.family));
    if (first || from.colour != to.colour)
        out += "\\cf" + QByteArray::number(tables.colourIndex(to.colour));
    if (first || from.bold != to.bold)
        out += to.bold ? "\\b" : "\\b0";
    if (first || from.halfPoints != to.halfPoints)
        out += "\\fs" + QByteArray::number(to.halfPoints);
    if (!out.isEmpty())
        out += ' ';
    return out;
}

} // namespace

QByteArray toRtf(const QTextDocument& document)
{
    Tables tables;
    tables.fontIndex(document.defaultFont().family());
    walk(document, [&](const QString&, const RunFormat& f) {
        tables.fontIndex(f.family);
        tables.colourIndex(f.colour);
    }, [] {});

    QByteArray body;
    RunFormat current;
    bool first = true;
    walk(document, [&](const QString& text, const RunFormat& f) {
        body += formatChange(current, f, tables, first);
        current = f;
        first = false;
        appendEscaped(body, text);
    }, [&] { body += "\\par\n"; });

    return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n" + tables.rtf() + "\\pard\\plain " + body + "}\n";
}

} // namespace veldra::rtf
