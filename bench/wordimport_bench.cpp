// The Word label import on a generated 300-page label (headings, subsections, numbered
// lists, formatted runs, 50 tables, 30 pictures, cross references): the whole import into a
// settings document with and without picture extraction, next to the document's open and
// character walk alone and to pandoc reading the same file into HTML. The import reports its
// time as multiples of those two (x_walk, x_pandoc; the latter only where pandoc is installed).
#include "BenchMain.h"
#include "GeneratedLabel.h"

#include "codesystems/frmSelectLOINC.h"
#include "platform/core/AppPaths.h"
#include "platform/ui/Ui.h"
#include "platform/word/Document.h"
#include "platform/xml/tree/Document.h"
#include "wordimport/ProductLabelImport.h"

#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <chrono>

using namespace veldra;

namespace {

using generated_label::kSections;

// Answers every question of the import as a user who goes ahead would.
class GoAheadUi : public ui::Backend {
public:
    ui::Answer message(const ui::MessageRequest& request) override
    {
        return request.buttons == ui::Buttons::YesNo ? ui::Answer::Yes : ui::Answer::OK;
    }
    std::optional<QString> input(const ui::InputRequest&) override { return std::nullopt; }
    std::optional<QString> openFile(const ui::FileRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const ui::FileRequest&) override { return std::nullopt; }
    std::optional<QString> chooseFolder(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QColor> chooseColor(const QColor&) override { return std::nullopt; }
    bool shellOpen(const QString&) override { return true; }
    void setClipboardText(const QString&) override {}
    QString clipboardText() override { return {}; }
    void pumpMessages() override {}
};

struct Setup {
    QTemporaryDir dir;
    QString file;
    QString pictures;
};

Setup& setup()
{
    static Setup s = [] {
        Setup made;
        made.file = made.dir.filePath(QStringLiteral("label.docx"));
        made.pictures = made.dir.filePath(QStringLiteral("pictures"));
        QDir().mkpath(made.pictures);
        QFile out(made.file);
        out.open(QIODevice::WriteOnly);
        out.write(generated_label::package());
        return made;
    }();
    return s;
}

// Per-iteration times of the yardsticks, which run first, so the import can report its
// ratios to them.
double walkSeconds = 0;
double pandocSeconds = 0;

double secondsPerIteration(const benchmark::State& state, std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / state.iterations();
}

// What the converter reads, alone: the open and the walk over styles, texts, list numbers
// and, for formatted paragraphs, every character's formatting, fields and links.
void BM_OpenAndCharacterWalk(benchmark::State& state)
{
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        word::Document doc;
        if (!doc.open(setup().file))
            state.SkipWithError("the generated document did not open");
        const int64_t sum = generated_label::converterWalk(doc);
        benchmark::DoNotOptimize(sum);
    }
    walkSeconds = secondsPerIteration(state, start);
}
BENCHMARK(BM_OpenAndCharacterWalk)->Unit(benchmark::kMillisecond);

// The same file read into HTML by pandoc (installed by scripts/bench), as a user could
// convert a label without this program.
void BM_PandocDocxToHtml(benchmark::State& state)
{
    const QString pandoc = QStandardPaths::findExecutable(QStringLiteral("pandoc"));
    if (pandoc.isEmpty()) {
        state.SkipWithError("pandoc is not installed (scripts/bench installs it)");
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        QProcess process;
        process.start(pandoc, {QStringLiteral("-f"), QStringLiteral("docx"), QStringLiteral("-t"), QStringLiteral("html"), setup().file});
        process.waitForFinished(-1);
        benchmark::DoNotOptimize(process.readAllStandardOutput().size());
    }
    pandocSeconds = secondsPerIteration(state, start);
}
BENCHMARK(BM_PandocDocxToHtml)->Unit(benchmark::kMillisecond)->Iterations(3);

// A user who files every title the code list does not know as unclassified, at once: the
// picker is answered as soon as it shows, so no waiting of the script counts as import time.
class UnclassifiedPicker : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched == frmSelectLOINC::instance())
            QMetaObject::invokeMethod(
                this,
                [] {
                    if (frmSelectLOINC* form = frmSelectLOINC::instance(); form && form->isVisible())
                        form->cmdUnclassified->click();
                },
                Qt::QueuedConnection);
        return false;
    }
};

void BM_ImportIntoSettingsDocument(benchmark::State& state)
{
    const bool extract = state.range(0) != 0;
    GoAheadUi answers;
    ui::setBackend(&answers);
    // Subsection titles that name no LOINC section leave the picker to the user: unclassified.
    UnclassifiedPicker picker;
    qApp->installEventFilter(&picker);
    int sections = 0;
    std::chrono::steady_clock::duration imported{};
    for (auto _ : state) {
        state.PauseTiming();
        xml::Document settings;
        settings.load(app_paths::inProgram(QStringLiteral("SPLR4Definitions/DefinitionSPLR4.xml")));
        const xml::Node options = settings.selectSingleNode(QStringLiteral("SPLR4/ProductLabel/WordDocument"));
        options.selectSingleNode(QStringLiteral("File")).setText(setup().file);
        options.selectSingleNode(QStringLiteral("ImageTargetFolder")).setText(setup().pictures);
        options.selectSingleNode(QStringLiteral("EffectiveTime")).setText(QStringLiteral("20240131"));
        options.selectSingleNode(QStringLiteral("ExtractImages")).setText(extract ? QStringLiteral("Yes") : QStringLiteral("No"));
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        ImportProductLabelFromWord(nullptr, settings);
        imported += std::chrono::steady_clock::now() - start;
        sections = settings.selectNodes(QStringLiteral("SPLR4/ProductLabel/DocumentSections/Section")).length();
    }
    qApp->removeEventFilter(&picker);
    ui::setBackend(nullptr);
    if (sections != kSections.size())
        state.SkipWithError("the import did not bring every section");
    state.counters["sections"] = sections;
    const double seconds = std::chrono::duration<double>(imported).count() / state.iterations();
    if (walkSeconds > 0)
        state.counters["x_walk"] = seconds / walkSeconds;
    if (pandocSeconds > 0)
        state.counters["x_pandoc"] = seconds / pandocSeconds;
}
BENCHMARK(BM_ImportIntoSettingsDocument)->Arg(0)->Arg(1)->ArgNames({"extract"})->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv, [] {
        app_paths::setProgramFolderForTesting(QStringLiteral(VELDRA_PROGRAM_DIR));
    });
}
