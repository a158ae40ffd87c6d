#include "app/startup/ProcessSetup.h"
#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"
#include "support/DiskFull.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

using namespace veldra;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// In a process that starts as the program does, from the signal's default: a save past a
// file-size limit fails with the system's reason and leaves the former file; 0 when it did.
int saveBeyondAFileSizeLimit(const QString& path)
{
    std::signal(SIGXFSZ, SIG_DFL);
    prepareProcess();
    xml::Document doc;
    if (!doc.loadXml("<r>" + QString("x").repeated(1 << 20) + "</r>"))
        return 2;
    QString message;
    try {
        const test::DiskFullAfter limit(64 * 1024);
        doc.save(path);
    } catch (const VbError& e) {
        message = e.description();
    }
    if (!message.contains(QString::fromLocal8Bit(std::strerror(EFBIG))))
        return 3;
    return fileBytes(path) == "<former/>" ? 0 : 4;
}

} // namespace

TEST(ProcessSetupTest, ASaveBeyondAFileSizeLimitFailsWithTheSystemsReasonAndTheProgramLivesOn)
{
    test::TempDir dir;
    const QString path = dir.file("settings.xml");
    test::writeTextFile(path, "<former/>");
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(saveBeyondAFileSizeLimit(path));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_FALSE(WIFSIGNALED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: no document, 3: not the system's reason, 4: the former file changed";
    EXPECT_EQ(fileBytes(path), "<former/>");
}
