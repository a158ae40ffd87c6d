// Opening files through the roads the menus and drops take: what a settings document holds
// is shown one node per element, and a file that does not open leaves nothing behind.

#include "TreeViewFixture.h"

#include "app/Hooks.h"
#include "app/log/Log.h"
#include "app/log/frmLog.h"
#include "app/window/FormLaunchers.h"
#include "app/window/WindowHelpers.h"
#include "app/window/frmMain.h"
#include "editor/tree/TreePaths.h"
#include "editor/window/InstallEditorHooks.h"
#include "platform/xml/tree/Document.h"
#include "support/Fixtures.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTextEdit>
#include <QUrl>
#include <functional>

namespace veldra::test {
namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class OpenSettingsTest : public TreeViewFixture {
protected:
    OpenSettingsTest() : saved_(hooks())
    {
        installEditorHooks();
        NoLogging = false;
    }
    ~OpenSettingsTest() override
    {
        hooks() = saved_;
        if (frmLog* log = logWindow())
            log->close();
        settle();
    }

    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    frmXMLEditor* openFromMenu(const QString& path)
    {
        ui.openFiles.push_back(path);
        main.mnuOpenSPLR4_Click();
        settle();
        return qobject_cast<frmXMLEditor*>(main.SourceXMLEditor.data());
    }

    void dropOnMainWindow(const QString& path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        OpenDroppedXMLFiles(&data);
        settle();
    }

    void reviewFromMenu(const QString& path)
    {
        ui.openFiles.push_back(path);
        LoadXMLFileForReview();
        settle();
    }

    static QStringList logText()
    {
        return logWindow() ? logWindow()->txtLog->toPlainText().split(QLatin1Char('\n')) : QStringList();
    }

    frmMain main;

private:
    Hooks saved_;
};

// Every node below the root names exactly one element, and the value it shows is that one's.
void expectEveryNodeNamesOneElement(const frmXMLEditor& editor)
{
    editor.TreeView->forEachNode([&](QTreeWidgetItem* node) {
        if (!node->parent())
            return;
        const xml::NodeList named = editor.XMLDoc->selectNodes(BuildXPathFromTreeView(node, SettingsMode));
        ASSERT_EQ(named.length(), 1) << nodeCaption(node).toStdString();
        const QString value = GetValueFromCaption(node);
        if (!value.isEmpty()) {
            EXPECT_EQ(named.item(0).text(), value);
        }
    });
}

QString product(const QString& id, const QString& nameId, const QString& name)
{
    return QStringLiteral("<Product Word2SPLID=\"%1\"><ProprietaryName Word2SPLID=\"%2\">%3</ProprietaryName>"
                          "<ProductCode Word2SPLID=\"%1-code\">123</ProductCode></Product>")
        .arg(id, nameId, name);
}

// A block copied in a text editor, or an id that the tree's path reads as another, would
// merge nodes and send every command to the wrong element: the later holder gets a new id,
// the log says how many, and the document is changed. Remove then takes what it names.
TEST_F(OpenSettingsTest, IdsRepeatedOrHoldingAnUnderscoreAreRenewedSoThatEveryNodeNamesOneElement)
{
    struct Row {
        const char* name;
        QString products;
        int renewed;  // -1: none, and no log line
        QString removed;
        QStringList namesLeft;
    };
    const QList<Row> rows = {
        {"a Product pasted after itself", product("p", "n", "Cough Relief") + product("p", "n", "Cough Relief Night"), 3,
         "Proprietary Name: Cough Relief Night", {"Cough Relief"}},
        {"the pasted copy's first holder stays first", product("p", "n", "Cough Relief") + product("p", "n", "Cough Relief Night"),
         3, "Proprietary Name: Cough Relief", {"Cough Relief Night"}},
        {"ids holding _ beside the ids after them", product("x_v", "n1", "First") + product("v", "n2", "Second"), 2,
         "Proprietary Name: First", {"Second"}},
        {"a child repeating its parent's id", product("a", "a", "Only"), 1, "Proprietary Name: Only", {}},
        {"ids distinct", product("p1", "n1", "First") + product("p2", "n2", "Second"), -1, "Proprietary Name: Second",
         {"First"}},
        {"no ids at all", QStringLiteral("<Product><ProprietaryName>First</ProprietaryName></Product>"
                                         "<Product><ProprietaryName>Second</ProprietaryName></Product>"),
         -1, "Proprietary Name: First", {"Second"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (frmLog* log = logWindow())
            log->txtLog->clear();
        const QString path = writeFile("Copied.xml", "<SPLR4><Products>" + row.products + "</Products></SPLR4>");
        frmXMLEditor* editor = openFromMenu(path);
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(editor->XMLDoc);

        const QStringList renewedLines = logText().filter("element id(s) (Word2SPLID) were repeated");
        if (row.renewed < 0) {
            EXPECT_TRUE(renewedLines.isEmpty());
        } else {
            ASSERT_EQ(renewedLines.size(), 1);
            EXPECT_TRUE(renewedLines[0].contains(QStringLiteral("Copied.xml: %1 element id(s)").arg(row.renewed)));
        }
        EXPECT_EQ(editor->Saved, row.renewed < 0);
        expectEveryNodeNamesOneElement(*editor);

        select(editor, row.removed);
        editor->DeleteNode();
        EXPECT_EQ(texts(editor, "//ProprietaryName"), row.namesLeft);
        EXPECT_EQ(texts(editor, "//ProductCode").size(), row.products.count(QStringLiteral("<ProductCode")));
        expectEveryNodeNamesOneElement(*editor);
        editor->Saved = true;
        editor->close();
        settle();
    }
}

// Elements a command brings in keep the same rule: an SPL file added below an SPL file
// element may carry ids (an SPL once saved by the editor does) that repeat each other's or
// the document's own; the first holder keeps its id and the tree still names one element per node.
TEST_F(OpenSettingsTest, ElementsAddedFromAnSPLFileWithIdsTheDocumentHoldsGetNewOnes)
{
    const QStringList splFiles = {
        R"(<document><section Word2SPLID="x"><title Word2SPLID="t">One</title></section>
           <section Word2SPLID="x"><title Word2SPLID="t">Two</title></section></document>)",
        R"(<document><section Word2SPLID="s"><title Word2SPLID="a">One</title></section></document>)",
        R"(<document><section Word2SPLID="x_s"><title>One</title></section><section Word2SPLID="s"/></document>)",
    };
    for (const QString& spl : splFiles) {
        SCOPED_TRACE(spl.toStdString());
        frmXMLEditor* editor = openSettings(R"(<SPLR4><Section Word2SPLID="s"><Attachment Word2SPLID="a"
            ConstraintDataType="SPLFile" ConstraintXPath="//section"/></Section></SPLR4>)");
        ui.openFiles.push_back(writeFile("Added.xml", spl));
        select(editor, "Attachment");

        editor->AddNode();

        EXPECT_EQ(texts(editor, "//Attachment/section").size(), spl.count(QStringLiteral("<section")));
        EXPECT_EQ(nodeKey(node(editor, "Section")), "s");
        EXPECT_EQ(nodeKey(node(editor, "Attachment")), "a");
        EXPECT_FALSE(editor->Saved);
        expectEveryNodeNamesOneElement(*editor);
    }
}

// A file that does not open as a settings document says what it is and how to look at it,
// stays as it is, and its window goes: the editor current before stays current, so that Save
// acts on it. A review window still opens any XML. A message quotes at most one short line.
TEST_F(OpenSettingsTest, AFileThatDoesNotOpenLeavesItUntouchedAndThePreviousEditorCurrent)
{
    const QString good = writeFile("Good.xml", sampleSettings());
    const QString spl = writeFile("cough.xml", readTextFile(fixture("spl-documents/openfda-cough-otc/cough.xml")));
    QString oneLine = sampleSettings();
    oneLine.replace('\n', ' ');
    oneLine.replace("Aspirin Forte", QString(20000, 'x'));
    const QString truncated = writeFile("Truncated.xml", oneLine.left(oneLine.size() / 2));

    frmXMLEditor* current = openFromMenu(good);
    ASSERT_NE(current, nullptr);
    using Road = std::function<void(const QString&)>;
    const Road menu = [&](const QString& path) { openFromMenu(path); };
    const Road drop = [&](const QString& path) { dropOnMainWindow(path); };
    const Road review = [&](const QString& path) { reviewFromMenu(path); };
    struct Row {
        const char* name;
        Road road;
        QString path;
        QStringList said;  // empty: opens without a word
    };
    const QStringList notSettings = {"cough.xml is not a settings document: its document element is <document>, not "
                                     "<SPLR4>. It was not opened and is left unchanged.",
                                     "File > Review SPL File (XML)...", "Preview SPL File in Browser"};
    const QStringList cutShort = {"Truncated.xml: ", "(line 1)"};
    const QList<Row> rows = {
        {"SPL file, SPL Document > Open", menu, spl, notSettings},
        {"SPL file, dropped", drop, spl, notSettings},
        {"SPL file, reviewed", review, spl, {}},
        {"settings cut short, SPL Document > Open", menu, truncated, cutShort},
        {"settings cut short, dropped", drop, truncated, cutShort},
        {"settings cut short, reviewed", review, truncated, cutShort},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ui.messages.clear();
        const QByteArray before = bytesOf(row.path);
        const qsizetype windows = main.mdiArea()->subWindowList().size();

        row.road(row.path);

        EXPECT_EQ(bytesOf(row.path), before);
        if (row.said.isEmpty()) {
            EXPECT_TRUE(ui.messages.isEmpty());
            EXPECT_EQ(main.mdiArea()->subWindowList().size(), windows + 1);
            EXPECT_NE(main.SourceXMLEditor.data(), current);
            main.SourceXMLEditor->close();
            settle();
            main.SourceXMLEditor = current;
            continue;
        }
        ASSERT_EQ(ui.messages.size(), 1);
        for (const QString& part : row.said)
            EXPECT_TRUE(ui.messages[0].text.contains(part)) << ui.messages[0].text.toStdString();
        EXPECT_LT(ui.messages[0].text.size(), 400);
        EXPECT_EQ(main.mdiArea()->subWindowList().size(), windows);
        EXPECT_EQ(main.SourceXMLEditor.data(), current);
    }
}

// With two editors open, a failed open brings back the one current before it, in front and
// current alike, whichever of the two it was and whichever road the file came by: the window
// the user sees is the one that Save (the window in front) and Open Folder (the current
// editor) act on.
TEST_F(OpenSettingsTest, AFailedOpenBringsTheEditorCurrentBeforeItBackToTheFront)
{
    main.show();
    QApplication::setActiveWindow(&main);
    for (const char* folder : {"first", "second"})
        ASSERT_TRUE(QDir(dir.path()).mkpath(folder));
    frmXMLEditor* first = openFromMenu(writeFile("first/A.xml", sampleSettings()));
    frmXMLEditor* second = openFromMenu(writeFile("second/B.xml", sampleSettings()));
    ASSERT_TRUE(first && second && first != second);
    const QString truncated = writeFile("Truncated.xml", sampleSettings().left(sampleSettings().size() / 2));
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(truncated)});
    frmLog& log = openLogWindow();

