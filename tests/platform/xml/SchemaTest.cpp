#include "platform/xml/tree/Document.h"
#include "platform/xml/LocalHttpServer.h"
#include "platform/xml/resources/ResourceResolver.h"
#include "platform/xml/resources/SchemaCache.h"
#include "platform/xml/resources/SchemaValidator.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QUrl>
#include <gtest/gtest.h>

using namespace veldra::xml;
using veldra::test::fixture;
using veldra::test::readTextFile;
using veldra::test::TempDir;
using veldra::test::writeTextFile;

namespace {

// Line number (from 1) of the first line holding `text`.
int lineHolding(const QString& document, const QString& text)
{
    const QStringList lines = document.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].contains(text))
            return i + 1;
    }
    return 0;
}

QString withoutCarriageReturn(QString line)
{
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

class SchemaTest : public ::testing::Test {
protected:
    void SetUp() override { setLocalRootForTesting(ResourceKind::Schema, fixture("spl-schema")); }
    void TearDown() override { setLocalRootForTesting(ResourceKind::Schema, {}); }

    // A copy of a fixture with the first (or last) `from` replaced by `to`, and the line that holds it.
    struct BrokenCopy {
        QString path;
        QString text;
        int line;
    };
    BrokenCopy brokenCopy(const QString& fixtureName, const QString& from, const QString& to, bool last = false)
    {
        QString text = readTextFile(fixture(fixtureName));
        const qsizetype at = last ? text.lastIndexOf(from) : text.indexOf(from);
        EXPECT_GE(at, 0);
        text.replace(at, from.size(), to);
        const QString path = temp_.file(QFileInfo(fixtureName).fileName());
        writeTextFile(path, text);
        return BrokenCopy{path, text, lineHolding(text, to)};
    }

    TempDir temp_;
    SchemaValidator validator_;
};

} // namespace

TEST_F(SchemaTest, EveryRealSplDocumentIsValid)
{
    const QStringList documents = veldra::test::splDocumentFiles();
    ASSERT_GE(documents.size(), 10);
    for (const QString& path : documents) {
        const SchemaCheck check = validator_.validateFile(path);
        EXPECT_TRUE(check.isValid()) << path.toStdString() << ": " << check.reason.toStdString() << " line "
                                     << check.line;
        EXPECT_TRUE(check.schemaLocation.endsWith("/spl/schema/spl.xsd")) << check.schemaLocation.toStdString();
    }
}

TEST_F(SchemaTest, ABrokenElementFailsWithReasonLineAndThatLinesSource)
{
    // Near the top of a small label, and deep inside the largest one.
    const BrokenCopy small = brokenCopy("spl-documents/openfda-cough-otc/cough.xml", "<effectiveTime value=",
                                        "<effectiveTim value=");
    const BrokenCopy deep = brokenCopy("spl-documents/openfda-lipitor-rx/lipitor-orig.xml", "<title>", "<bogus/><title>", true);
    ASSERT_GT(deep.line, 1000);

    for (const BrokenCopy& copy : {small, deep}) {
        const SchemaCheck check = validator_.validateFile(copy.path);
        ASSERT_TRUE(check.validationFailed()) << check.reason.toStdString();
        EXPECT_FALSE(check.reason.isEmpty());
        EXPECT_EQ(check.line, copy.line);
        EXPECT_EQ(check.sourceText, withoutCarriageReturn(copy.text.split('\n')[copy.line - 1]));
    }
}

TEST_F(SchemaTest, TextAndTreesGiveTheSameFirstError)
{
    const BrokenCopy copy = brokenCopy("spl-documents/openfda-sunscreen-otc/a4e3211d-f25b-4e3e-b39d-028de892f165.xml",
                                       "<code code=", "<kode code=");
    const SchemaCheck fromText = validator_.validateXml(copy.text);
    EXPECT_TRUE(fromText.validationFailed());
    EXPECT_EQ(fromText.line, copy.line);
    EXPECT_TRUE(fromText.sourceText.contains("<kode code="));

    Document doc;
    ASSERT_TRUE(doc.load(copy.path)) << doc.parseError().reason.toStdString();
    const SchemaCheck fromTree = validator_.validateDocument(doc);
    EXPECT_TRUE(fromTree.validationFailed());
    EXPECT_EQ(fromTree.reason, fromText.reason);
    EXPECT_EQ(fromTree.line, copy.line);

    Document valid;
    ASSERT_TRUE(valid.load(fixture("spl-documents/openfda-cough-otc/cough.xml")));
    EXPECT_TRUE(validator_.validateDocument(valid).isValid());
}

