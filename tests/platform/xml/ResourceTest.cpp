#include "platform/xml/LocalHttpServer.h"
#include "platform/xml/resources/ResourceAddress.h"
#include "platform/xml/resources/ResourceResolver.h"
#include "platform/xml/resources/SchemaValidator.h"
#include "platform/xml/resources/XsltProcessor.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace veldra::xml;
using veldra::test::LocalHttpServer;
using veldra::test::TempDir;
using veldra::test::writeTextFile;

namespace {

const QString agencySchema = QStringLiteral("http://www.accessdata.fda.gov/spl/schema/");
const QString agencyStylesheet = QStringLiteral("http://www.accessdata.fda.gov/spl/stylesheet/");

// A small schema set laid out in folders: spl.xsd -> common/types.xsd -> title.xsd.
QByteArray schemaText(const QByteArray& content)
{
    return R"~(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns="urn:hl7-org:v3"
    targetNamespace="urn:hl7-org:v3" elementFormDefault="qualified">)~" + content + "</xs:schema>";
}

const QByteArray splSchema = schemaText(R"~(<xs:include schemaLocation="common/types.xsd"/>
  <xs:element name="document" type="DocumentType"/>)~");

const QByteArray typesSchema = schemaText(R"~(<xs:include schemaLocation="../title.xsd"/>
  <xs:complexType name="DocumentType">
    <xs:sequence><xs:element name="title" type="TitleType"/></xs:sequence>
  </xs:complexType>)~");

const QByteArray titleSchema = schemaText(R"~(<xs:simpleType name="TitleType"><xs:restriction base="xs:string"/></xs:simpleType>)~");

QString documentNaming(const QString& schemaAddress, const QString& title = QStringLiteral("Label"))
{
    return QStringLiteral(R"~(<document xmlns="urn:hl7-org:v3" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"
 xsi:schemaLocation="urn:hl7-org:v3 %1"><title>%2</title></document>)~")
        .arg(schemaAddress, title);
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

class ResourceTest : public ::testing::Test {
protected:
    // These tests look at the resolver's own defaults, without the fixtures' seam.
    void SetUp() override
    {
        setLocalRootForTesting(ResourceKind::Schema, {});
        setLocalRootForTesting(ResourceKind::Stylesheet, {});
    }

    void TearDown() override
    {
        // Back to the fixtures that every other test relies on.
        setLocalRootForTesting(ResourceKind::Schema, veldra::test::fixture("spl-schema"));
        setLocalRootForTesting(ResourceKind::Stylesheet, veldra::test::fixture("spl-stylesheet-6.2"));
    }
};

} // namespace

TEST(ResourceAddressTest, AgencyAddressesMapToTheirSetOverHttpAndHttps)
{
    EXPECT_EQ(mapAddress(agencySchema + "spl.xsd"), (MappedAddress{ResourceKind::Schema, "spl.xsd"}));
    EXPECT_EQ(mapAddress("https://WWW.AccessData.FDA.gov/spl/schema/voc-r2b.xsd"),
              (MappedAddress{ResourceKind::Schema, "voc-r2b.xsd"}));
    EXPECT_EQ(mapAddress(agencyStylesheet + "spl.xsl"), (MappedAddress{ResourceKind::Stylesheet, "spl.xsl"}));
    EXPECT_EQ(mapAddress(agencySchema + "coreschemas/voc.xsd"), (MappedAddress{ResourceKind::Schema, "coreschemas/voc.xsd"}));

    // Other hosts, other folders, folders themselves and names that climb out stay unmapped.
    for (const char* address : {"http://example.org/spl/schema/spl.xsd", "http://www.accessdata.fda.gov/spl/core/x.xml",
                                "http://www.accessdata.fda.gov/spl/stylesheet/", "ftp://www.accessdata.fda.gov/spl/schema/spl.xsd",
                                "http://www.accessdata.fda.gov/spl/schema/../../etc/passwd",
                                "http://www.accessdata.fda.gov/spl/schema/sub%2F..%2F..%2Fx.xsd",
                                "http://www.accessdata.fda.gov/spl/schema/a//b.xsd",
                                "http://www.accessdata.fda.gov:8080/spl/schema/spl.xsd",
                                "http://user@www.accessdata.fda.gov/spl/schema/spl.xsd",
                                "http://www.accessdata.fda.gov/spl/schema/spl.xsd?x=1", "spl.xsd", "/spl/schema/spl.xsd"})
        EXPECT_FALSE(mapAddress(QString::fromLatin1(address))) << address;
}

