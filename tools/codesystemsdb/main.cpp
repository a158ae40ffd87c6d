// build_codesystems_db: writes the code-system database SPLCodeSystems.sqlite.
//
// The build runs it on the committed starter lists:
//     build_codesystems_db --sources tools/codesystemsdb/lists --output build/bin/SPLCodeSystems.sqlite
// For the full lists, give the public distribution files; each one replaces its
// table, the others come from --sources (or stay empty without it):
//     build_codesystems_db --sources tools/codesystemsdb/lists --loinc Loinc.csv
//         --nci FDA-SPL_NCIt_Subsets.txt --unii UNII_Names.txt --output SPLCodeSystems.sqlite
#include "codesystemsdb/DatabaseWriter.h"
#include "codesystemsdb/DistributionFiles.h"
#include "codesystemsdb/SourceLists.h"
#include "platform/core/VbError.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

using namespace veldra;

namespace {

codedb::CodeLists collectLists(const QCommandLineParser& options)
{
    codedb::CodeLists lists;
    if (options.isSet(QStringLiteral("sources")))
        lists = codedb::readSourceLists(options.value(QStringLiteral("sources")));
    const auto replaceFrom = [&](const char* option, const codedb::TableSpec& table, auto read) {
        const QString file = options.value(QLatin1String(option));
        if (!file.isEmpty())
            lists.replace(table, read(file), {table.name, QFileInfo(file).fileName(), QString()});
    };
    replaceFrom("loinc", codedb::loincTable(), codedb::readLoincCsv);
    replaceFrom("nci", codedb::nciTable(), codedb::readNciSplSubsets);
    replaceFrom("unii", codedb::uniiTable(), codedb::readUniiNames);
    return lists;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Writes the code-system database SPLCodeSystems.sqlite."));
    options.addHelpOption();
    options.addOptions({
        {QStringLiteral("sources"), QStringLiteral("Folder of the committed source lists (*.tsv)."), QStringLiteral("folder")},
        {QStringLiteral("loinc"), QStringLiteral("LOINC table file (Loinc.csv)."), QStringLiteral("file")},
        {QStringLiteral("nci"), QStringLiteral("NCI Thesaurus FDA SPL subsets file (FDA-SPL_NCIt_Subsets.txt)."), QStringLiteral("file")},
        {QStringLiteral("unii"), QStringLiteral("FDA UNII names list (UNII_Names*.txt)."), QStringLiteral("file")},
        {QStringLiteral("output"), QStringLiteral("The database file to write."), QStringLiteral("file")},
    });
    options.process(app);
    if (!options.isSet(QStringLiteral("output"))) {
        std::fprintf(stderr, "build_codesystems_db: --output is required\n");
        return 2;
    }
    try {
        const codedb::CodeLists lists = collectLists(options);
        codedb::writeDatabase(lists, options.value(QStringLiteral("output")));
        std::printf("SPLCodeSystems: %zu LOINC, %zu NCI Thesaurus, %zu UNII rows\n", lists.loinc.size(),
                    lists.nci.size(), lists.unii.size());
        return 0;
    } catch (const VbError& e) {
        std::fprintf(stderr, "build_codesystems_db: %s\n", e.what());
        return 1;
    }
}
