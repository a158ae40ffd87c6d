// How long the section builder's long passes take, each beside what the libraries alone
// need for the same work:
//  - LOINC section codes for a settings document of 300 label sections against the shipped
//    code-system database, beside a plain SQLite loop of the same 300 indexed lookups;
//  - filling, finishing and saving the shipped label skeleton with all eleven structured-data
//    fragments, beside libxml2 parsing the saved file, serialising it, saving it as durably as
//    the program saves (a temporary file beside the target, synced, renamed over it) and
//    schema-validating it; in wall time and in the process's CPU time.
#include "BenchMain.h"

#include "app/log/Log.h"
#include "app/window/frmMain.h"
#include "platform/core/AppPaths.h"
#include "platform/xml/resources/ResourceResolver.h"
#include "splbuilder/clsSPL.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>
#include <fcntl.h>
#include <libxml/parser.h>
#include <libxml/xmlschemas.h>
#include <sqlite3.h>
#include <unistd.h>

namespace {

using namespace veldra;

constexpr int sectionCount = 300;

QString programDir()
{
    return QStringLiteral(VELDRA_PROGRAM_DIR);
}

// The shipped LOINC section names, each of which finds exactly its own row.
QStringList sectionNames()
{
    QStringList names;
    sqlite3* db = nullptr;
    sqlite3_open_v2((programDir() + "/SPLCodeSystems.sqlite").toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT COMPONENT FROM LOINC WHERE COMPONENT LIKE '%SECTION' GROUP BY COMPONENT HAVING COUNT(*) = 1",
                       -1, &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW)
        names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return names;
}

QString settingsText(const QStringList& names)
{
    QString text = "<SPLR4><ProductLabel><DocumentSections><Section>";
    for (int i = 0; i < sectionCount; ++i)
        text += QStringLiteral("<component Word2SPLID='c%1'><section ID='S%1'><title>%2</title>"
                               "<code code='' codeSystem='' displayName=''/></section></component>")
                    .arg(i)
                    .arg(names.at(i % names.size()).toHtmlEscaped());
    return text + "</Section></DocumentSections></ProductLabel></SPLR4>";
}

void LoincCodesFor300Sections(benchmark::State& state)
{
    mainForm()->chkCodeSystemWholeWord->setChecked(true);
    const QString text = settingsText(sectionNames());
    for (auto _ : state) {
        state.PauseTiming();
        xml::Document settings;
        settings.loadXml(text);
        state.ResumeTiming();
        clsSPL().ProcessLoincCodes(&settings);
    }
}
BENCHMARK(LoincCodesFor300Sections)->Unit(benchmark::kMillisecond);

void SqliteLoopOf300Lookups(benchmark::State& state)
{
    const QStringList names = sectionNames();
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2((programDir() + "/SPLCodeSystems.sqlite").toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, "SELECT LOINC_NUM, COMPONENT, SYSTEM FROM LOINC WHERE COMPONENT = ?1 OR LOINC_NUM = ?1",
                           -1, &statement, nullptr);
        for (int i = 0; i < sectionCount; ++i) {
            const QByteArray name = names.at(i % names.size()).toUtf8();
            sqlite3_bind_text(statement, 1, name.constData(), name.size(), SQLITE_TRANSIENT);
            while (sqlite3_step(statement) == SQLITE_ROW)
                benchmark::DoNotOptimize(sqlite3_column_text(statement, 0));
            sqlite3_reset(statement);
        }
        sqlite3_finalize(statement);
        sqlite3_close(db);
    }
}
BENCHMARK(SqliteLoopOf300Lookups)->Unit(benchmark::kMillisecond);

StructuredDataInput allStructuredData()
{
    StructuredDataInput in;
    const QString nci = "National Cancer Institute Thesaurus", snomed = "Systematized Nomenclature of Medicine";
    for (int i = 0; i < 10; ++i) {
        const QString n = QString::number(i);
        in.Ingredients << StructuredRow{"SUBSTANCE " + n, "UNII" + n, i % 2 ? "Inactive" : "Active", "1", "mg", "C28253",
                                        "MILLIGRAM", "1", "1", "C48542", "TABLET"};
        in.Packaging << StructuredRow{"0000-000" + n, "C43165", "BOTTLE", "30", "1", "C48542", "TABLET", "1", "1", "C43165", "BOTTLE"};
        in.Indications << StructuredRow{"I" + n, "Indication " + n, snomed};
        in.ContraIndications << StructuredRow{"C" + n, nci, "Condition", "V" + n, snomed, "Value"};
        in.DrugInteraction << StructuredRow{"D" + n, nci, "Drug", "R" + n, nci, "Risk", "V" + n, snomed, "Value"};
        in.AdverseReaction << StructuredRow{"A" + n, nci, "Reaction", "V" + n, snomed, "Value"};
    }
    in.ProductTradeName = "Trade";
    in.ProductGenericName = "generic";
    in.ProductNCIAdministrativeFormCode = "C42998";
    in.ProductNCIAdministrativeFormName = "TABLET";
    in.ProductNCIAdministrativeRouteCode = "C38288";
    in.ProductNCIAdministrativeRouteName = "ORAL";
    in.ConditionOfUsePatientAgeLow = "10";
    in.ConditionOfUsePatientAgeHigh = "17";
    in.ConditionOfUseCoAdministrationCode = "C1";
    in.ConditionOfUseCoAdministrationCodeSystem = nci;
    in.ConditionOfUseCoAdministrationName = "Co";
    in.ConditionOfUseMonitoringCode = "M1";
    in.ConditionOfUseMonitoringCodeSystem = nci;
    in.ConditionOfUseMonitoringName = "Monitor";
    in.MaxDoseNumeratorValue = "80";
    in.MaxDoseNumeratorUnit = "mg";
    in.MaxDoseDenominatorValue = "1";
    in.MaxDoseDenominatorUnit = "d";
    in.DEAScheduleCode = "C48672";
    in.DEAScheduleDisplayName = "CII";
    in.DosageCharacteristicImprint = "PD";
    in.DosageCharacteristicSymbol = "false";
    in.DosageCharacteristicCoating = "true";
    in.DosageCharacteristicSize = "9";
    in.DosageCharacteristicShapeDisplayName = "OVAL";
    in.DosageCharacteristicNCIShapeCode = "C48345";
    in.DosageCharacteristicNCIScoreCode = "1";
    in.DosageCharacteristicColorDisplayName = "WHITE";
    in.DosageCharacteristicNCIColorCode = "C48325";
    return in;
}