TEST_F(SchemaTest, UnreadableAndMalformedInputIsAParseFailure)
{
    const SchemaCheck missing = validator_.validateFile(temp_.file("no-such.xml"));
    EXPECT_TRUE(missing.parseFailed());
    EXPECT_TRUE(missing.reason.contains("no-such.xml"));

    QString text = readTextFile(fixture("spl-documents/openfda-cough-otc/cough.xml"));
    const int cut = text.indexOf("</title>");
    text.replace(cut, 8, "</titl>");
    writeTextFile(temp_.file("mismatched.xml"), text);
    const SchemaCheck mismatched = validator_.validateFile(temp_.file("mismatched.xml"));
    EXPECT_TRUE(mismatched.parseFailed());
    EXPECT_EQ(mismatched.line, lineHolding(text, "</titl>"));
    EXPECT_TRUE(mismatched.sourceText.contains("</titl>"));

    const SchemaCheck truncated = validator_.validateXml(text.left(text.size() / 2).replace("</titl>", "</title>"));
    EXPECT_TRUE(truncated.parseFailed());
    EXPECT_GT(truncated.line, 0);
}

TEST_F(SchemaTest, HostileDocumentsFailToParseWithoutExpandingOrReadingAnything)
{
    const QString laughs = QStringLiteral(R"~(<?xml version="1.0"?>
<!DOCTYPE document [
 <!ENTITY a "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa">
 <!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">
 <!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;">
 <!ENTITY d "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;">
 <!ENTITY e "&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;">
 <!ENTITY f "&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;">
 <!ENTITY g "&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;">
]>
<document xmlns="urn:hl7-org:v3"><title>&g;</title></document>)~");
    EXPECT_TRUE(validator_.validateXml(laughs).parseFailed());

    writeTextFile(temp_.file("secret.txt"), "top secret");
    const QString external = QStringLiteral(R"~(<?xml version="1.0"?>
<!DOCTYPE document [<!ENTITY x SYSTEM "%1">]>
<document xmlns="urn:hl7-org:v3" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"
 xsi:schemaLocation="urn:hl7-org:v3 http://www.accessdata.fda.gov/spl/schema/spl.xsd"><title>&x;</title></document>)~")
                                 .arg(temp_.file("secret.txt"));
    const SchemaCheck check = validator_.validateXml(external);
    EXPECT_FALSE(check.isValid());
    EXPECT_FALSE(check.reason.contains("top secret"));

    QString deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    EXPECT_TRUE(validator_.validateXml(deep).parseFailed());
}

TEST_F(SchemaTest, ASchemaThatCannotBeResolvedIsReportedAsUnavailable)
{
    const QString cough = readTextFile(fixture("spl-documents/openfda-cough-otc/cough.xml"));

    TempDir emptyCache;
    setLocalRootForTesting(ResourceKind::Schema, emptyCache.path());
    const SchemaCheck noCopy = validator_.validateXml(cough);
    EXPECT_TRUE(noCopy.schemaUnavailable());
    EXPECT_TRUE(noCopy.reason.contains("http://www.accessdata.fda.gov/spl/schema/spl.xsd")) << noCopy.reason.toStdString();
    setLocalRootForTesting(ResourceKind::Schema, fixture("spl-schema"));

    veldra::test::LocalHttpServer server;
    server.serve("/spl.xsd", readTextFile(fixture("spl-schema/SPL.xsd")).toUtf8());
    QString elsewhere = cough;
    elsewhere.replace("http://www.accessdata.fda.gov/spl/schema/spl.xsd", server.url("/spl.xsd").toString());
    EXPECT_TRUE(validator_.validateXml(elsewhere).schemaUnavailable());
    EXPECT_TRUE(server.requests().isEmpty());

    QString unnamed = cough;
    unnamed.replace("xsi:schemaLocation=", "xsi:other=");
    const SchemaCheck none = validator_.validateXml(unnamed);
    EXPECT_TRUE(none.schemaUnavailable());
    EXPECT_TRUE(none.reason.contains("urn:hl7-org:v3"));
}

