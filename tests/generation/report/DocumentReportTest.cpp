#include "generation/CheckingTestSupport.h"

#include "editor/tree/TreeView.h"
#include "generation/report/DocumentReport.h"
#include "support/Fixtures.h"
#include "support/SkippedErrors.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

QString settings()
{
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<SPLR4 Word2SPLID="k0">
  <GeneralData Word2SPLID="k1">
    <DocumentID Word2SPLID="k2" ConstraintExample="Id &lt;of&gt; this version">d-1</DocumentID>
    <Title Word2SPLID="k3">Tom &amp; Jerry &lt;b&gt; $Color &#252;</Title>
  </GeneralData>
  <Products Word2SPLID="k4">
    <Product Word2SPLID="k5"><ProprietaryName Word2SPLID="k6">%1</ProprietaryName></Product>
    <Product Word2SPLID="k7"><ProprietaryName Word2SPLID="k8">%2</ProprietaryName></Product>
  </Products>
</SPLR4>)")
        .arg(QString(255, QLatin1Char('a')), QString(254, QLatin1Char('b')));
}

QString readUtf8(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(file.readAll());
}

class DocumentReportTest : public test::CheckingTest {};

TEST_F(DocumentReportTest, OneTablePerGroupWithLinksToTheGroupsOfItsChildren)
{
    frmXMLEditor* editor = openEditor(settings());
    QString reportPath = dir.file(QStringLiteral("My Report?.html"));

    CreateDocumentReport(reportPath);

    EXPECT_EQ(reportPath, dir.file(QStringLiteral("my_report_.html")));
    EXPECT_EQ(ui.opened, QStringList{reportPath});
    const QString page = readUtf8(reportPath);
    EXPECT_TRUE(page.startsWith(QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">")));
    EXPECT_TRUE(page.contains(QStringLiteral("charset=utf-8")));
    EXPECT_TRUE(page.contains(QStringLiteral("Veldra - Document Report<br>my_report_</font>")));

    // SPLR4, General Data, Products and the two Product groups; each table opens with its comment three times.
    EXPECT_EQ(page.count(QStringLiteral("<table border=\"0\" width=\"900px\" cellpadding=\"5\"")), 5);
    EXPECT_EQ(page.count(QStringLiteral("<!-- ********************************************* Product ************************************************ -->")), 6);

    const QString productsKey = nodeKey(node(editor, QStringLiteral("Products")));
    EXPECT_TRUE(page.contains(QStringLiteral("<b><a name=\"%1\">Products</b>").arg(productsKey)));
    EXPECT_TRUE(page.contains(QStringLiteral("<a href=\"#%1\"><font face=\"Verdana\" size=\"2\" color=\"#000000\"><b>Products</b></font></a>")
                                  .arg(productsKey)));

    // In the rows of groups a value of 255 characters or more is cut; leaf values never are.
    EXPECT_TRUE(page.contains(QString(255, QLatin1Char('a')) + QStringLiteral("... <i>[click on the link for full information]</i>")));
    EXPECT_TRUE(page.contains(QStringLiteral(">") + QString(254, QLatin1Char('b')) + QStringLiteral("</font>")));
    // The 255 "a" of the first product, and Products (both names) in the row of SPLR4.
    EXPECT_EQ(page.count(QStringLiteral("[click on the link for full information]")), 2);
    EXPECT_TRUE(page.contains(QStringLiteral(">") + QString(255, QLatin1Char('a')) + QStringLiteral("</font>")));
}

TEST_F(DocumentReportTest, ValuesAndHelpTextsAreEscapedAndKeptInUtf8)
{
    openEditor(settings());
    QString reportPath = dir.file(QStringLiteral("report.html"));

    CreateDocumentReport(reportPath);

    const QString page = readUtf8(reportPath);
    EXPECT_TRUE(page.contains(QStringLiteral("Tom &amp; Jerry &lt;b&gt; &#36;Color \u00fc")));
    EXPECT_FALSE(page.contains(QStringLiteral("<b> $Color")));
    EXPECT_TRUE(page.contains(QStringLiteral("Id &lt;of&gt; this version")));
}

