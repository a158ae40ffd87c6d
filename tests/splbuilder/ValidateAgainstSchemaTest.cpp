#include "splbuilder/ValidateAgainstSchema.h"

#include "app/log/Log.h"
#include "app/log/frmLog.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/resources/ResourceResolver.h"
#include "support/Fixtures.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QTextEdit>
#include <gtest/gtest.h>

using namespace veldra;
using namespace veldra::test;

namespace {

class ValidateAgainstSchemaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        closeLog();
        NoLogging = false;
        xml::setLocalRootForTesting(xml::ResourceKind::Schema, fixture("spl-schema"));
    }

    void TearDown() override
    {
        xml::setLocalRootForTesting(xml::ResourceKind::Schema, {});
        closeLog();
    }

    static void closeLog()
    {
        if (frmLog* log = logWindow())
            log->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static QString log() { return logWindow() ? logWindow()->txtLog->toPlainText() : QString(); }

    // A copy of the OTC fixture label with `from` replaced by `to` (first occurrence).
    QString labelWith(const QString& from, const QString& to)
    {
        QString text = readTextFile(fixture("spl-documents/openfda-cough-otc/cough.xml"));
        const qsizetype at = text.indexOf(from);
        EXPECT_GE(at, 0);
        text.replace(at, from.size(), to);
        const QString path = folder.file("label.xml");
        writeTextFile(path, text);
        return path;
    }

    static int lineOf(const QString& file, const QString& text)
    {
        const QStringList lines = readTextFile(file).split('\n');
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].contains(text))
                return i + 1;
        return 0;
    }

    ScriptedUi ui;
    TempDir folder;
};

TEST_F(ValidateAgainstSchemaTest, AValidFileGivesAnEmptyResultAndSaysSo)
{
    const QString file = fixture("spl-documents/openfda-cough-otc/cough.xml");
    EXPECT_EQ(ValidateAgainstSchema(file), QString());

    const QString text = log();
    EXPECT_TRUE(text.contains(logSeparator()));
    EXPECT_TRUE(text.contains("Note: The validation runs on this computer against a local copy of the FDA SPL Schema"));
    EXPECT_FALSE(text.contains("online at FDA servers"));
    EXPECT_TRUE(text.contains("XML File is valid against FDA SPL Schema."));
    EXPECT_FALSE(text.contains("Error"));
}

TEST_F(ValidateAgainstSchemaTest, ASchemaViolationGivesTheOffendingLineWithTabsKeptInTheResultOnly)
{
    const QString file = labelWith("<versionNumber value=", "<versionNumber\tbogus=\"1\" value=");
    const QString result = ValidateAgainstSchema(file);

    EXPECT_TRUE(result.contains("<versionNumber\tbogus=\"1\""));
    const QString text = log();
    EXPECT_TRUE(text.contains("XML File is not valid against FDA SPL Schema:"));
    EXPECT_TRUE(text.contains(file));
    EXPECT_TRUE(text.contains("Reason: "));
    EXPECT_TRUE(text.contains("Source: ") && text.contains("<versionNumberbogus=\"1\""));
    EXPECT_TRUE(text.contains("Line: " + QString::number(lineOf(file, "bogus="))));
    EXPECT_FALSE(text.contains("XML File is valid against FDA SPL Schema."));
}

TEST_F(ValidateAgainstSchemaTest, AFileThatDoesNotParseReportsTheParserError)
{
    const QString file = labelWith("<versionNumber value=\"1\"/>", "<versionNumber value=\"1\">");
    const QString result = ValidateAgainstSchema(file);

    EXPECT_FALSE(result.isEmpty());
    const QString text = log();
    EXPECT_TRUE(text.contains("XML File is not valid against FDA SPL Schema:"));
    EXPECT_TRUE(text.contains("Reason: "));
    EXPECT_FALSE(text.contains("Line: 0"));

    closeLog();
    EXPECT_EQ(ValidateAgainstSchema(folder.file("missing.xml")), QString());
    EXPECT_TRUE(log().contains("XML File is not valid against FDA SPL Schema:"));
}

