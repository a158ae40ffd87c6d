// How long the Excel import takes per row of a lot distribution workbook of 10,000 visible
// rows (and 1,000 hidden ones), next to the time libxml2 alone needs to parse the same
// worksheet part. The import is the whole of it but the dialogs: the workbook opened and
// read, the records made from the shipped definitions with their ids, lots split. Run with
// 1,000 and 10,000 rows, the time per row stays flat: the work grows linearly with the sheet.
// The same holds for many small worksheets (ImportManyWorksheets).
#include "BenchMain.h"
#include "editor/document/DefinitionDocument.h"
#include "editor/excel/ExcelImportDefinition.h"
#include "editor/excel/clsExcelImport.h"
#include "platform/core/AppPaths.h"
#include "platform/excel/XlsxWorkbook.h"
#include "platform/ui/Ui.h"
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

// The user of ImportManyWorksheets: opens the workbook given and accepts every worksheet.
class AcceptEverySheet : public veldra::ui::Backend {
public:
    explicit AcceptEverySheet(QString workbook) : workbook_(std::move(workbook)) { veldra::ui::setBackend(this); }
    ~AcceptEverySheet() override { veldra::ui::setBackend(nullptr); }
    veldra::ui::Answer message(const veldra::ui::MessageRequest&) override { return veldra::ui::Answer::Yes; }
    std::optional<QString> input(const veldra::ui::InputRequest&) override { return std::nullopt; }
    std::optional<QString> openFile(const veldra::ui::FileRequest&) override { return workbook_; }
    std::optional<QString> saveFile(const veldra::ui::FileRequest&) override { return std::nullopt; }
    std::optional<QString> chooseFolder(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QColor> chooseColor(const QColor&) override { return std::nullopt; }
    bool shellOpen(const QString&) override { return false; }
    void setClipboardText(const QString&) override {}
    QString clipboardText() override { return {}; }
    void pumpMessages() override {}

private:
    QString workbook_;
};

// A workbook of `sheets` worksheets of 90 lots each, imported whole (dialogs answered) into
// an empty report. Run with 30 and 300 worksheets, the time per lot stays flat: a worksheet
// costs what its lots cost, not what the document already holds.
void ImportManyWorksheets(benchmark::State& state)
{
    using namespace veldra;
    constexpr int LotsPerSheet = 90;
    const int sheets = static_cast<int>(state.range(0));
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sheets_%1.xlsx").arg(sheets));
    test::XlsxBuilder builder(path);
    for (int s = 0; s < sheets; ++s) {
        builder.sheet(QStringLiteral("Lots %1").arg(s)).row(1, {"Lot", "NDC", "Expiration", "Quantity"});
        for (int i = 0; i < LotsPerSheet; ++i)
            builder.row(i + 2, {QStringLiteral("L%1-%2").arg(s).arg(i), "0071-0155-23", QDate(2027, 1, 1), 100 + i});
    }
    builder.save();
    AcceptEverySheet user(path);
    for (auto _ : state) {
        state.PauseTiming();
        xml::Document settings;
        settings.loadXml(QStringLiteral("<SPLR4><LotDistributionReport/></SPLR4>"));
        const xml::Node report = settings.selectSingleNode(QStringLiteral("SPLR4/LotDistributionReport"));
        state.ResumeTiming();

        clsExcelImport import;
        import.LoadFromExcelFile(QStringLiteral("LotDistributionReport"), report);
    }
    state.SetItemsProcessed(state.iterations() * sheets * LotsPerSheet);
}

BENCHMARK(ParseSheetPartWithLibxml2)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenWorkbook)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportLotDistributionReport)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportManyWorksheets)->Arg(30)->Arg(300)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv, [] {
        veldra::app_paths::setProgramFolderForTesting(QStringLiteral(VELDRA_DATA_DIR));
    });
}
