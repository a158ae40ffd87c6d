#include "wordimport/PictureToJpeg.h"

#include "platform/core/VbError.h"
#include "support/DiskFull.h"
#include "support/TempDir.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

QByteArray png(QSize size, const QColor& left, const QColor& right)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(0, 0, size.width() / 2, size.height(), left);
    painter.fillRect(size.width() / 2, 0, size.width() - size.width() / 2, size.height(), right);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void writeOldFile(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("old picture");
    file.setFileTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)), QFileDevice::FileModificationTime);
}

void expectNear(const QColor& got, const QColor& want, const char* where)
{
    EXPECT_NEAR(got.red(), want.red(), 12) << where;
    EXPECT_NEAR(got.green(), want.green(), 12) << where;
    EXPECT_NEAR(got.blue(), want.blue(), 12) << where;
}

} // namespace

TEST(PictureToJpegTest, PicturesAreWrittenAtTheirExtentReplacingOldFiles)
{
    test::TempDir dir;
    const QString first = dir.file(QStringLiteral("img0001.jpg"));
    writeOldFile(first);
    cDIBSection dib; // one bitmap serves picture after picture
    QString reason;

    // Half transparent on the right: flattened on white.
    const word::PictureMedia media{png({30, 10}, QColor(200, 40, 90), Qt::transparent), QStringLiteral("image/png"), {}};
    const QSize pixels = word::pixelSizeFromExtent(914400, 457200);
    ASSERT_TRUE(writePictureAsJpeg(word::renderPicture(media, {}, pixels), first, dib, reason)) << reason.toStdString();
    const QImage written(first, "JPG");
    ASSERT_EQ(written.size(), QSize(96, 48));
    expectNear(written.pixelColor(10, 24), QColor(200, 40, 90), "left");
    expectNear(written.pixelColor(85, 24), QColor(Qt::white), "right");
    EXPECT_GT(QFileInfo(first).lastModified().date().year(), 2001) << "a new picture gets new times";

    const QString second = dir.file(QStringLiteral("img0002.jpg"));
    const word::PictureMedia cropped{png({40, 40}, Qt::black, QColor(20, 160, 60)), {}, QStringLiteral("png")};
    ASSERT_TRUE(writePictureAsJpeg(word::renderPicture(cropped, {50000, 0, 0, 0}, QSize(7, 5)), second, dib, reason));
    const QImage small(second, "JPG");
    ASSERT_EQ(small.size(), QSize(7, 5));
    expectNear(small.pixelColor(3, 2), QColor(20, 160, 60), "cropped to the right half");
}

TEST(PictureToJpegTest, APictureThatCannotBeDrawnWritesAndDeletesNothing)
{
    test::TempDir dir;
    const QString existing = dir.file(QStringLiteral("img0001.jpg"));
    writeOldFile(existing);
    cDIBSection dib;
    const word::PictureMedia chart{{}, QStringLiteral("application/vnd.openxmlformats-officedocument.drawingml.chart+xml"), {}};
    for (const QString& target : {existing, dir.file(QStringLiteral("img0002.jpg"))}) {
        QString reason;
        EXPECT_FALSE(writePictureAsJpeg(word::renderPicture(chart, {}, QSize(50, 40)), target, dib, reason));
        EXPECT_TRUE(reason.contains(QLatin1String("chart"))) << reason.toStdString();
    }
    QFile old(existing);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old picture"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("img0001.jpg")});
}

// The old picture is replaced only by a complete new one: a full disk keeps it, and so does
// a read-only mark, which the user set to keep it.
TEST(PictureToJpegTest, AnOldPictureIsKeptWhenTheNewOneCannotBeWrittenOrItIsReadOnly)
{
    const struct {
        const char* name;
        bool readOnly;
        rlim_t room;
        const char* reason;
    } cases[] = {
        {"full disk", false, 64, "Failed to save to JPG -"},
        {"read-only", true, RLIM_INFINITY, "read-only"},
    };
    const word::PictureMedia media{png({30, 10}, Qt::blue, Qt::green), QStringLiteral("image/png"), {}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const QString path = dir.file(QStringLiteral("img0001.jpg"));
        writeOldFile(path);
        if (c.readOnly)
            QFile::setPermissions(path, QFile::ReadOwner);
        cDIBSection dib;
        QString reason;
        try {
            const test::DiskFullAfter limit(c.room);
            writePictureAsJpeg(word::renderPicture(media, {}, QSize(30, 10)), path, dib, reason);
            ADD_FAILURE() << "no error raised";
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), 26001);
            EXPECT_TRUE(e.description().contains(QLatin1String(c.reason))) << e.description().toStdString();
        }
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray("old picture"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("img0001.jpg")});
    }
}