TEST(ResourceAddressTest, NetworkAddressesAreToldFromLocalPaths)
{
    for (const char* network : {"http://127.0.0.1/x.xsd", "https://example.org/x", "ftp://h/x", "HTTP://h/x"})
        EXPECT_TRUE(isNetworkAddress(QString::fromLatin1(network))) << network;
    for (const char* local : {"/tmp/x.xsd", "x.xsd", "file:///tmp/x.xsd", "C:\\Schemas\\x.xsd", "../x.xsd"})
        EXPECT_FALSE(isNetworkAddress(QString::fromLatin1(local))) << local;
}

TEST_F(ResourceTest, HttpAddressesAreDownloadedOverHttpsAndTestsDownloadNothingByDefault)
{
    EXPECT_EQ(remoteResourceFolder(ResourceKind::Schema), QUrl("https://www.accessdata.fda.gov/spl/schema/"));
    EXPECT_EQ(remoteResourceFolder(ResourceKind::Stylesheet), QUrl("https://www.accessdata.fda.gov/spl/stylesheet/"));

    setLocalRootForTesting(ResourceKind::Schema, veldra::test::fixture("spl-schema"));
    EXPECT_TRUE(remoteResourceFolder(ResourceKind::Schema).isEmpty());
    // The local copy is found whatever the case of its name.
    EXPECT_EQ(QFileInfo(localFileFor(agencySchema + "spl.xsd")).fileName(), "SPL.xsd");
}

TEST_F(ResourceTest, TheStylesheetComesFromTheProgramFolderUnlessItsFolderIsEmpty)
{
    veldra::test::ProgramFolderCopy program;
    const QString shipped = program.file("Preview/spl-stylesheet-6.2");
    QDir().mkpath(shipped);
    const QString cache = QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)).filePath("stylesheets");
    EXPECT_EQ(localResourceFolder(ResourceKind::Stylesheet), cache);
    EXPECT_EQ(localResourceFolder(ResourceKind::Schema),
              QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)).filePath("schemas"));

    writeTextFile(shipped + "/spl.xsl", "<xsl:stylesheet/>");
    EXPECT_EQ(localResourceFolder(ResourceKind::Stylesheet), shipped);
    EXPECT_EQ(localFileFor(agencyStylesheet + "spl.xsl"), shipped + "/spl.xsl");
}

TEST_F(ResourceTest, AMissingSchemaSetIsDownloadedOnceAndThenUsedFromTheLocalCopy)
{
    LocalHttpServer server;
    server.serve("/spl/schema/spl.xsd", splSchema);
    server.serve("/spl/schema/common/types.xsd", typesSchema);
    server.serve("/spl/schema/title.xsd", titleSchema);
    TempDir cache;
    setLocalRootForTesting(ResourceKind::Schema, cache.path(), server.url("/spl/schema/"));

    const SchemaValidator validator;
    const SchemaCheck first = validator.validateXml(documentNaming(agencySchema + "spl.xsd"));
    EXPECT_TRUE(first.isValid()) << first.reason.toStdString();
    const QStringList downloaded{"/spl/schema/spl.xsd", "/spl/schema/common/types.xsd", "/spl/schema/title.xsd"};
    EXPECT_EQ(server.requests(), downloaded);
    EXPECT_EQ(filesIn(cache.path()), QStringList({"spl.xsd", "title.xsd"}));
    EXPECT_EQ(filesIn(cache.path() + "/common"), QStringList({"types.xsd"}));

    const SchemaCheck second = validator.validateXml(documentNaming(agencySchema + "spl.xsd", "<x/>"));
    EXPECT_TRUE(second.validationFailed());
    EXPECT_EQ(server.requests(), downloaded);
}

