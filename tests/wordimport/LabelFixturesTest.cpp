// Real labels laid out as labelers write them in Word, each file written by two different
// writers, imported into a settings document and compared with what the label holds.
#include "WordImportTestSupport.h"

#include "support/LabelComparison.h"
#include "wordimport/ProductLabelImport.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace veldra;
using namespace veldra::test;

class LabelFixturesTest : public WordImportTest {
protected:
    xml::Document settingsFor(const QString& file) const
    {
        xml::Document settings;
        EXPECT_TRUE(settings.load(program.file(QStringLiteral("SPLR4Definitions/DefinitionSPLR4.xml"))));
        const xml::Node options = settings.selectSingleNode(QStringLiteral("SPLR4/ProductLabel/WordDocument"));
        options.selectSingleNode(QStringLiteral("File")).setText(file);
        options.selectSingleNode(QStringLiteral("ImageTargetFolder")).setText(dir.path());
        options.selectSingleNode(QStringLiteral("EffectiveTime")).setText(QStringLiteral("20240131"));
        options.selectSingleNode(QStringLiteral("ExcerptStyle")).setText(QStringLiteral("Title"));
        return settings;
    }
};

TEST_F(LabelFixturesTest, EveryLabelArrivesWhole)
{
    for (const char* name : {"cough-otc", "lipitor-rx", "viagra-rx"}) {
        QFile json(fixture(QStringLiteral("docx/labels/%1.expected.json").arg(QLatin1String(name))));
        ASSERT_TRUE(json.open(QIODevice::ReadOnly));
        const QJsonObject expected = QJsonDocument::fromJson(json.readAll()).object();
        for (const QString& file : {QStringLiteral("%1.docx"), QStringLiteral("%1-resaved.docx")}) {
            const QString path = fixture(QStringLiteral("docx/labels/") + file.arg(QLatin1String(name)));
            SCOPED_TRACE(path.toStdString());
            closeLog();
            xml::Document settings = settingsFor(path);
            ImportProductLabelFromWord(nullptr, settings);
            EXPECT_TRUE(linesOf(logLines(), QStringLiteral("Fatal Error")).isEmpty()) << logLines().join('\n').toStdString();
            EXPECT_EQ(firstDifference(settings, expected, logLines()), QString());
        }
    }
}
