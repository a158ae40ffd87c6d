// Draws the Veldra logo: a label sheet with a check mark beside the name, 170 x 50
// pixels (the logo boxes of the windows are 2550 x 750 twips). With --icon, draws the
// logo's emblem alone, 256 x 256 pixels on a transparent ground: the icon of the desktop
// entry.

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

const QColor deepTeal(18, 84, 96);
const QColor brightTeal(38, 150, 160);
const QColor slate(96, 110, 120);

void drawBackground(QPainter& p, const QRect& area)
{
    QLinearGradient shade(area.topLeft(), area.bottomLeft());
    shade.setColorAt(0, QColor(250, 252, 252));
    shade.setColorAt(1, QColor(226, 238, 240));
    p.fillRect(area, shade);
    p.setPen(QPen(QColor(190, 210, 214), 1));
    p.drawRect(area.adjusted(0, 0, -1, -1));
}

// A label sheet with a folded corner, text lines and a check mark over it.
void drawEmblem(QPainter& p)
{
    QPainterPath sheet;
    sheet.moveTo(8, 6);
    sheet.lineTo(30, 6);
    sheet.lineTo(38, 14);
    sheet.lineTo(38, 44);
    sheet.lineTo(8, 44);
    sheet.closeSubpath();
    QLinearGradient fill(QPointF(8, 6), QPointF(38, 44));
    fill.setColorAt(0, brightTeal);
    fill.setColorAt(1, deepTeal);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(sheet);

    QPainterPath fold;
    fold.moveTo(30, 6);
    fold.lineTo(30, 14);
    fold.lineTo(38, 14);
    fold.closeSubpath();
    p.setBrush(QColor(180, 220, 224));
    p.drawPath(fold);

    p.setPen(QPen(QColor(255, 255, 255, 150), 2, Qt::SolidLine, Qt::RoundCap));
    for (int y : {18, 24, 30})
        p.drawLine(13, y, y == 18 ? 25 : 33, y);

    p.setPen(QPen(QColor(255, 196, 60), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath check;
    check.moveTo(16, 35);
    check.lineTo(22, 41);
    check.lineTo(43, 17);
    p.drawPath(check);
}

void drawName(QPainter& p)
{
    QFont name(QStringLiteral("DejaVu Sans"));
    name.setPixelSize(24);
    name.setBold(true);
    name.setLetterSpacing(QFont::PercentageSpacing, 102);
    p.setFont(name);
    p.setPen(deepTeal);
    p.drawText(QRect(50, 3, 118, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Veldra"));

    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(9);
    subtitle.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    p.setFont(subtitle);
    p.setPen(slate);
    p.drawText(QRect(51, 31, 118, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("SPL AUTHORING"));
}

} // namespace

// The emblem lies in the logo's square (2, 2)-(48, 48); the icon scales that square up.
int makeIcon(const QString& path)
{
    constexpr int size = 256;
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 46.0, size / 46.0);
    p.translate(-2, -2);
    drawEmblem(p);
    p.end();
    if (!icon.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc == 3 && QString::fromLocal8Bit(argv[1]) == QLatin1String("--icon"))
        return makeIcon(QString::fromLocal8Bit(argv[2]));
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_logo <output.jpg or .png> | make_logo --icon <output.png>\n");
        return 2;
    }
    QImage logo(170, 50, QImage::Format_RGB32);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawBackground(p, logo.rect());
    drawEmblem(p);
    drawName(p);
    p.end();
    if (!logo.save(QString::fromLocal8Bit(argv[1]), nullptr, 95)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
