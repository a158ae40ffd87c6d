// Draws one 50 x 50 header picture per enabled wizard of Wizards.xml (the wizard window's
// picture box is 750 x 750 twips), named "Wizard" + the wizard's name without blanks + ".jpg".
// The pictures share the logo's colours: a teal tile with a white motif that tells what the
// wizard does; a wizard without a motif of its own gets a magic wand.

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <QXmlStreamReader>
#include <cstdio>
#include <functional>
#include <map>

namespace {

const QColor deepTeal(18, 84, 96);
const QColor brightTeal(38, 150, 160);
const QColor paper(250, 252, 252);
const QColor ink(18, 84, 96);
const QColor amber(255, 196, 60);
const QColor folderYellow(240, 200, 80);

void drawTile(QPainter& p)
{
    QLinearGradient shade(QPointF(0, 0), QPointF(50, 50));
    shade.setColorAt(0, brightTeal);
    shade.setColorAt(1, deepTeal);
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawRoundedRect(QRectF(1, 1, 48, 48), 8, 8);
}

// A sheet with a folded corner and a few text lines.
void drawPage(QPainter& p, const QRectF& r)
{
    QPainterPath sheet;
    const qreal fold = r.width() * 0.3;
    sheet.moveTo(r.left(), r.top());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.right(), r.bottom());
    sheet.lineTo(r.left(), r.bottom());
    sheet.closeSubpath();
    p.setPen(QPen(deepTeal, 1));
    p.setBrush(paper);
    p.drawPath(sheet);
    p.setPen(QPen(QColor(150, 180, 186), 1.5));
    for (qreal y = r.top() + fold + 3; y < r.bottom() - 3; y += 4.5)
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
}

void drawBadge(QPainter& p, const QPointF& centre, const QString& text)
{
    p.setPen(QPen(deepTeal, 1));
    p.setBrush(amber);
    p.drawEllipse(centre, 9, 9);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.setPen(deepTeal);
    p.drawText(QRectF(centre.x() - 9, centre.y() - 9, 18, 18), Qt::AlignCenter, text);
}

void newVersion(QPainter& p)
{
    drawPage(p, QRectF(11, 7, 24, 32));
    drawBadge(p, QPointF(34, 35), QStringLiteral("+1"));
}

void newSet(QPainter& p)
{
    drawPage(p, QRectF(16, 6, 22, 28));
    drawPage(p, QRectF(10, 12, 22, 28));
    drawBadge(p, QPointF(35, 36), QStringLiteral("ID"));
}

void wordImport(QPainter& p)
{
    drawPage(p, QRectF(17, 7, 24, 33));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(43, 87, 154));
    p.drawRoundedRect(QRectF(7, 16, 20, 18), 2, 2);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(7, 16, 20, 18), Qt::AlignCenter, QStringLiteral("W"));
}

void labelerIdentity(QPainter& p)
{
    p.setPen(QPen(deepTeal, 1));
    p.setBrush(paper);
    p.drawRoundedRect(QRectF(6, 12, 38, 26), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(brightTeal);
    p.drawEllipse(QPointF(16, 21), 4, 4);
    QPainterPath body;
    body.moveTo(9, 34);
    body.cubicTo(9, 25, 23, 25, 23, 34);
    body.closeSubpath();
    p.drawPath(body);
    p.setPen(QPen(QColor(150, 180, 186), 2, Qt::SolidLine, Qt::RoundCap));
    for (qreal y : {19.0, 25.0, 31.0})
        p.drawLine(QPointF(27, y), QPointF(39, y));
}

void folderNumber(QPainter& p)
{
    QPainterPath folder;
    folder.moveTo(6, 14);
    folder.lineTo(19, 14);
    folder.lineTo(22, 18);
    folder.lineTo(44, 18);
    folder.lineTo(44, 38);
    folder.lineTo(6, 38);
    folder.closeSubpath();
    p.setPen(QPen(QColor(190, 140, 30), 1));
    p.setBrush(folderYellow);
    p.drawPath(folder);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(deepTeal);
    p.drawText(QRectF(6, 20, 38, 18), Qt::AlignCenter, QStringLiteral("001"));
}

void magicWand(QPainter& p)
{
    p.setPen(QPen(paper, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 38), QPointF(32, 18));
    p.setPen(Qt::NoPen);
    p.setBrush(amber);
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = i % 2 ? 3.5 : 8.5;
        const qreal angle = -M_PI / 2 + i * M_PI / 5;
        const QPointF point(35 + radius * std::cos(angle), 15 + radius * std::sin(angle));
        i ? star.lineTo(point) : star.moveTo(point);
    }
    star.closeSubpath();
    p.drawPath(star);
}

const std::map<QString, std::function<void(QPainter&)>>& motifs()
{
    static const std::map<QString, std::function<void(QPainter&)>> byName = {
        {QStringLiteral("New Document Version"), newVersion},
        {QStringLiteral("New Document Set"), newSet},
        {QStringLiteral("Word Import Options"), wordImport},
        {QStringLiteral("Labeler Identity"), labelerIdentity},
        {QStringLiteral("Image Folder Number"), folderNumber},
    };
    return byName;
}

// The names of the enabled wizards, in file order.
QStringList enabledWizards(const QString& file)
{
    QFile input(file);
    QStringList names;
    if (!input.open(QIODevice::ReadOnly))
        return names;
    QXmlStreamReader xml(&input);
    bool enabled = false;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement())
            continue;
        if (xml.name() == QLatin1String("Wizard"))
            enabled = xml.attributes().value(QLatin1String("Enabled")) == QLatin1String("1");
        else if (xml.name() == QLatin1String("Name") && enabled)
            names << xml.readElementText();
    }
    return names;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_wizard_images <Wizards.xml> <Images folder>\n");
        return 2;
    }
    const QStringList names = enabledWizards(QString::fromLocal8Bit(argv[1]));
    if (names.isEmpty()) {
        std::fprintf(stderr, "no enabled wizard in %s\n", argv[1]);
        return 1;
    }
    for (const QString& name : names) {
        QImage picture(50, 50, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        drawTile(p);
        const auto motif = motifs().find(name);
        (motif != motifs().end() ? motif->second : magicWand)(p);
        p.end();
        const QString file = QString::fromLocal8Bit(argv[2]) + QStringLiteral("/Wizard")
                             + QString(name).remove(QLatin1Char(' ')) + QStringLiteral(".jpg");
        if (!picture.save(file, "JPG", 95)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