QString savedLabel()
{
    static QTemporaryDir dir;
    return dir.filePath("label.xml");
}

void finishAndSave(const StructuredDataInput& input)
{
    clsSPL spl;
    spl.Initialize("BOXED WARNING");
    spl.SetUserData("0a6e5b4c-1d2e-4f3a-9b8c-7d6e5f4a3b2c", "1", "Title", "20240131", "20240131", "Company",
                    "Street", "FDA", "Street", "1996", "Company", "Ada", "Lovelace", "tel:+1", "http://example.com");
    for (const xml::Node& title : spl.Document->selectNodes("document/component/structuredBody/component/section/title")) {
        QString text = title.text();
        spl.RememberSectionInformation(text);
    }
    spl.Finalize(input);
    spl.SaveFile(savedLabel());
}

// Seconds of wall and of the process's CPU time, which the disk's sync does not inflate.
struct Spent {
    double wall = 0;
    double cpu = 0;
};

double processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

template <class Work>
Spent spentOn(Work&& work)
{
    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = processCpuSeconds();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count(),
            processCpuSeconds() - cpuStart};
}

// The program's save: the bytes go to a temporary file beside the target, are synced to the
// disk (Qt's save file syncs the data) and the file is renamed over the target.
void saveDurably(const QByteArray& path, const xmlChar* text, int size)
{
    const QByteArray temporary = path + ".new";
    const int file = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    for (int written = 0; file >= 0 && written < size;) {
        const ssize_t now = ::write(file, text + written, size_t(size - written));
        if (now <= 0)
            break;
        written += int(now);
    }
    ::fdatasync(file);
    ::close(file);
    ::rename(temporary.constData(), path.constData());
}

// libxml2 alone over the saved file: parse, serialise, save durably, validate.
void libxml2Pass(xmlSchemaPtr compiled)
{
    static QTemporaryDir dir;
    const QByteArray file = savedLabel().toUtf8();
    xmlDocPtr doc = xmlReadFile(file.constData(), nullptr, XML_PARSE_NONET);
    xmlChar* text = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(doc, &text, &size, "UTF-8");
    saveDurably(dir.filePath("label.xml").toUtf8(), text, size);
    xmlSchemaValidCtxtPtr validation = xmlSchemaNewValidCtxt(compiled);
    benchmark::DoNotOptimize(xmlSchemaValidateDoc(validation, doc));
    xmlSchemaFreeValidCtxt(validation);
    xmlFree(text);
    xmlFreeDoc(doc);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The builder's time as a multiple of libxml2's, in wall time (x_libxml2) and in CPU time
// (x_libxml2_cpu): each pass of the builder is paired with a libxml2 pass right after it and
// the medians are compared, so load on a shared machine moves both sides. The floor's medians
// are reported too (floor_ms, floor_cpu_ms).
void FinishAndSaveFullSkeleton(benchmark::State& state)
{
    const QByteArray schema = QStringLiteral(VELDRA_FIXTURES_DIR "/spl-schema/SPL.xsd").toUtf8();
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(schema.constData());
    xmlSchemaPtr compiled = xmlSchemaParse(parser);
    const StructuredDataInput input = allStructuredData();
    finishAndSave(input);
    std::vector<double> builderWall, builderCpu, floorWall, floorCpu;
    for (auto _ : state) {
        const Spent builder = spentOn([&] { finishAndSave(input); });
        state.PauseTiming();
        const Spent floor = spentOn([&] { libxml2Pass(compiled); });
        builderWall.push_back(builder.wall);
        builderCpu.push_back(builder.cpu);
        floorWall.push_back(floor.wall);
        floorCpu.push_back(floor.cpu);
        state.ResumeTiming();
    }
    state.counters["x_libxml2"] = median(builderWall) / median(floorWall);
    state.counters["x_libxml2_cpu"] = median(builderCpu) / median(floorCpu);
    state.counters["floor_ms"] = median(floorWall) * 1e3;
    state.counters["floor_cpu_ms"] = median(floorCpu) * 1e3;
    xmlSchemaFree(compiled);
    xmlSchemaFreeParserCtxt(parser);
}
BENCHMARK(FinishAndSaveFullSkeleton)->Unit(benchmark::kMillisecond)->Iterations(30);

} // namespace

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv, [] {
        app_paths::setProgramFolderForTesting(programDir());
        xml::setLocalRootForTesting(xml::ResourceKind::Schema, QStringLiteral(VELDRA_FIXTURES_DIR "/spl-schema"));
        NoLogging = true;
        static frmMain main;
    });
}
