// A settings document whose SPL file names a device or a pipe: the build says so at once.
#include "generation/BuildTestSupport.h"

#include "generation/building/AddSPLFromFile.h"
#include "support/TempDir.h"

#include <QFile>
#include <sys/stat.h>

using namespace veldra;
using namespace veldra::test;

namespace {

class SplFileNotAFileTest : public BuildLogTest {};

TEST_F(SplFileNotAFileTest, ADeviceOrPipeNamedAsTheSPLFileIsRefusedWithoutReadingOrWaiting)
{
    TempDir dir;
    const QString fifo = dir.file("label.xml");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString builtText = QStringLiteral(
        "<document xmlns=\"urn:hl7-org:v3\"><component><structuredBody><component><section><title>Only</title>"
        "</section></component></structuredBody></component></document>");

    for (const QString& named : {QStringLiteral("/dev/zero"), fifo}) {
        const xml::Document settings = documentFrom(
            QStringLiteral("<SPLR4><ProductLabel><ProductLabelFromExistingSPL><SPLFileName>%1</SPLFileName>"
                           "</ProductLabelFromExistingSPL></ProductLabel></SPLR4>")
                .arg(named));
        const xml::Document built = documentFrom(builtText);
        AddSPLFromFile(settings.selectSingleNode("//ProductLabelFromExistingSPL"), built, dir.file("out/built.xml"));

        EXPECT_TRUE(logText().contains("The SPL file cannot be loaded: The file '" + named + "' cannot be read: it is a"))
            << logText().toStdString();
        EXPECT_EQ(built.documentElement().xml(), documentFrom(builtText).documentElement().xml());
    }
}

} // namespace
