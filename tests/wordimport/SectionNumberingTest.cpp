// Add Section Numbering to Product Label, as the user starts it from the menu.
#include "WordImportTestSupport.h"

#include "app/MainWindowTestSupport.h"
#include "app/window/frmMain.h"
#include "editor/window/InstallEditorHooks.h"
#include "editor/window/frmXMLEditor.h"
#include "wordimport/InstallWordImportHooks.h"

#include <QAction>
#include <QRegularExpression>

using namespace veldra;
using namespace veldra::test;

namespace {

// Sections at three levels; the third keeps its title.
const QString labelSections = QStringLiteral(
    "<SPLR4><ProductLabel><DocumentSections>"
    "<Section><SectionTitle>Uses</SectionTitle>"
    "<component><section><title>Adults</title>"
    "<component><section><title>Over 65</title></section></component></section></component>"
    "<component><section><title>Children</title></section></component></Section>"
    "<Section><SectionTitle>Warnings</SectionTitle></Section>"
    "</DocumentSections></ProductLabel></SPLR4>");

} // namespace

class SectionNumberingTest : public WordImportTest {};

// The log lists every title exactly as the numbering writes it (a subsection's indented),
// whatever the separator, and names no title it leaves alone.
TEST_F(SectionNumberingTest, TheLogListsEveryTitleAsItIsWritten)
{
    const HookTableScope hookTable;
    installEditorHooks();
    installWordImportHooks();
    frmMain main;
    const QString settingsFile = dir.file("settings.xml");
    xml::Document settings;
    ASSERT_TRUE(settings.loadXml(labelSections));
    settings.save(settingsFile);

    struct Row {
        QString separator;
        QStringList written;  // top, second and third level, in document order
    };
    const Row rows[] = {
        {".", {"1. Uses", "1.1 Adults", "Over 65", "1.2 Children", "2. Warnings"}},
        {"", {"1 Uses", "1.1 Adults", "Over 65", "1.2 Children", "2 Warnings"}},
        {")", {"1) Uses", "1.1 Adults", "Over 65", "1.2 Children", "2) Warnings"}},
        {" -", {"1 - Uses", "1.1 Adults", "Over 65", "1.2 Children", "2 - Warnings"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.separator.toStdString());
        closeLog();
        QPointer<frmXMLEditor> window = ShowNewXMLEditor();
        window->Mode = QStringLiteral("SPLR4");
        window->XMLOnTreeView(window->TreeView, settingsFile, QStringLiteral("Edit SPLR4"), false);
        ASSERT_EQ(main.SourceXMLEditor.data(), window.data());
        ui.inputs.push_back(row.separator);
        ui.answers.push_back(ui::Answer::Yes);

        main.mnuSPLR4ProductLabelAddSectionNumbers->trigger();

        QStringList written;
        for (const xml::Node& title : window->XMLDoc->selectNodes("//SectionTitle | //title"))
            written << title.text();
        ASSERT_EQ(written, row.written);
        const QString indent(5, ' ');
        const QStringList logged{line("Processing", written[0]), line("Processing", indent + written[1]),
                                 line("Processing", indent + written[3]), line("Processing", written[4])};
        EXPECT_EQ(logLines().filter(QRegularExpression("^Processing")), logged);
        ui.answers.push_back(ui::Answer::No);  // the numbered titles are not to be saved
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
