#include "BenchMain.h"
// How long the preview's stylesheet takes for labels at the preview's bound: the cough label of
// the fixtures with as many footnotes, links, pictures or sections as the bound lets it hold
// (see PreviewBound.h), next to the label alone as the floor. Each must stay well under the
// twenty seconds in which a preview answers: the transform runs on the window's thread and
// cannot be stopped. "stopped" is 1 when the stylesheet's step limit stops such a label; it
// must stay 0, or labels within the bound are refused after all.
#include "generation/preview/PreviewBound.h"
#include "generation/preview/SPLRendering.h"
#include "platform/xml/resources/ResourceResolver.h"
#include "platform/xml/resources/XsltProcessor.h"
#include "platform/xml/tree/Document.h"

#include <QFile>

using namespace veldra;

namespace {

const QString Fixtures = QStringLiteral(VELDRA_FIXTURES_DIR);

QString coughLabel()
{
    QFile file(Fixtures + QStringLiteral("/spl-documents/openfda-cough-otc/cough.xml"));
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

// The label with `count` snippets: in a paragraph of its first text, or, for sections, as
// components of its body.
xml::Document labelWith(const char* snippet, int count)
{
    QString text = coughLabel();
    const QString added = QString::fromLatin1(snippet).repeated(count);
    if (added.startsWith(QStringLiteral("<component>")))
        text.insert(text.indexOf(QStringLiteral("<structuredBody>")) + 16, added);
    else
        text.insert(text.indexOf(QStringLiteral("<text>")) + 6, QStringLiteral("<paragraph>%1</paragraph>").arg(added));
    xml::Document spl;
    spl.loadXml(text);
    return spl;
}

// The label with the most of `snippet` the bound lets it hold.
xml::Document labelAtTheBound(const char* snippet)
{
    int within = 0;
    int past = 100'000;
    while (past - within > 1) {
        const int middle = (within + past) / 2;
        (previewRefusal(labelWith(snippet, middle)).isEmpty() ? within : past) = middle;
    }
    return labelWith(snippet, within);
}

void render(benchmark::State& state, const xml::Document& spl)
{
    for (auto _ : state) {
        const RenderedSPL page = RenderSPLDocument(spl);
        if (!page.ok())
            state.SkipWithError(page.problem.toUtf8().constData());
    }
    const xml::XsltResult limited = xml::XsltProcessor(PreviewStepLimit).transformDocument(
        Fixtures + QStringLiteral("/spl-stylesheet-6.2/spl.xsl"), spl);
    state.counters["stopped"] = limited.outcome == xml::XsltResult::Outcome::StepLimit ? 1.0 : 0.0;
}

void Floor(benchmark::State& state)
{
    render(state, labelWith("", 0));
}

void AtTheBound(benchmark::State& state, const char* snippet)
{
    render(state, labelAtTheBound(snippet));
}

BENCHMARK(Floor)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(AtTheBound, footnotes, "<footnote>x</footnote>")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(AtTheBound, links, "<linkHtml href=\"#x\">y</linkHtml>")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(AtTheBound, pictures, "<renderMultiMedia referencedObject=\"MM1\"/>")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(AtTheBound, sections,
                  "<component><section><code code=\"42229-5\" codeSystem=\"2.16.840.1.113883.6.1\"/><title>T</title>"
                  "<text><paragraph>p</paragraph></text></section></component>")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv, [] {
        xml::setLocalRootForTesting(xml::ResourceKind::Stylesheet, Fixtures + QStringLiteral("/spl-stylesheet-6.2"));
    });
}
