#include "platform/rtf/RtfWriter.h"
#include "support/RtfReader.h"

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using veldra::rtf::toRtf;
using veldra::test::RtfReader;

namespace {

QTextCharFormat charFormat(const QColor& colour, bool bold, qreal points)
{
    QTextCharFormat f;
    if (colour.isValid())
        f.setForeground(colour);
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    if (points > 0)
        f.setFontPointSize(points);
    return f;
}

struct Piece {
    QString text;
    QColor colour;
    bool bold;
    qreal points;
};

void fill(QTextDocument& doc, const QList<Piece>& pieces)
{
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(9.75);
    doc.setDefaultFont(font);
    QTextCursor cursor(&doc);
    for (const Piece& p : pieces)
        cursor.insertText(p.text, charFormat(p.colour, p.bold, p.points));
}

} // namespace

TEST(RtfWriter, WritesWellFormedRtfWithTablesAndEscapes)
{
    QTextDocument doc;
    fill(doc, {{QStringLiteral("Error     x\n"), QColor(255, 0, 0), false, 10},
               {QStringLiteral("a\\b{c}\t\u00e9\u20ac\U0001F600"), QColor(), true, 0}});
    const QByteArray rtf = toRtf(doc);

    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi"));
    EXPECT_TRUE(rtf.trimmed().endsWith('}'));
    EXPECT_TRUE(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Courier New;}}"));
    EXPECT_TRUE(rtf.contains("{\\colortbl ;\\red255\\green0\\blue0;}"));
    EXPECT_TRUE(rtf.contains("a\\\\b\\{c\\}\\tab \\u233?\\u8364?\\u-10179?\\u-8704?"));
    EXPECT_TRUE(rtf.contains("\\fs20 "));   // 10 points
    EXPECT_TRUE(rtf.contains("\\fs20 ") && rtf.contains("\\b "));
    for (const char c : rtf)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80) << "RTF must be 7-bit";
}

TEST(RtfWriter, RoundTripKeepsTextColoursBoldAndSizes)
{
    QTextDocument doc;
    const QList<Piece> pieces = {
        {QStringLiteral("\n****\n     Veldra Version 1.2.3\n\n"), QColor(0, 0, 0), true, 10},
        {QStringLiteral("Error          broken {x} \\ y\n"), QColor(255, 0, 0), false, 10},
        {QStringLiteral("Warning        na\u00efve \u2013 \u4e2d\n"), QColor(255, 100, 0), true, 10},
        {QStringLiteral("Information    ok\n"), QColor(0, 125, 0), false, 12.5},
        {QStringLiteral("plain"), QColor(), false, 0},
    };
    fill(doc, pieces);

    const auto content = RtfReader::read(toRtf(doc));
    EXPECT_EQ(content.plainText(), doc.toPlainText());

    // Compare every character's attributes with the document's.
    QString expectedText;
    QList<const Piece*> owner;
    for (const Piece& p : pieces)
        for (qsizetype i = 0; i < p.text.size(); ++i) {
            expectedText += p.text.at(i);
            owner << &p;
        }
    ASSERT_EQ(content.plainText(), expectedText);
    qsizetype at = 0;
    for (const auto& run : content.runs) {
        for (qsizetype i = 0; i < run.text.size(); ++i, ++at) {
            if (run.text.at(i) == QLatin1Char('\n'))
                continue;  // paragraph marks carry no format of their own
            const Piece& p = *owner.at(at);
            EXPECT_EQ(run.colour, p.colour) << "at " << at;
            EXPECT_EQ(run.bold, p.bold) << "at " << at;
            EXPECT_EQ(run.halfPoints, qRound((p.points > 0 ? p.points : 9.75) * 2)) << "at " << at;
            EXPECT_EQ(run.font, QStringLiteral("Courier New"));
        }
    }
}

TEST(RtfWriter, EmptyDocumentIsStillValidRtf)
{
    QTextDocument doc;
    const auto content = RtfReader::read(toRtf(doc));
    EXPECT_TRUE(content.plainText().isEmpty());
}
