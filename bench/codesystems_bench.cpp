// How long the code searches take on code lists of realistic size: 200,000 UNII,
// 100,000 LOINC and 50,000 NCI Thesaurus rows in a temporary database. An exact
// search, a partial search with one hit, and a partial search that lists 5,000
// hits into the log window. The partial search is reported next to the same SQL run
// in this process with and without the trigram index (the counters are ratios to
// the indexed SQL, so they hold on a busy machine).
#include "app/log/Log.h"
#include "app/window/frmMain.h"
#include "codesystems/CodeSearches.h"
#include "codesystems/clsLOINC.h"
#include "codesystems/clsNCIThesaurus.h"
#include "codesystems/clsUNII.h"
#include "codesystems/CodeSystemsDatabase.h"
#include "codesystems/SearchQuery.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "codesystemsdb/DatabaseWriter.h"
#include "platform/core/AppPaths.h"
#include "platform/ui/Ui.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace veldra;

constexpr int uniiRows = 200000;
constexpr int loincRows = 100000;
constexpr int nciRows = 50000;
// Every 40th UNII name starts with "LISTED": 5,000 names.
constexpr int listedEvery = 40;

QString numbered(const char* prefix, int n)
{
    return QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(n, 7, 10, QLatin1Char('0'));
}

codedb::CodeLists realisticLists()
{
    codedb::CodeLists lists;
    lists.unii.reserve(uniiRows);
    for (int i = 0; i < uniiRows; ++i) {
        const char* kind = i % listedEvery == 0 ? "LISTED SUBSTANCE " : "SUBSTANCE ";
        lists.unii.push_back({numbered("U", i), numbered(kind, i)});
    }
    for (int i = 0; i < loincRows; ++i)
        lists.loinc.push_back({QStringLiteral("%1-%2").arg(10000 + i).arg(i % 10), numbered("OBSERVATION COMPONENT ", i),
                               QStringLiteral("Ser/Plas")});
    for (int i = 0; i < nciRows; ++i)
        lists.nci.push_back({numbered("C", i), numbered("TERM ", i), QStringLiteral("Dosage Form"), numbered("TERM ", i)});
    return lists;
}

void setExactSearch(bool exact)
{
    mainForm()->chkCodeSystemWholeWord->setChecked(exact);
}

void ExactSearch(benchmark::State& state)
{
    setExactSearch(true);
    clsUNII unii;
    unii.Initialize();
    QString code, name;
    for (auto _ : state) {
        unii.GetCodeAndName(numbered("SUBSTANCE ", 123457), code, name);
        benchmark::DoNotOptimize(code);
    }
    unii.Destroy();
}

const QString partialTerm = QStringLiteral("SUBSTANCE 0123457");

// Seconds per run of the UNII table's partial-search SQL, averaged over `runs`.
double sqlSeconds(bool useIndex, int runs)
{
    db::Connection connection;
    codesystems::openDatabase(connection);
    const codesystems::SearchQuery query = codesystems::searchQuery(
        {QStringLiteral("UNII"), QStringLiteral("[Name],[UNII]"), QStringLiteral("UNII"), QStringLiteral("Name")},
        partialTerm, false, useIndex);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i) {
        db::Recordset rows;
        rows.open(connection, query.sql, query.parameters);
        benchmark::DoNotOptimize(rows.recordCount());
    }
    return double(timer.nsecsElapsed()) / 1e9 / runs;
}

void PartialSearch(benchmark::State& state)
{
    setExactSearch(false);
    clsUNII unii;
    unii.Initialize();
    QString code, name;
    QElapsedTimer timer;
    timer.start();
    for (auto _ : state) {
        unii.GetCodeAndName(partialTerm, code, name);
        benchmark::DoNotOptimize(code);
    }
    const double lookup = double(timer.nsecsElapsed()) / 1e9 / double(state.iterations());
    unii.Destroy();
    const double indexed = sqlSeconds(true, 200);
    state.counters["lookup_x_indexed_sql"] = lookup / indexed;
    state.counters["scan_sql_x_indexed_sql"] = sqlSeconds(false, 10) / indexed;
}

void PartialSearchListing5000Hits(benchmark::State& state)
{
    setExactSearch(false);
    for (auto _ : state) {
        state.PauseTiming();
        ShowLogWindow(true);
        state.ResumeTiming();
        SearchUNIICodes(QStringLiteral("LISTED SUBSTANCE"));
        QApplication::processEvents();
    }
    state.counters["rows"] = benchmark::Counter(double(uniiRows / listedEvery) * double(state.iterations()),
                                                benchmark::Counter::kIsRate);
}

BENCHMARK(ExactSearch)->Unit(benchmark::kMicrosecond);
BENCHMARK(PartialSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(PartialSearchListing5000Hits)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir folder;
    codedb::writeDatabase(realisticLists(), folder.filePath(QStringLiteral("SPLCodeSystems.sqlite")));
    app_paths::setProgramFolderForTesting(folder.path());
    frmMain main;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