TEST_F(DocumentReportTest, PicturesOfTheNodesLieBesideThePageAsJpeg)
{
    openEditor(settings());
    QString reportPath = dir.file(QStringLiteral("report.html"));

    CreateDocumentReport(reportPath);

    const QString page = readUtf8(reportPath);
    for (const char* key : {"generaldata", "products", "product", "documentid", "generalpropertyimage"}) {
        const QString picture = dir.file(QStringLiteral("SPLReportImages/%1.jpg").arg(QLatin1String(key)));
        EXPECT_EQ(QImageReader(picture).format(), QByteArray("jpeg")) << key;
        EXPECT_TRUE(page.contains(QStringLiteral("<img src=\"SPLReportImages/%1.jpg\">").arg(QLatin1String(key)))) << key;
    }
}

TEST_F(DocumentReportTest, AMissingPictureLeavesOnlyItsReferenceWithoutAFile)
{
    veldra::test::ExpectSkippedErrors skipped;  // the missing picture is skipped
    openEditor(settings());
    QFile::remove(program.file(QStringLiteral("Images/products.png")));
    QString reportPath = dir.file(QStringLiteral("report.html"));

    CreateDocumentReport(reportPath);

    const QString page = readUtf8(reportPath);
    EXPECT_TRUE(page.contains(QStringLiteral("<img src=\"SPLReportImages/products.jpg\">")));
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("SPLReportImages/products.jpg"))));
    EXPECT_TRUE(QFileInfo::exists(dir.file(QStringLiteral("SPLReportImages/product.jpg"))));
    EXPECT_EQ(page.count(QStringLiteral("<table border=\"0\" width=\"900px\" cellpadding=\"5\"")), 5);
    EXPECT_EQ(ui.opened, QStringList{reportPath});
}

TEST_F(DocumentReportTest, APageThatCannotBeWrittenIsAFailure)
{
    veldra::test::ExpectSkippedErrors skipped;  // its pictures cannot be written either
    openEditor(settings());
    const QString notAFolder = writeFile(QStringLiteral("plain-file"), QStringLiteral("x"));
    QString reportPath = notAFolder + QStringLiteral("/report.html");

    CreateDocumentReport(reportPath);

    EXPECT_TRUE(logText().contains(QStringLiteral("Error          The Document Report cannot be written to ")));
    EXPECT_FALSE(logText().contains(QStringLiteral("Document Report Created")));
    EXPECT_TRUE(ui.opened.isEmpty());
    EXPECT_EQ(readUtf8(notAFolder), QStringLiteral("x"));
}

// The row of a group shows the values below it apart from each other, not run together.
TEST_F(DocumentReportTest, AGroupsValuesAreSeparated)
{
    frmXMLEditor* editor = openEditor(QStringLiteral(
        "<SPLR4 Word2SPLID=\"k0\"><Labeler Word2SPLID=\"k1\"><Name Word2SPLID=\"k2\">Parke-Davis Div of Pfizer Inc</Name>"
        "<DUNS Word2SPLID=\"k3\">829076962</DUNS><Address Word2SPLID=\"k4\"><Country Word2SPLID=\"k5\">USA</Country>"
        "</Address></Labeler></SPLR4>"));
    ASSERT_NE(node(editor, QStringLiteral("Labeler")), nullptr);
    QString reportPath = dir.file(QStringLiteral("report.html"));

    CreateDocumentReport(reportPath);

    const QString page = readUtf8(reportPath);
    EXPECT_TRUE(page.contains(QStringLiteral(">Parke-Davis Div of Pfizer Inc 829076962 USA</font>"))) << page.toStdString();
    EXPECT_FALSE(page.contains(QStringLiteral("Inc829076962")));
}

} // namespace