TEST_F(ResourceTest, AnIncompleteOrEscapingSetIsNotStoredAndTheSchemaIsUnavailable)
{
    LocalHttpServer incomplete;
    incomplete.serve("/spl/schema/spl.xsd", splSchema);
    incomplete.serve("/spl/schema/common/types.xsd", typesSchema);
    TempDir cache;
    setLocalRootForTesting(ResourceKind::Schema, cache.path(), incomplete.url("/spl/schema/"));
    const SchemaCheck missing = SchemaValidator().validateXml(documentNaming(agencySchema + "spl.xsd"));
    EXPECT_TRUE(missing.schemaUnavailable());
    EXPECT_TRUE(missing.reason.contains("title.xsd")) << missing.reason.toStdString();

    LocalHttpServer escapes;
    escapes.serve("/spl/schema/spl.xsd", schemaText(R"~(<xs:include schemaLocation="../../x.xsd"/>)~"));
    setLocalRootForTesting(ResourceKind::Schema, cache.path(), escapes.url("/spl/schema/"));
    const SchemaCheck escaping = SchemaValidator().validateXml(documentNaming(agencySchema + "spl.xsd"));
    EXPECT_TRUE(escaping.schemaUnavailable());
    EXPECT_TRUE(escaping.reason.contains("../../x.xsd")) << escaping.reason.toStdString();
    EXPECT_FALSE(escapes.requests().contains("/x.xsd"));

    EXPECT_TRUE(QDir(cache.path()).isEmpty());
}

TEST_F(ResourceTest, LoadersRefuseNetworkAddressesAndNeverDownload)
{
    LocalHttpServer server;
    server.serve("/spl/schema/common/types.xsd", typesSchema);
    server.serve("/other.xsd", typesSchema);
    // A mapped address without a local copy, met inside a schema: no download from the loader.
    QByteArray viaMapped = splSchema;
    viaMapped.replace("common/types.xsd", (agencySchema + "common/types.xsd").toUtf8());
    // An unmapped network address: refused outright.
    QByteArray viaOther = splSchema;
    viaOther.replace("common/types.xsd", server.url("/other.xsd").toString().toUtf8());

    for (const QByteArray& schema : {viaMapped, viaOther}) {
        TempDir local;
        setLocalRootForTesting(ResourceKind::Schema, local.path(), server.url("/spl/schema/"));
        writeTextFile(local.file("spl.xsd"), QString::fromUtf8(schema));
        const SchemaCheck check = SchemaValidator().validateXml(documentNaming(agencySchema + "spl.xsd"));
        EXPECT_TRUE(check.schemaUnavailable()) << schema.toStdString();
        EXPECT_FALSE(check.reason.isEmpty());
    }
    EXPECT_TRUE(server.requests().isEmpty()) << server.requests().join(' ').toStdString();
}

TEST_F(ResourceTest, AStylesheetSetIsDownloadedWithItsImportsDocumentsAndCss)
{
    LocalHttpServer server;
    server.serve("/spl/stylesheet/spl.xsl", R"~(<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:import href="common.xsl"/>
  <xsl:param name="css">http://www.accessdata.fda.gov/spl/stylesheet/spl.css</xsl:param>
  <xsl:param name="resourcesdir">http://www.accessdata.fda.gov/spl/stylesheet/</xsl:param>
</xsl:stylesheet>)~");
    server.serve("/spl/stylesheet/common.xsl", R"~(<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:variable name="names" select="document('names.xml')/names"/>
  <xsl:template match="/"><p><xsl:value-of select="$names/name[@code=current()/*/@code]"/></p></xsl:template>
</xsl:stylesheet>)~");
    server.serve("/spl/stylesheet/names.xml", R"~(<names><name code="34391-3">Prescription label</name></names>)~");
    server.serve("/spl/stylesheet/spl.css", "body { }");
    TempDir cache;
    setLocalRootForTesting(ResourceKind::Stylesheet, cache.path(), server.url("/spl/stylesheet/"));

    const XsltResult result = XsltProcessor().transformXml(agencyStylesheet + "spl.xsl", R"~(<doc code="34391-3"/>)~");
    ASSERT_TRUE(result.ok()) << result.problem.toStdString();
    EXPECT_TRUE(result.text.contains("<p>Prescription label</p>")) << result.text.toStdString();
    EXPECT_EQ(filesIn(cache.path()), QStringList({"common.xsl", "names.xml", "spl.css", "spl.xsl"}));
}
