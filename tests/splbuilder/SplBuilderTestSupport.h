#pragma once

#include "codesystemsdb/CodeTables.h"
#include "codesystemsdb/DatabaseWriter.h"
#include "codesystemsdb/SourceLists.h"
#include "platform/core/AppPaths.h"
#include "platform/xml/resources/ResourceResolver.h"
#include "splbuilder/clsSPL.h"
#include "support/Fixtures.h"
#include "support/LogFixture.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <optional>

namespace veldra::test {

// A label skeleton small enough to read in a test: sections A and B (A with a highlight
// excerpt and a table cell that reads like B's title), the boxed warning, and a
// structured-data target section of each kind the builders address.
inline QString smallSkeleton()
{
    const auto section = [](const QString& id, const QString& title, bool excerpt) {
        return QStringLiteral("<component><section ID=\"%1\"><id root=\"\"/>"
                              "<code code=\"1-1\" codeSystem=\"2.16.840.1.113883.6.1\" displayName=\"%2 SECTION\"/>"
                              "<title>%2</title><text/>%3"
                              "<component><section ID=\"%1-SUB\"><id root=\"\"/>"
                              "<code code=\"42229-5\" codeSystem=\"2.16.840.1.113883.6.1\" displayName=\"SPL UNCLASSIFIED SECTION\"/>"
                              "<title>$SubSection</title><text/></section></component>"
                              "</section></component>")
            .arg(id, title, excerpt ? QStringLiteral("<excerpt><highlight><text/></highlight></excerpt>") : QString());
    };
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                          "<document xmlns=\"urn:hl7-org:v3\"><id root=\"\"/><component><structuredBody>")
           + section(QStringLiteral("BOXED-WARNING-SECTION"), QStringLiteral("BOXED WARNING"), false)
           + section(QStringLiteral("A"), QStringLiteral("A"), true)
           + section(QStringLiteral("B"), QStringLiteral("B"), false)
           + section(QStringLiteral("INDICATIONS-AND-USAGE"), QStringLiteral("INDICATIONS AND USAGE"), true)
           + section(QStringLiteral("DOSAGE-AND-ADMINISTRATION"), QStringLiteral("DOSAGE AND ADMINISTRATION"), true)
           + section(QStringLiteral("CONTRAINDICATIONS"), QStringLiteral("CONTRAINDICATIONS"), true)
           + section(QStringLiteral("ADVERSE-REACTIONS"), QStringLiteral("ADVERSE REACTIONS"), true)
           + section(QStringLiteral("DRUG-INTERACTIONS"), QStringLiteral("DRUG INTERACTIONS"), true)
           + section(QStringLiteral("HOW-SUPPLIED-STORAGE-AND-HANDLING"), QStringLiteral("HOW SUPPLIED"), true)
           + QStringLiteral("</structuredBody></component></document>");
}

// LOINC rows for the lookups of the tests: a title that names one of them gets its code.
inline codedb::CodeLists testLoincLists()
{
    const auto row = [](const char* code, const char* name) {
        return codedb::Row{QString::fromUtf8(code), QString::fromUtf8(name), QString()};
    };
    codedb::CodeLists lists;
    lists.loinc = {row("34081-0", "PEDIATRIC USE SECTION"), row("34082-8", "GERIATRIC USE SECTION"),
                   row("42228-7", "PREGNANCY SECTION"), row("34075-2", "LABORATORY TESTS SECTION"),
                   row("34076-0", "INFORMATION FOR PATIENTS SECTION"), row("34077-8", "TERATOGENIC EFFECTS SECTION"),
                   row("34078-6", "NONTERATOGENIC EFFECTS SECTION")};
    return lists;
}

// A program folder of the test's own holding a copy of the shipped label templates.
class LabelProgramFolder {
public:
    LabelProgramFolder()
    {
        const QDir source(sourceDataDir() + QStringLiteral("/LabelDefinitions"));
        QDir(dir_.path()).mkpath(QStringLiteral("LabelDefinitions"));
        for (const QString& name : source.entryList(QDir::Files))
            QFile::copy(source.filePath(name), file(QStringLiteral("LabelDefinitions/") + name));
        app_paths::setProgramFolderForTesting(dir_.path());
    }
    ~LabelProgramFolder() { app_paths::setProgramFolderForTesting(QString()); }
    QString file(const QString& relative) const { return dir_.file(relative); }

private:
    TempDir dir_;
};

// Every test runs in a program folder of its own (with the shipped label templates), with an
// empty log, scripted dialogs and the fixture SPL schema.
class SplBuilderTest : public LogFixture {
protected:
    void SetUp() override
    {
        LogFixture::SetUp();
        program.emplace();
        xml::setLocalRootForTesting(xml::ResourceKind::Schema, fixture(QStringLiteral("spl-schema")));
    }
    void TearDown() override
    {
        xml::setLocalRootForTesting(xml::ResourceKind::Schema, {});
        program.reset();
        LogFixture::TearDown();
    }

    QString templatePath(const QString& name) const { return program->file(QStringLiteral("LabelDefinitions/") + name); }
    void writeTemplate(const QString& name, const QString& text) const { writeTextFile(templatePath(name), text); }
    void useSmallSkeleton() const { writeTemplate(QStringLiteral("TEMPLATE_SPL.xml"), smallSkeleton()); }
    void writeLoincDatabase(const codedb::CodeLists& lists = testLoincLists()) const
    {
        codedb::writeDatabase(lists, program->file(QStringLiteral("SPLCodeSystems.sqlite")));
    }

    // A builder on the current skeleton.
    static clsSPL initialized()
    {
        clsSPL spl;
        spl.Initialize(QStringLiteral("BOXED WARNING"));
        return spl;
    }

    static QString text(const clsSPL& spl, const QString& path)
    {
        const xml::Node node = spl.Document->selectSingleNode(path);
        return node ? node.text() : QStringLiteral("<none>");
    }
    static int count(const clsSPL& spl, const QString& path) { return spl.Document->selectNodes(path).length(); }

    std::optional<LabelProgramFolder> program;
};

} // namespace veldra::test
