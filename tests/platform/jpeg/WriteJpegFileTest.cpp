#include "platform/jpeg/mIntelJPEGLibrary.h"

#include "platform/core/VbError.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace veldra;

namespace {

// A bottom-up BGR bitmap with padded rows, filled from a top-down colour function.
struct TestBitmap {
    TestBitmap(int w, int h, const std::function<QColor(int, int)>& colourAt)
        : width(w), height(h), stride((w * 3 + 3) & ~3), bytes(static_cast<std::size_t>(stride) * h, 0xEE)
    {
        for (int y = 0; y < h; ++y) {
            std::uint8_t* row = bytes.data() + static_cast<std::size_t>(h - 1 - y) * stride;
            for (int x = 0; x < w; ++x) {
                const QColor c = colourAt(x, y);
                row[3 * x] = c.blue();
                row[3 * x + 1] = c.green();
                row[3 * x + 2] = c.red();
            }
        }
    }
    DibPixels pixels() const { return {bytes.data(), width, height, stride}; }

    int width, height, stride;
    std::vector<std::uint8_t> bytes;
};

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct stat statOf(const QString& path)
{
    struct stat status {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status;
}

void expectClose(const QColor& got, const QColor& want, int tolerance, const std::string& where)
{
    EXPECT_NEAR(got.red(), want.red(), tolerance) << where;
    EXPECT_NEAR(got.green(), want.green(), tolerance) << where;
    EXPECT_NEAR(got.blue(), want.blue(), tolerance) << where;
}

} // namespace

TEST(WriteJpegFileTest, DecodesBackToTheBitmapTheRightWayUp)
{
    test::TempDir dir;
    const struct {
        const char* name;
        int width, height, tolerance;
        std::function<QColor(int, int)> colourAt;
    } cases[] = {
        // Width 5 leaves one byte of padding per row; gray keeps chroma subsampling out.
        {"gradient", 5, 3, 10, [](int x, int y) { return QColor::fromRgb(30 * x + 50 * y, 30 * x + 50 * y, 30 * x + 50 * y); }},
        // Solid blocks show whether blue and red were swapped.
        {"halves", 32, 16, 12, [](int x, int) { return x < 16 ? QColor(30, 100, 200) : QColor(220, 60, 10); }},
    };
    for (const auto& c : cases) {
        const TestBitmap bitmap(c.width, c.height, c.colourAt);
        const QString path = dir.file(QString::fromLatin1(c.name) + QStringLiteral(".jpg"));
        ASSERT_TRUE(WriteJPEGFile(bitmap.pixels(), path, 90));
        const QImage decoded(path, "JPG");
        ASSERT_EQ(decoded.size(), QSize(c.width, c.height)) << c.name;
        for (int y = 0; y < c.height; ++y)
            for (const int x : {0, c.width / 2 - 3, c.width / 2 + 3, c.width - 1})
                if (x >= 0 && x < c.width)
                    expectClose(decoded.pixelColor(x, y), c.colourAt(x, y), c.tolerance,
                                std::string(c.name) + " " + std::to_string(x) + "," + std::to_string(y));
    }
}

TEST(WriteJpegFileTest, AReplacedFileHandsOnItsTimesAndPermissions)
{
    test::TempDir dir;
    const QString path = dir.file(QStringLiteral("img0001.jpg"));
    writeBytes(path, "old picture");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    const struct timespec times[2] = {{981100000, 123456789}, {981200000, 987654321}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);

    const TestBitmap bitmap(4, 4, [](int, int) { return QColor(Qt::gray); });
    ASSERT_TRUE(WriteJPEGFile(bitmap.pixels(), path, 90));

    const struct stat after = statOf(path);
    EXPECT_TRUE(contentOf(path).startsWith("\xFF\xD8")) << "the file holds the new JPEG";
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_atim.tv_sec, times[0].tv_sec);
    EXPECT_EQ(after.st_mtim.tv_sec, times[1].tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, times[1].tv_nsec);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("img0001.jpg")});
}

namespace {

// Whether writing into `folder` raised 26001 "Failed to save to JPG ...".
bool writeIsRefusedIn(const QString& folder, const DibPixels& bitmap)
{
    const QString path = folder + QStringLiteral("/img0001.jpg");
    auto attempt = [&] {
        try {
            WriteJPEGFile(bitmap, path, 90);
        } catch (const VbError& e) {
            return e.number() == 26001 && e.description().startsWith(QStringLiteral("Failed to save to JPG -"));
        }
        return false;
    };
    return test::asUnprivilegedUser(attempt);
}

} // namespace

