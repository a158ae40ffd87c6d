#include "BenchMain.h"
// How long the preview takes to render a page through the stylesheet program, for labels as
// large as real labels grow: the lipitor label of the fixtures with its own body sections
// repeated, each copy with fresh IDs and its links and references pointed at them (three
// copies make a file of 1 MB, nine one of 2.7 MB), next to the label alone as the floor, and
// a label of 300,000 comments. Each must end with a page well within the preview's cap (see
// PreviewTransform.h): "refused" is 1 when it does not.
#include "generation/preview/PreviewTransform.h"
#include "generation/preview/SPLRendering.h"
#include "platform/xml/resources/ResourceResolver.h"
#include "platform/xml/tree/Document.h"

#include <QFile>
#include <QRegularExpression>

using namespace veldra;

namespace {

const QString Fixtures = QStringLiteral(VELDRA_FIXTURES_DIR);

QString fixtureText(const QString& relative)
{
    QFile file(Fixtures + relative);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

// The body sections with every ID and every reference to one given the suffix.
QString renamedCopy(const QString& body, int copy)
{
    static const QRegularExpression references(QStringLiteral("((?:ID|IDREF|referencedObject)=\"|href=\"#)([^\"]+)\""));
    QString renamed = body;
    return renamed.replace(references, QStringLiteral("\\1\\2_copy%1\"").arg(copy));
}

xml::Document lipitorWithSectionsTimes(int copies)
{
    QString text = fixtureText(QStringLiteral("/spl-documents/openfda-lipitor-rx/lipitor-orig.xml"));
    const qsizetype start = text.indexOf(QStringLiteral("<structuredBody>")) + 16;
    const QString body = text.mid(start, text.indexOf(QStringLiteral("</structuredBody>")) - start);
    QString added;
    for (int copy = 1; copy < copies; ++copy)
        added += renamedCopy(body, copy);
    text.insert(start, added);
    xml::Document spl;
    spl.loadXml(text);
    return spl;
}

xml::Document coughWithComments(int comments)
{
    QString text = fixtureText(QStringLiteral("/spl-documents/openfda-cough-otc/cough.xml"));
    text.insert(text.indexOf(QStringLiteral("<text>")) + 6,
                QStringLiteral("<paragraph>%1</paragraph>").arg(QStringLiteral("<!---->").repeated(comments)));
    xml::Document spl;
    spl.loadXml(text);
    return spl;
}

void render(benchmark::State& state, const xml::Document& spl)
{
    bool refused = false;
    for (auto _ : state)
        refused = !RenderSPLDocument(spl).ok();
    state.counters["refused"] = refused ? 1.0 : 0.0;
    state.counters["MB"] = double(spl.xmlBytes().size()) / 1e6;
}

void LipitorSections(benchmark::State& state)
{
    render(state, lipitorWithSectionsTimes(int(state.range(0))));
}

void CommentsInOneParagraph(benchmark::State& state)
{
    render(state, coughWithComments(int(state.range(0))));
}

BENCHMARK(LipitorSections)->Arg(1)->Arg(3)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(CommentsInOneParagraph)->Arg(300'000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv, [] {
        xml::setLocalRootForTesting(xml::ResourceKind::Stylesheet, Fixtures + QStringLiteral("/spl-stylesheet-6.2"));
        setPreviewTransformForTesting(QStringLiteral(VELDRA_PROGRAM_DIR "/veldra-xslt"), PreviewCap);
    });
}