    using Road = std::function<void(frmXMLEditor* current)>;
    struct Row {
        const char* name;
        bool firstCurrent;
        bool logInFront;
        Road road;
    };
    const QList<Row> rows = {
        {"SPL Document > Open, the second current", false, false, [&](frmXMLEditor*) { openFromMenu(truncated); }},
        {"SPL Document > Open, the first current", true, false, [&](frmXMLEditor*) { openFromMenu(truncated); }},
        {"dropped on the main window", true, false, [&](frmXMLEditor*) { main.MDIForm_OLEDragDrop(&dropped); }},
        {"dropped on the log window in front", false, true, [&](frmXMLEditor*) { log.txtLog_OLEDragDrop(&dropped); }},
        {"dropped on the editor behind", true, false,
         [&](frmXMLEditor* current) {
             (current == first ? second : first)->TreeView_OLEDragDrop(dropped, nullptr, nullptr);
         }},
        {"reviewed", false, false, [&](frmXMLEditor*) { reviewFromMenu(truncated); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        frmXMLEditor* current = row.firstCurrent ? first : second;
        main.showChildWindow(current);
        if (row.logInFront)
            main.showChildWindow(&log);
        ui.messages.clear();
        ui.opened.clear();

        row.road(current);
        settle();

        EXPECT_EQ(ui.messages.size(), 1);
        ASSERT_NE(main.mdiArea()->activeSubWindow(), nullptr);
        EXPECT_EQ(main.mdiArea()->activeSubWindow()->widget(), current);
        EXPECT_EQ(main.SourceXMLEditor.data(), current);
        main.mnuSPLOpenFolder_Click();
        EXPECT_EQ(ui.opened, QStringList(QFileInfo(current->XMLFileName).absolutePath() + QLatin1Char('/')));
    }
}

} // namespace
} // namespace veldra::test
