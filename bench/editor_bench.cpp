// How long the editor's full tree rebuild takes on a settings document of 20,000 elements,
// next to a plain load of the same file (the parse alone), and how long an open takes, next
// to a plain tree fill of as many items. The rebuild runs with part of the tree expanded, a
// node selected and coloured nodes, as after a user's edit. Then the same for a real listing
// of 1,000 products (440,000 elements, each carrying its definition attributes): its open,
// and one edit with the rebuild that shows it.
#include "BenchMain.h"
#include "GeneratedSettings.h"
#include "ListingSettings.h"
#include "editor/tree/TreeView.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/xml/tree/Document.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <benchmark/benchmark.h>

namespace {

using generated_settings::ElementsPerProduct;
using generated_settings::productXml;
constexpr int Products = 20000 / ElementsPerProduct;

// A settings document of about 20,000 elements, written once for all benchmarks.
const QString& settingsFile()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><SPLR4><GeneralData>"
                                      "<DocumentID>d</DocumentID><Title>Bench</Title></GeneralData><Products>");
        for (int i = 0; i < Products; ++i)
            text += productXml(i);
        text += QStringLiteral("</Products></SPLR4>");
        const QString file = dir.filePath(QStringLiteral("Bench.xml"));
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        out.write(text.toUtf8());
        return file;
    }();
    return path;
}

// The same document as the editor saves it: every element carries its id.
const QString& savedSettingsFile()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        veldra::frmXMLEditor editor;
        editor.Mode = QStringLiteral("SPLR4");
        editor.XMLOnTreeView(editor.TreeView, settingsFile(), QStringLiteral("Edit SPLR4"), false);
        const QString file = dir.filePath(QStringLiteral("Saved.xml"));
        editor.XMLDoc->save(file);
        return file;
    }();
    return path;
}

void PlainLoad(benchmark::State& state)
{
    for (auto _ : state) {
        veldra::xml::Document document;
        benchmark::DoNotOptimize(document.load(settingsFile()));
    }
}

// An editor over the document with some nodes expanded, one selected and every 50th
// product coloured.
veldra::frmXMLEditor* openedEditor()
{
    auto* editor = new veldra::frmXMLEditor;
    editor->Mode = QStringLiteral("SPLR4");
    editor->show();
    editor->XMLOnTreeView(editor->TreeView, settingsFile(), QStringLiteral("Edit SPLR4"), false);
    QTreeWidgetItem* products = editor->TreeView->rootNode()->child(1);
    products->setExpanded(true);
    for (int i = 0; i < products->childCount(); i += 50) {
        products->child(i)->setExpanded(true);
        veldra::setNodeBackColor(products->child(i), QColor(255, 255, 0));
    }
    editor->TreeView->selectNode(products->child(products->childCount() / 2));
    return editor;
}

void RefreshXML(benchmark::State& state)
{
    veldra::frmXMLEditor* editor = openedEditor();
    for (auto _ : state)
        editor->RefreshXML(true);
    state.counters["nodes"] = double(editor->TreeView->nodeCount());
    delete editor;
}

// The floor of an open: a plain tree control filled with as many items, each with a caption.
int plainTreeFill()
{
    QTreeWidget tree;
    auto* root = new QTreeWidgetItem(QStringList(QStringLiteral("SPLR4")));
    for (int p = 0; p < Products; ++p) {
        auto* product = new QTreeWidgetItem(root, QStringList(QStringLiteral("Product")));
        for (int e = 1; e < ElementsPerProduct; ++e)
            new QTreeWidgetItem(product, QStringList(QStringLiteral("Element: value %1").arg(e)));
    }
    tree.addTopLevelItem(root);
    return tree.topLevelItemCount() + Products * ElementsPerProduct;
}

double plainTreeFillSeconds(int runs)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i)
        benchmark::DoNotOptimize(plainTreeFill());
    return double(timer.nsecsElapsed()) / 1e9 / runs;
}

// The counter "x_plain_fill" is the open's time over a plain fill measured in the same run.
void measureOpen(benchmark::State& state, const QString& file)
{
    qint64 opening = 0;
    for (auto _ : state) {
        auto* editor = new veldra::frmXMLEditor;
        editor->Mode = QStringLiteral("SPLR4");
        QElapsedTimer timer;
        timer.start();
        editor->XMLOnTreeView(editor->TreeView, file, QStringLiteral("Edit SPLR4"), false);
        opening += timer.nsecsElapsed();
        state.PauseTiming();
        delete editor;
        state.ResumeTiming();
    }
    state.counters["x_plain_fill"] = double(opening) / 1e9 / double(state.iterations()) / plainTreeFillSeconds(5);
}

// A document without ids: the open gives every element a new one.
void OpenInEditor(benchmark::State& state)
{
    measureOpen(state, settingsFile());
}

// A document the editor saved: the open reads every element's id.
void OpenSavedInEditor(benchmark::State& state)
{
    measureOpen(state, savedSettingsFile());
}

// The label of the fixtures with 1,000 products, as the editor saved it.
const QString& listingFile()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("Listing.xml"));
        listing_settings::settingsWith(1000, true).save(file);
        return file;
    }();
    return path;
}

void OpenListing(benchmark::State& state)
{
    int nodes = 0;
    for (auto _ : state) {
        auto* editor = new veldra::frmXMLEditor;
        editor->Mode = QStringLiteral("SPLR4");
        editor->XMLOnTreeView(editor->TreeView, listingFile(), QStringLiteral("Edit SPLR4"), false);
        state.PauseTiming();
        nodes = editor->TreeView->nodeCount();
        delete editor;
        state.ResumeTiming();
    }
    state.counters["nodes"] = nodes;
}

// The name of the 500th product changed, and the rebuild with that product expanded and
// selected, as the editor's value entry does it.
void RefreshListingAfterEdit(benchmark::State& state)
{
    auto* editor = new veldra::frmXMLEditor;
    editor->Mode = QStringLiteral("SPLR4");
    editor->show();
    editor->XMLOnTreeView(editor->TreeView, listingFile(), QStringLiteral("Edit SPLR4"), false);
    const veldra::xml::Node name = editor->XMLDoc->selectSingleNode(QStringLiteral("/SPLR4/Products/Product[499]/ProprietaryName"));
    QTreeWidgetItem* product = editor->TreeView->nodeByKey(name.parentNode().getAttribute(QStringLiteral("Word2SPLID")));
    product->parent()->setExpanded(true);
    product->setExpanded(true);
    editor->TreeView->selectNode(product);
    int edits = 0;
    for (auto _ : state) {
        name.setText(QStringLiteral("Edited %1").arg(++edits));
        editor->RefreshXML(true);
    }
    state.counters["nodes"] = double(editor->TreeView->nodeCount());
    delete editor;
}

void PlainTreeFill(benchmark::State& state)
{
    int items = 0;
    for (auto _ : state)
        items = plainTreeFill();
    state.counters["items"] = items;
}

BENCHMARK(PlainLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainTreeFill)->Unit(benchmark::kMillisecond);
BENCHMARK(RefreshXML)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenInEditor)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenSavedInEditor)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenListing)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RefreshListingAfterEdit)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    // The program folder of the build: the tree's pictures and the listing's definition.
    return runQtBenchmarks(argc, argv, listing_settings::useProgramFolderBesideBenchmarks);
}
