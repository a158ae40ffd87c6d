// How long the Excel import takes per row of a lot distribution workbook of 10,000 visible
// rows (and 1,000 hidden ones), next to the time libxml2 alone needs to parse the same
// worksheet part. The import is the whole of it but the dialogs: the workbook opened and
// read, the records made from the shipped definitions, ids renewed, lots split. Run with
// 1,000 and 10,000 rows, the time per row stays flat: the work grows linearly with the sheet.
#include "BenchMain.h"
#include "editor/document/DefinitionDocument.h"
#include "editor/excel/ExcelImportDefinition.h"
#include "editor/excel/clsExcelImport.h"
#include "platform/core/AppPaths.h"
#include "platform/excel/XlsxWorkbook.h"
#include "platform/xml/tree/Document.h"
#include "support/XlsxBuilder.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <map>
#include <zip.h>

namespace {

constexpr int HiddenEvery = 10;  // one hidden row after every ten visible ones

struct BenchWorkbook {
    QString path;
    QByteArray sheetPart;
};

// The lot layout of the manual: lot number, NDC package code, expiration date, quantity.
BenchWorkbook writeWorkbook(int visibleRows)
{
    static QTemporaryDir dir;
    BenchWorkbook book;
    book.path = dir.filePath(QStringLiteral("lots_%1.xlsx").arg(visibleRows));
    veldra::test::XlsxBuilder builder(book.path);
    builder.sheet("Lots").row(1, {"Lot", "NDC", "Expiration", "Quantity"});
    int row = 2;
    for (int i = 0; i < visibleRows; ++i) {
        builder.row(row++, {QStringLiteral("L%1").arg(i), QStringLiteral("0071-0155-%1").arg(i % 100, 2, 10, QLatin1Char('0')),
                            QDate(2027, 1, 1).addDays(i % 365), 100 + i});
        if (i % HiddenEvery == HiddenEvery - 1) {
            builder.row(row, {"hidden", "x", "x", 0}).hideRow(row);
            ++row;
        }
    }
    builder.save();

    int code = 0;
    zip_t* archive = zip_open(book.path.toUtf8().constData(), ZIP_RDONLY, &code);
    zip_stat_t stat;
    zip_stat(archive, "xl/worksheets/sheet1.xml", 0, &stat);
    book.sheetPart.resize(static_cast<qsizetype>(stat.size));
    zip_file_t* file = zip_fopen(archive, "xl/worksheets/sheet1.xml", 0);
    zip_fread(file, book.sheetPart.data(), stat.size);
    zip_fclose(file);
    zip_close(archive);
    return book;
}

const BenchWorkbook& workbook(int visibleRows)
{
    static std::map<int, BenchWorkbook> books;
    auto found = books.find(visibleRows);
    if (found == books.end())
        found = books.emplace(visibleRows, writeWorkbook(visibleRows)).first;
    return found->second;
}

void ParseSheetPartWithLibxml2(benchmark::State& state)
{
    const BenchWorkbook& book = workbook(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        xmlDocPtr doc = xmlReadMemory(book.sheetPart.constData(), static_cast<int>(book.sheetPart.size()), nullptr, nullptr,
                                      XML_PARSE_NONET);
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["sheet MiB"] = double(book.sheetPart.size()) / (1024 * 1024);
}

void OpenWorkbook(benchmark::State& state)
{
    const BenchWorkbook& book = workbook(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        veldra::excel::XlsxWorkbook opened;
        benchmark::DoNotOptimize(opened.open(book.path));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void ImportLotDistributionReport(benchmark::State& state)
{
    using namespace veldra;
    const BenchWorkbook& book = workbook(static_cast<int>(state.range(0)));
    const xml::Document definitions = requireExcelImportDefinition();
    const xml::Node entry = excelImportEntry(definitions, QStringLiteral("LotDistributionReport"));
    const xml::Document definition = requireDefinitionDocument();
    const xml::Node recordTemplate = definition.selectSingleNode(QStringLiteral("//LotDistributionReport/BulkLot"));
    int records = 0;
    for (auto _ : state) {
        state.PauseTiming();
        xml::Document settings;
        settings.loadXml(QStringLiteral("<SPLR4><LotDistributionReport/></SPLR4>"));
        const xml::Node target = settings.selectSingleNode(QStringLiteral("SPLR4/LotDistributionReport"));
        state.ResumeTiming();

        excel::XlsxWorkbook opened;
        opened.open(book.path);
        clsExcelImport import;
        import.LoadFromExcelWorkSheet(opened.worksheets().front(), entry, recordTemplate, target);
        import.LotDistributionReportPostProcessing(target);

        state.PauseTiming();
        records = target.selectNodes(QStringLiteral("BulkLot")).length();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["records"] = records;
}

BENCHMARK(ParseSheetPartWithLibxml2)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenWorkbook)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportLotDistributionReport)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv, [] {
        veldra::app_paths::setProgramFolderForTesting(QStringLiteral(VELDRA_DATA_DIR));
    });
}