TEST(WriteJpegFileTest, AnUnwritableFolderRaisesAndKeepsTheOldFile)
{
    test::TempDir dir;
    const QString path = dir.file(QStringLiteral("img0001.jpg"));
    writeBytes(path, "old picture");
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
    const TestBitmap bitmap(8, 8, [](int, int) { return QColor(Qt::darkCyan); });
    EXPECT_TRUE(writeIsRefusedIn(dir.path(), bitmap.pixels()));
    ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
    EXPECT_EQ(contentOf(path), QByteArray("old picture"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("img0001.jpg")});
}

// Every failure raises 26001 with the writer's source and leaves the old file whole.
TEST(WriteJpegFileTest, AFailedWriteRaisesAndKeepsTheOldFile)
{
    const TestBitmap good(8, 8, [](int x, int) { return QColor::fromRgb(x * 30, 80, 80); });
    const DibPixels bad{good.bytes.data(), 8, 8, 20}; // rows shorter than 3 bytes a pixel
    const struct {
        const char* name;
        DibPixels bitmap;
        std::function<bool(const QString& dir)> breakFolder;
        std::function<void(const QString& dir)> repair;
    } cases[] = {
        {"disk full", good.pixels(),
         [](const QString&) {
             std::signal(SIGXFSZ, SIG_IGN);
             const struct rlimit limit{64, RLIM_INFINITY};
             return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
         },
         [](const QString&) {
             const struct rlimit limit{RLIM_INFINITY, RLIM_INFINITY};
             ::setrlimit(RLIMIT_FSIZE, &limit);
         }},
        {"bitmap refused", bad, [](const QString&) { return true; }, [](const QString&) {}},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        const QString path = dir.file(QStringLiteral("img0001.jpg"));
        writeBytes(path, "old picture");
        ASSERT_TRUE(c.breakFolder(dir.path())) << c.name;
        try {
            WriteJPEGFile(c.bitmap, path, 90);
            ADD_FAILURE() << c.name << ": no error raised";
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), 26001) << c.name;
            EXPECT_TRUE(e.source().endsWith(QStringLiteral(".mIntelJPEGLibrary"))) << c.name;
            EXPECT_TRUE(e.description().startsWith(QStringLiteral("Failed to save to JPG -"))) << c.name;
        }
        c.repair(dir.path());
        EXPECT_EQ(contentOf(path), QByteArray("old picture")) << c.name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("img0001.jpg")}) << c.name;
    }
}

// The writer writes regular files and new names only: a link is not followed to a file
// elsewhere, a device or a pipe is not replaced, and a read-only file is kept, even for
// the superuser. Each is refused with the reason.
TEST(WriteJpegFileTest, ALinkASpecialOrAReadOnlyFileIsRefusedAndLeftAsItWas)
{
    test::TempDir elsewhere;
    const QString secret = elsewhere.file(QStringLiteral("secret.txt"));
    writeBytes(secret, "secret");
    const struct {
        const char* name;
        std::function<bool(const QString& path)> place;
        QString reason;
    } cases[] = {
        {"link to a file", [&](const QString& path) { return QFile::link(secret, path); }, QStringLiteral("symbolic link")},
        {"link to nothing yet", [&](const QString& path) { return QFile::link(secret + ".jpg", path); },
         QStringLiteral("symbolic link")},
        {"pipe", [](const QString& path) { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; },
         QStringLiteral("a pipe")},
        // Only the superuser may make a device node (where the system lets it), and only it
        // could replace one.
        {"device",
         [](const QString& path) {
             return ::geteuid() != 0 || ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0
                    || errno == EPERM;
         },
         QStringLiteral("a device")},
        {"read-only file",
         [](const QString& path) {
             writeBytes(path, "old picture");
             return ::chmod(QFile::encodeName(path).constData(), 0444) == 0;
         },
         QStringLiteral("read-only")},
    };
    const TestBitmap bitmap(8, 8, [](int, int) { return QColor(Qt::darkRed); });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const QString path = dir.file(QStringLiteral("img0001.jpg"));
        ASSERT_TRUE(c.place(path));
        if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink())
            continue;  // no device node without the privilege to make one
        const struct stat before = [&] {
            struct stat status {};
            ::lstat(QFile::encodeName(path).constData(), &status);
            return status;
        }();
        try {
            WriteJPEGFile(bitmap.pixels(), path, 90);
            ADD_FAILURE() << "no error raised";
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), 26001);
            EXPECT_TRUE(e.description().startsWith(QStringLiteral("Failed to save to JPG -"))) << e.description().toStdString();
            EXPECT_TRUE(e.description().contains(c.reason)) << e.description().toStdString();
        }
        struct stat after {};
        ::lstat(QFile::encodeName(path).constData(), &after);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(contentOf(secret), QByteArray("secret"));
        EXPECT_FALSE(QFileInfo::exists(secret + ".jpg"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                  QStringList{QStringLiteral("img0001.jpg")});
    }
}