// A document cannot bring its own schema: only the agency's SPL schema address counts, over
// http or https; any other location (a local copy of the very same schema included) is an error.
TEST_F(SchemaTest, OnlyTheAgencysSplSchemaIsEverUsed)
{
    const QString text = readTextFile(fixture("spl-documents/openfda-cough-otc/cough.xml"));
    const QString agency = QStringLiteral("http://www.accessdata.fda.gov/spl/schema/spl.xsd");
    QString retried = text;  // the form a validation retry produces: a blank before the https address
    retried.replace("http://www.accessdata.fda.gov", " https://www.accessdata.fda.gov");
    EXPECT_TRUE(validator_.validateXml(retried).isValid());

    writeTextFile(temp_.file("anything.xsd"), R"~(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema"
 targetNamespace="urn:hl7-org:v3"><xs:element name="document"/></xs:schema>)~");
    QString broken = text;
    broken.replace("<title", "<nonsense/><title");
    for (const QString& location : {temp_.file("anything.xsd"), QUrl::fromLocalFile(temp_.file("anything.xsd")).toString(),
                                    QStringLiteral("anything.xsd"), fixture("spl-schema/SPL.xsd"),
                                    QStringLiteral("http://www.accessdata.fda.gov/spl/schema/coreschemas/voc.xsd")}) {
        QString own = broken;
        own.replace(agency, location);
        const SchemaCheck check = validator_.validateXml(own, temp_.file("label.xml"));
        EXPECT_TRUE(check.schemaUnavailable()) << location.toStdString();
        EXPECT_TRUE(check.reason.contains("validated only against the SPL schema")) << check.reason.toStdString();
    }
}

// The schema set is read from its folder; an external entity in it cannot read other files.
TEST_F(SchemaTest, ASchemaReadsNothingOutsideItsOwnFolder)
{
    TempDir set;
    // What the entity would bring in: markup that lets a document holding "topsecret" pass.
    writeTextFile(temp_.file("secret.txt"), "<xs:enumeration xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" value=\"topsecret\"/>");
    writeTextFile(set.file("spl.xsd"), QStringLiteral(R"~(<!DOCTYPE xs:schema [<!ENTITY secret SYSTEM "%1">]>
<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" targetNamespace="urn:hl7-org:v3" elementFormDefault="qualified">
 <xs:element name="document"><xs:simpleType><xs:restriction base="xs:string">
  <xs:enumeration value="public"/>&secret;</xs:restriction></xs:simpleType></xs:element></xs:schema>)~")
                                           .arg(temp_.file("secret.txt")));
    setLocalRootForTesting(ResourceKind::Schema, set.path());

    const SchemaCheck check = validator_.validateXml(QStringLiteral(R"~(<document xmlns="urn:hl7-org:v3"
 xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"
 xsi:schemaLocation="urn:hl7-org:v3 http://www.accessdata.fda.gov/spl/schema/spl.xsd">topsecret</document>)~"));
    EXPECT_FALSE(check.isValid()) << check.reason.toStdString();
}

TEST_F(SchemaTest, EachSchemaIsCompiledOnceAndShared)
{
    const CompiledSchema first = compiledSchema(fixture("spl-schema/SPL.xsd"));
    ASSERT_NE(first.schema, nullptr) << first.problem.toStdString();
    EXPECT_EQ(compiledSchema(fixture("spl-schema/../spl-schema/SPL.xsd")).schema, first.schema);
}
