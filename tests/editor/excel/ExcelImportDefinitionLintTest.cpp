// The shipped import definitions agree with the shipped settings vocabulary: every entry's
// record template exists, every field writes into an element of the record, and the
// elements an import adds are defined where they land, so they keep their definition
// attributes when the document is opened again.
#include "platform/xml/tree/Document.h"
#include "support/Fixtures.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

xml::Document shipped(const char* name)
{
    xml::Document document;
    const QString path = QDir(test::sourceDataDir()).filePath(QStringLiteral("SPLR4Definitions/") + QString::fromLatin1(name));
    EXPECT_TRUE(document.load(path)) << name << ": " << document.parseError().reason.toStdString();
    return document;
}

QString childText(const xml::Node& node, const char* name)
{
    const xml::Node child = node.selectSingleNode(QString::fromLatin1(name));
    return child.isNull() ? QString() : child.text();
}

} // namespace

TEST(ExcelImportDefinitionLint, EntriesMatchTheSettingsVocabulary)
{
    const xml::Document imports = shipped("ExcelImportDefinition.xml");
    const xml::Document definition = shipped("DefinitionSPLR4.xml");
    const xml::NodeList entries = imports.selectNodes(QStringLiteral("/ExcelImportDefinition/ExcelImport"));
    ASSERT_GE(entries.length(), 2);
    QStringList names;
    for (const xml::Node& entry : entries) {
        const QString name = childText(entry, "Name");
        SCOPED_TRACE(name.toStdString());
        names << name;
        const xml::Node start = definition.selectSingleNode(QStringLiteral("//") + name);
        ASSERT_FALSE(start.isNull()) << "no element to start the import on";
        const xml::Node record = definition.selectSingleNode(QStringLiteral("//") + name + QLatin1Char('/') + childText(entry, "Repeat"));
        ASSERT_FALSE(record.isNull()) << "no record template";
        bool startRow = false;
        EXPECT_GE(childText(entry, "DataStartRow").toInt(&startRow), 1);
        EXPECT_TRUE(startRow);

        const xml::Node target = start.selectSingleNode(childText(entry, "Target"));
        ASSERT_FALSE(target.isNull()) << "the Target is not defined below the element";
        for (const char* added : {"ExcelFile", "WorkSheet", "ImportDateTime"})
            EXPECT_FALSE(target.selectSingleNode(QString::fromLatin1(added)).isNull()) << added << " is not defined at the Target";
        EXPECT_EQ(target.selectSingleNode(QStringLiteral("ExcelFile")).getAttribute(QStringLiteral("ConstraintDataType")),
                  QStringLiteral("File"));

        const xml::NodeList fields = entry.selectNodes(QStringLiteral("Field"));
        EXPECT_GT(fields.length(), 0);
        bool countsForRows = false;
        for (const xml::Node& field : fields) {
            const QString fieldTarget = childText(field, "Target");
            EXPECT_FALSE(record.selectSingleNode(fieldTarget).isNull()) << fieldTarget.toStdString() << " is not in the record";
            const QString source = childText(field, "Source");
            countsForRows = countsForRows || QRegularExpression(QStringLiteral("^[A-Z]{1,3}$")).match(source).hasMatch();
        }
        EXPECT_TRUE(countsForRows) << "without a single-column Source no row is ever imported";
    }
    EXPECT_TRUE(names.contains(QStringLiteral("LotDistributionReport")));
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size()) << "only the first entry of a name is used";
}