TEST_F(ValidateAgainstSchemaTest, AFileThatParsesButFailsIsCheckedOnceMoreWithTheSchemaHostOverHttps)
{
    EXPECT_EQ(withSecureSchemaHost("urn:hl7-org:v3 http://www.accessdata.fda.gov/spl/schema/spl.xsd http://example.org/x"),
              "urn:hl7-org:v3  https://www.accessdata.fda.gov/spl/schema/spl.xsd http://example.org/x");

    // The second check reads the file's own text: its line numbers are the file's.
    const QString invalid = labelWith("<versionNumber value=", "<versionNumber bogus=\"1\" value=");
    const xml::SchemaCheck retried = checkAgainstSchema(invalid);
    EXPECT_TRUE(retried.validationFailed());
    EXPECT_EQ(retried.schemaLocation, "https://www.accessdata.fda.gov/spl/schema/spl.xsd");
    EXPECT_EQ(retried.line, lineOf(invalid, "bogus="));

    // A valid file and a file that does not parse are checked once.
    const xml::SchemaCheck valid = checkAgainstSchema(fixture("spl-documents/openfda-cough-otc/cough.xml"));
    EXPECT_TRUE(valid.isValid());
    EXPECT_EQ(valid.schemaLocation, "http://www.accessdata.fda.gov/spl/schema/spl.xsd");
    const xml::SchemaCheck broken = checkAgainstSchema(labelWith("<versionNumber value=\"1\"/>", "<versionNumber value=\"1\">"));
    EXPECT_TRUE(broken.parseFailed());
    EXPECT_TRUE(broken.schemaLocation.isEmpty());
}

// The build checks the tree it has just saved without reading the file back; an error is still
// reported at the saved file's line, with its text, though the tree was read from other lines.
TEST_F(ValidateAgainstSchemaTest, ATreeJustSavedIsCheckedAsItsFile)
{
    // Over https there is no second check that would read the text anyway.
    QString text = readTextFile(fixture("spl-documents/openfda-cough-otc/cough.xml"));
    text.replace("http://www.accessdata.fda.gov", "https://www.accessdata.fda.gov");
    text.replace("<id ", "\n\n\n<id ");
    const QString saved = folder.file("saved.xml");
    xml::Document valid;
    ASSERT_TRUE(valid.loadXml(text));
    EXPECT_TRUE(checkAgainstSchema(saved, valid, valid.save(saved, xml::Layout::Indented)).isValid());

    xml::Document invalid;
    ASSERT_TRUE(invalid.loadXml(text.replace("<versionNumber value=", "<versionNumber bogus=\"1\" value=")));
    const xml::SchemaCheck check = checkAgainstSchema(saved, invalid, invalid.save(saved, xml::Layout::Indented));
    EXPECT_TRUE(check.validationFailed());
    EXPECT_EQ(check.line, lineOf(saved, "bogus="));
    EXPECT_TRUE(check.sourceText.contains("bogus=")) << check.sourceText.toStdString();

    // A valid tree whose saved text is not, lists in lists nested deeper than a parser reads:
    // the text is what counts.
    xml::Document nested;
    ASSERT_TRUE(nested.loadXml(text.replace(" bogus=\"1\"", "")));
    nested.setSelectionNamespaces({{"v", "urn:hl7-org:v3"}});
    xml::Node innermost = nested.selectSingleNode("//v:section/v:text");
    ASSERT_FALSE(innermost.isNull());
    const QString lists = "<list xmlns=\"urn:hl7-org:v3\">" + QString("<item><list>").repeated(60) + "<item>x</item>"
                          + QString("</list></item>").repeated(60) + "</list>";
    xml::Document part;
    ASSERT_TRUE(part.loadXml(lists));
    for (int i = 0; i < 3; ++i) {
        innermost = innermost.appendChild(nested.importNode(part.documentElement(), true));
        while (innermost.lastChild().nodeType() == xml::NodeType::Element)
            innermost = innermost.lastChild();
    }
    ASSERT_TRUE(xml::SchemaValidator().validateDocument(nested).isValid());
    EXPECT_TRUE(checkAgainstSchema(saved, nested, nested.save(saved, xml::Layout::Indented)).parseFailed());
}

// Without the schema nothing is validated: the log says so and why (the folder and the file
// that are missing), and claims neither validity nor invalidity.
TEST_F(ValidateAgainstSchemaTest, ASchemaThatIsNotAtHandLeavesTheFileUnvalidatedAndSaysWhere)
{
    TempDir noSchemas;
    xml::setLocalRootForTesting(xml::ResourceKind::Schema, noSchemas.path()); // and no downloads

    EXPECT_EQ(ValidateAgainstSchema(fixture("spl-documents/openfda-cough-otc/cough.xml")), QString());
    const QString text = log();
    EXPECT_TRUE(text.contains("XML File could not be validated against FDA SPL Schema:"));
    EXPECT_TRUE(text.contains("Reason: "));
    EXPECT_TRUE(text.contains(noSchemas.path()));
    EXPECT_TRUE(text.contains("spl.xsd"));
    EXPECT_FALSE(text.contains("XML File is not valid against FDA SPL Schema"));
    EXPECT_FALSE(text.contains("XML File is valid against FDA SPL Schema."));
}

} // namespace
