// The import of a Word label into the label sections of a settings document.
#include "WordImportTestSupport.h"

#include "app/EditorCommandRunning.h"
#include "app/MainWindowTestSupport.h"
#include "app/window/frmMain.h"
#include "editor/window/InstallEditorHooks.h"
#include "editor/window/frmXMLEditor.h"
#include "splbuilder/InstallSplBuilderHooks.h"
#include "wordimport/InstallWordImportHooks.h"
#include "support/DocxFixture.h"
#include "support/EditorTree.h"
#include "support/WordMarkup.h"
#include "wordimport/MarkupSize.h"
#include "wordimport/ProductLabelImport.h"
#include "wordimport/SectionNumbering.h"

#include <QAction>

using namespace veldra;
using namespace veldra::test;

namespace {

QByteArray label()
{
    DocxParts parts;
    parts.styles = labelStyles();
    // The title's lines are parted by a manual line break, and a hyphen holds its words together.
    const QString title = "<w:p><w:r><w:t>VELDRASTATIN (HMG</w:t><w:noBreakHyphen/><w:t>CoA) tablets</w:t><w:br/>"
                          "<w:t>Initial U.S. Approval: 2024</w:t></w:r></w:p>";
    return docxFrom(styled("Title", "HIGHLIGHTS OF PRESCRIBING INFORMATION") + title
                        + styled("Heading1", "INDICATIONS AND USAGE") + styled("", "Lowers cholesterol.")
                        + styled("Heading2", "Adults") + styled("", "Adult text.") + styled("Heading2", "Children")
                        + styled("", "Child text.") + styled("Heading2", "Elderly") + styled("", "Elderly text.")
                        + styled("Heading1", "RECENT MAJOR CHANGES") + styled("", "None."),
                    parts);
}

QString settingsXml(const QString& file, const QString& folder, const QString& extra = QString())
{
    return "<SPLR4><GeneralData><Title>old title</Title></GeneralData><ProductLabel><WordDocument>"
           "<File>" + file + "</File><SectionStyle>Heading 1</SectionStyle><SubSectionStyle>Heading 2</SubSectionStyle>"
           "<ExcerptStyle>Title</ExcerptStyle><ImageTargetFolder>" + folder + "</ImageTargetFolder>"
           "<CheckCharacters/><ProcessCrossReferences>No</ProcessCrossReferences>"
           "<IgnoreWordTableCellBorders>No</IgnoreWordTableCellBorders><ExtractImages>no</ExtractImages>"
           "<LoadDocumentTitle>yes</LoadDocumentTitle><EffectiveTime>20240131</EffectiveTime>" + extra +
           "</WordDocument><DocumentSections><Section><SectionTitle>OLD</SectionTitle></Section></DocumentSections>"
           "</ProductLabel></SPLR4>";
}

QStringList titles(const xml::Document& settings)
{
    QStringList all;
    for (const xml::Node& title : settings.selectNodes("SPLR4/ProductLabel/DocumentSections/Section/SectionTitle"))
        all << title.text();
    return all;
}

} // namespace

class ProductLabelImportTest : public WordImportTest {
protected:
    xml::Document settingsFor(const QString& file, const QString& extra = "<SectionNumberingFromWord>No</SectionNumberingFromWord>")
    {
        xml::Document settings;
        EXPECT_TRUE(settings.loadXml(settingsXml(file, dir.path(), extra)));
        return settings;
    }
    QStringList messages() const
    {
        QStringList texts;
        for (const ui::MessageRequest& m : ui.messages)
            texts << m.text;
        return texts;
    }
    FakeEditor editor;
};

TEST_F(ProductLabelImportTest, SectionsReplaceTheOldOnesWithTheirContentKeysAndComponents)
{
    xml::Document settings = settingsFor(save(label()));
    // The preview's build has its own say, which the import's closing message does not count.
    editor.onPreview = [] { WriteLog(log_category::Warning, QStringLiteral("A warning of the preview's build")); };
    ImportProductLabelFromWord(&editor, settings);

    EXPECT_EQ(titles(settings), QStringList({"", "INDICATIONS AND USAGE"})) << logLines().join('\n').toStdString();
    const xml::Node indications = settings.selectSingleNode("SPLR4/ProductLabel/DocumentSections/Section[1]");
    EXPECT_EQ(indications.selectSingleNode("ReferenceID").text(), "INDICATIONS-AND-USAGE");
    EXPECT_EQ(indications.selectSingleNode("SectionCode").text(), "34067-9");
    EXPECT_EQ(indications.selectSingleNode("EffectiveTime").text(), "20240131");
    EXPECT_EQ(indications.selectSingleNode("LabelText/text/paragraph").text().trimmed(), "Lowers cholesterol.");
    QStringList subsections;
    for (const xml::Node& title : indications.selectNodes("component/section/title"))
        subsections << title.text();
    EXPECT_EQ(subsections, QStringList({"Adults", "Children", "Elderly"}));
    EXPECT_EQ(settings.selectSingleNode("SPLR4/GeneralData/Title").text().trimmed(),
              "VELDRASTATIN (HMG-CoA) tablets\nInitial U.S. Approval: 2024");

    // Recent major changes leads, untitled.
    EXPECT_EQ(settings.selectSingleNode("SPLR4/ProductLabel/DocumentSections/Section[0]/SectionCode").text(), "43683-2");
    EXPECT_EQ(editor.calls, QStringList({"setSaved(0)", "RefreshXML(1)", "PreviewSPLQuick"}));
    EXPECT_EQ(messages(), QStringList({"Are you sure you want to import Product Label from Word Document and replace existing data?",
                                       "The operation has been completed, but the import found 5 warnings and 1 error. Please "
                                       "check the Log for more information."}));

    // Numbered by position afterwards.
    ProductLabelAddSectionNumbers(settings, ".");
    EXPECT_EQ(titles(settings), QStringList({"1. ", "2. INDICATIONS AND USAGE"}));
    QStringList numbered;
    for (const xml::Node& title : indications.selectNodes("component/section/title"))
        numbered << title.text();
    EXPECT_EQ(numbered, QStringList({"2.1 Adults", "2.2 Children", "2.3 Elderly"}));
}

TEST_F(ProductLabelImportTest, FailuresLeaveTheSectionsAsTheyWere)
{
    struct Case {
        const char* name;
        QString file;
        QString extra;
        QString errorPart;
        int fatalErrors = 1;
    };
    DocxParts plain;
    plain.styles = labelStyles();
    const std::vector<Case> cases{
        {"a label that cannot be read", dir.file("missing.docx"), "<SectionNumberingFromWord>No</SectionNumberingFromWord>",
         "was not converted"},
        {"a legacy binary document", save(QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(600, '\0'), "old.doc"),
         "<SectionNumberingFromWord>No</SectionNumberingFromWord>", "was not converted"},
        // Nothing in the section style: the old sections stay, even with numbering asked for.
        {"a label without a section heading",
         save(docxFrom(styled("", "Just text.") + styled("Heading2", "A subsection alone"), plain), "plain.docx"),
         "<SectionNumberingFromWord>Yes</SectionNumberingFromWord>", "No label section was found", 0},
    };
    for (const Case& c : cases) {
        closeLog();
        ui.messages.clear();
        editor.calls.clear();
        xml::Document settings = settingsFor(c.file, c.extra);
        ImportProductLabelFromWord(&editor, settings);
        EXPECT_EQ(titles(settings), QStringList({"OLD"})) << c.name;
        EXPECT_EQ(linesOf(logLines(), "Fatal Error").size(), c.fatalErrors) << c.name << logLines().join('\n').toStdString();
        EXPECT_EQ(linesOf(logLines(), "Error").filter(c.errorPart).size(), 1) << c.name;
        EXPECT_TRUE(editor.calls.isEmpty()) << c.name;
        EXPECT_EQ(messages().size(), 1) << c.name << ": only the question";
    }
    // With logging off the log cannot say it: a box does.
    NoLogging = true;
    for (const Case& c : cases) {
        ui.messages.clear();
        xml::Document settings = settingsFor(c.file, c.extra);
        ImportProductLabelFromWord(&editor, settings);
        EXPECT_EQ(titles(settings), QStringList({"OLD"})) << c.name;
        ASSERT_EQ(messages().size(), 2) << c.name;
        EXPECT_TRUE(messages().last().startsWith("The Product Label was not imported. The import found ")) << c.name;
        EXPECT_TRUE(messages().last().endsWith("switch on Show Log and run it again for the details.")) << c.name;
        EXPECT_EQ(ui.messages.last().icon, ui::Icon::Critical) << c.name;
    }
    NoLogging = false;

    // A required option missing ends the import before anything is read or changed.
    closeLog();
    xml::Document settings = settingsFor(save(label()));
    settings.selectSingleNode("SPLR4/ProductLabel/WordDocument").removeChild(settings.selectSingleNode("//WordDocument/File"));
    ImportProductLabelFromWord(&editor, settings);
    EXPECT_EQ(titles(settings), QStringList({"OLD"}));
    EXPECT_EQ(linesOf(logLines(), "Error").size(), 1);

    // Declining changes nothing and writes nothing.
    closeLog();
    ui.answers.push_back(ui::Answer::No);
    ImportProductLabelFromWord(&editor, settings);
    EXPECT_TRUE(logLines().isEmpty());
    EXPECT_EQ(titles(settings), QStringList({"OLD"}));
}

// Settings the import cannot start without are named, with their place in the tree, before
// the user is asked anything; nothing is logged or changed.
TEST_F(ProductLabelImportTest, AnEmptyDocumentOrPictureFolderSettingIsNamedBeforeTheQuestion)
{
    const struct {
        const char* element;
        const char* caption;
    } cases[] = {{"File", "File"}, {"ImageTargetFolder", "Image Target Folder"}};
    for (const auto& c : cases) {
        closeLog();
        ui.messages.clear();
        xml::Document settings = settingsFor(save(label()));
        settings.selectSingleNode(QStringLiteral("//WordDocument/") + c.element).setText(QStringLiteral("  "));

        ImportProductLabelFromWord(&editor, settings);

        ASSERT_EQ(ui.messages.size(), 1) << c.element;
        EXPECT_EQ(ui.messages.at(0).text,
                  QStringLiteral("The Word import needs the setting '%1'. Please fill it in the tree under "
                                 "'Product Label' > 'Word Document' > '%1' and start the import again.")
                      .arg(c.caption));
        EXPECT_EQ(ui.messages.at(0).icon, ui::Icon::Warning);
        EXPECT_TRUE(logLines().isEmpty()) << c.element;
        EXPECT_EQ(titles(settings), QStringList({"OLD"}));
        EXPECT_TRUE(editor.calls.isEmpty());
    }
}

// A program folder without its definition file: the error stands alone in a cleared log.
TEST_F(ProductLabelImportTest, AMissingDefinitionFileIsReportedInACleanLog)
{
    WriteLog(QStringLiteral("Information"), QStringLiteral("a line of the previous job"));
    ASSERT_TRUE(QFile::remove(program.file(QStringLiteral("SPLR4Definitions/DefinitionSPLR4.xml"))));
    xml::Document settings = settingsFor(save(label()));

    ImportProductLabelFromWord(&editor, settings);

    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 1) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.at(0).startsWith(QStringLiteral("Error "))) << lines.at(0).toStdString();
    EXPECT_EQ(titles(settings), QStringList({"OLD"}));
}

TEST_F(ProductLabelImportTest, SectionsOfOneCodeKeepTheirOwnTextAndUnknownSectionsAreKept)
{
    word::DocxWriter w;
    w.addParagraph("Heading 1", "INDICATIONS AND USAGE");
    w.addParagraph("", "Prescription use.");
    w.addParagraph("Heading 1", "Patient's Guide");
    w.addParagraph("Heading 2", "Before use");
    w.addParagraph("", "Kept with its section.");
    w.addParagraph("Heading 1", "Uses");
    w.addParagraph("", "Over the counter use.");
    xml::Document settings = settingsFor(save(w));
    ImportProductLabelFromWord(&editor, settings);

    EXPECT_EQ(titles(settings), QStringList({"INDICATIONS AND USAGE", "Patient's Guide", "Uses"}));
    QStringList texts;
    for (const xml::Node& text : settings.selectNodes("//Section/LabelText"))
        texts << text.text().trimmed();
    EXPECT_EQ(texts, QStringList({"Prescription use.", "", "Over the counter use."}));
    const xml::Node guide = settings.selectSingleNode("SPLR4/ProductLabel/DocumentSections/Section[1]");
    EXPECT_EQ(guide.selectSingleNode("SectionCode").text(), "42229-5");
    EXPECT_EQ(guide.selectSingleNode("component/section/text").text().trimmed(), "Kept with its section.");
    EXPECT_TRUE(linesOf(logLines(), "Error").isEmpty()) << logLines().join('\n').toStdString();
    EXPECT_EQ(linesOf(logLines(), "Warning").filter("Document Section >Patient's Guide<").size(), 1);
}

TEST_F(ProductLabelImportTest, NumberingFromWordTakesTheNumbersTheDocumentShows)
{
    DocxParts parts;
    parts.styles = labelStyles();
    parts.numbering = "<w:abstractNum w:abstractNumId=\"0\"><w:multiLevelType w:val=\"multilevel\"/>"
                      "<w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/><w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%1\"/></w:lvl>"
                      "<w:lvl w:ilvl=\"1\"><w:start w:val=\"1\"/><w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%1.%2\"/></w:lvl>"
                      "</w:abstractNum><w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>";
    const auto heading = [](int level, const QString& text) {
        return QStringLiteral("<w:p><w:pPr><w:pStyle w:val=\"Heading%1\"/><w:numPr><w:ilvl w:val=\"%2\"/><w:numId w:val=\"1\"/>"
                              "</w:numPr></w:pPr><w:r><w:t>%3</w:t></w:r></w:p>")
            .arg(level).arg(level - 1).arg(text);
    };
    const QString file = save(docxFrom(heading(1, "INDICATIONS AND USAGE") + para("Text.") + heading(2, "Adults")
                                           + para("Adult text.") + heading(1, "CONTRAINDICATIONS") + para("None."),
                                       parts));
    xml::Document settings = settingsFor(file, "<SectionNumberingFromWord>Yes</SectionNumberingFromWord>");
    ImportProductLabelFromWord(&editor, settings);

    EXPECT_EQ(titles(settings), QStringList({"1 INDICATIONS AND USAGE", "2 CONTRAINDICATIONS"}));
    EXPECT_EQ(settings.selectSingleNode("//Section/component/section/title").text(), "1.1 Adults");
    // The keys were made from the titles as imported, so links to them hold.
    EXPECT_EQ(settings.selectSingleNode("//Section/ReferenceID").text(), "INDICATIONS-AND-USAGE");
}

TEST_F(ProductLabelImportTest, OptionsAreReadAsWrittenWithTheirOwnRulesOfCase)
{
    DocxParts parts;
    parts.styles = labelStyles();
    parts.relationships = relationship("rIdImg", "image", "media/red.png");
    parts.parts.insert("word/media/red.png", pngBytes(4, 2, 0xff0000));
    const QString picture =
        "<w:p><w:r><w:drawing><wp:inline><wp:extent cx=\"38100\" cy=\"19050\"/><wp:docPr id=\"1\" name=\"p\"/><a:graphic>"
        "<a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic><pic:blipFill>"
        "<a:blip r:embed=\"rIdImg\"/></pic:blipFill></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r></w:p>";
    const QString file = save(docxFrom(styled("Heading1", "INDICATIONS AND USAGE") + styled("Heading2", "Adults")
                                           + "<w:p><w:hyperlink w:anchor=\"Adults\"><w:r><w:t>see adults</w:t></w:r></w:hyperlink></w:p>"
                                           + picture,
                                       parts));
    struct Case {
        const char* name;
        QString options;
        bool linked;
        bool extracted;
    };
    const std::vector<Case> cases{
        {"exact Yes links, any other case of no skips pictures", "<ProcessCrossReferences>Yes</ProcessCrossReferences><ExtractImages>NO</ExtractImages>", true, false},
        {"yes in lower case does not link", "<ProcessCrossReferences>yes</ProcessCrossReferences><ExtractImages>No</ExtractImages>", false, false},
        {"without the option pictures are extracted", "<ProcessCrossReferences>Yes</ProcessCrossReferences>", true, true},
    };
    for (const Case& c : cases) {
        QFile::remove(dir.file("img0001.jpg"));
        QString xml = settingsXml(file, dir.path(), "<SectionNumberingFromWord>No</SectionNumberingFromWord>");
        xml.replace("<ProcessCrossReferences>No</ProcessCrossReferences>", "").replace("<ExtractImages>no</ExtractImages>", "");
        xml.replace("</WordDocument>", c.options + "</WordDocument>");
        xml::Document settings;
        ASSERT_TRUE(settings.loadXml(xml));
        ImportProductLabelFromWord(&editor, settings);
        EXPECT_EQ(settings.selectNodes("//linkHtml[@href='#ADULTS']").length(), c.linked ? 1 : 0) << c.name;
        EXPECT_EQ(QFile::exists(dir.file("img0001.jpg")), c.extracted) << c.name;
    }
}

// The import as the user starts it from the menu, on a real editor window: while it waits
// in a LOINC prompt, the window refuses to close, and the import or any other command on
// the document refuses to start again; once it has ended, the window closes as usual.
TEST_F(ProductLabelImportTest, WhileTheImportWaitsInALoincPromptItsEditorNeitherClosesNorStartsASecondCommand)
{
    picker.stop();
    const HookTableScope hookTable;
    installEditorHooks();
    installSplBuilderHooks();
    installWordImportHooks();
    frmMain main;
    DocxParts parts;
    parts.styles = labelStyles();
    const QString docx = save(docxFrom(styled("Heading1", "INDICATIONS AND USAGE") + styled("", "Lowers cholesterol.")
                                           + styled("Heading2", "Zorblax Quandary") + styled("", "Unknown to LOINC."),
                                       parts));
    const QString settingsFile = dir.file("settings.xml");
    settingsFor(docx).save(settingsFile);
    QPointer<frmXMLEditor> window = ShowNewXMLEditor();
    window->Mode = QStringLiteral("SPLR4");
    window->XMLOnTreeView(window->TreeView, settingsFile, QStringLiteral("Edit SPLR4"), false);
    ASSERT_EQ(main.SourceXMLEditor.data(), window.data());

    QStringList duringPrompt;
    bool tried = false;
    QTimer prompt;
    QObject::connect(&prompt, &QTimer::timeout, [&] {
        frmSelectLOINC* form = frmSelectLOINC::instance();
        if (!form || !form->isVisible())
            return;
        if (!tried) {
            tried = true;
            const qsizetype before = ui.messages.size();
            EXPECT_FALSE(window->close());
            for (QAction* again : {main.mnuSPLR4ImportProductLabel, main.mnuSPLR4AddLOINCCodesToProductLabel,
                                   main.mnuSPLR4ProductLabelAddSectionNumbers, main.mnuSPLR4ImportFromExcel})
                again->trigger();
            duringPrompt = messages().mid(before);
        }
        form->cmdUnclassified->click();
    });
    prompt.start(10);

    // The user stands on a section that the import replaces.
    window->TreeView->selectNode(nodeByCaption(window, QStringLiteral("Section Title: OLD"))->parent());
    main.mnuSPLR4ImportProductLabel->trigger();
    prompt.stop();

    ASSERT_TRUE(tried) << "the import never waited in the LOINC prompt";
    EXPECT_EQ(duringPrompt, QStringList({"A command is still working on this document. Please close the window when it "
                                         "has ended.",
                                         CommandStillRunningMessage, CommandStillRunningMessage,
                                         CommandStillRunningMessage, CommandStillRunningMessage}));
    ASSERT_FALSE(window.isNull());
    EXPECT_EQ(messages().filter("Are you sure").size(), 1) << "one import, asked once";
    EXPECT_EQ(messages().filter("The operation has been completed").size(), 1);
    EXPECT_TRUE(ui.inputRequests.isEmpty()) << "the numbering never asked for its separator";
    EXPECT_EQ(titles(*window->XMLDoc), QStringList({"INDICATIONS AND USAGE"}));
    // The rebuilt tree leaves the user at the sections, not on the document's root nor nowhere.
    QTreeWidgetItem* current = window->TreeView->currentItem();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(nodeCaption(current), QStringLiteral("Document Sections"));
    EXPECT_EQ(window->TreeView->selectedItems(), QList<QTreeWidgetItem*>({current}));

    ui.answers.push_back(ui::Answer::No);  // the changes are not to be saved
    EXPECT_TRUE(window->close());
}

// An import whose LOINC loading the user aborted says so at its end, instead of a plain
// completion.
TEST_F(ProductLabelImportTest, AnAbortedLoincLoadingIsToldAtTheEnd)
{
    picker.stop();
    QTimer abort;
    QObject::connect(&abort, &QTimer::timeout, [] {
        if (frmSelectLOINC* form = frmSelectLOINC::instance(); form && form->isVisible())
            form->cmdAbort->click();  // confirmed by the scripted Yes
    });
    abort.start(10);
    DocxParts parts;
    parts.styles = labelStyles();
    xml::Document settings = settingsFor(save(docxFrom(styled("Heading1", "INDICATIONS AND USAGE") + styled("", "Text.")
                                                           + styled("Heading2", "Zorblax Quandary") + styled("", "More."),
                                                       parts)));

    ImportProductLabelFromWord(&editor, settings);

    EXPECT_EQ(messages().filter("LOINC").size(), 2) << "the abort question and the closing box";
    EXPECT_EQ(messages().last(),
              "The operation has been completed, but the LOINC code loading was cancelled: the sections not coded by "
              "then got the unclassified section code; the import found 5 warnings. Please check the Log for more "
              "information.");
    EXPECT_EQ(ui.messages.last().icon, ui::Icon::Warning);
    EXPECT_EQ(titles(settings), QStringList({"INDICATIONS AND USAGE"}));
}

namespace {

// The editor's limit, small for one test.
class SmallEditorLimit {
public:
    explicit SmallEditorLimit(DocumentSize limit) { setEditorLimitForTesting(limit); }
    ~SmallEditorLimit() { setEditorLimitForTesting(std::nullopt); }
    SmallEditorLimit(const SmallEditorLimit&) = delete;
    SmallEditorLimit& operator=(const SmallEditorLimit&) = delete;
};

QString citing(int citations)
{
    return "<w:p><w:r><w:t>Rate</w:t></w:r>"
           + QStringLiteral("<w:r><w:footnoteReference w:id=\"1\"/></w:r>").repeated(citations) + "</w:p>";
}

// A label whose first section holds `body`; one footnote of `noteCharacters` characters.
QByteArray labelWith(const QString& body, int noteCharacters = 1)
{
    DocxParts parts;
    parts.styles = labelStyles();
    parts.parts.insert("word/footnotes.xml",
                       QStringLiteral("<w:footnotes xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
                                      "<w:footnote w:id=\"1\"><w:p><w:r><w:t>%1</w:t></w:r></w:p></w:footnote></w:footnotes>")
                           .arg(QString(noteCharacters, QLatin1Char('n')))
                           .toUtf8());
    parts.relationships = relationship("rIdFoot", "footnotes", "footnotes.xml");
    return docxFrom(styled("Heading1", "INDICATIONS AND USAGE") + body, parts);
}

} // namespace

// What the import writes is bounded by what the editor opens, every repetition of a footnote
// counted; a label that passes it is not imported and the log names the section.
TEST_F(ProductLabelImportTest, ALabelLargerThanTheEditorOpensLeavesTheSectionsAsTheyWere)
{
    struct Case {
        const char* name;
        QByteArray label;
        DocumentSize limit;  // elements, attributes, bytes
        QString passedIn;
        bool stopsTheConversion = true;
        bool countedFirst = false;  // refused before any of the label's text is built
    };
    QString alternatingBold;
    for (int i = 0; i < 10'000; ++i)
        alternatingBold += "<w:r><w:rPr><w:b/></w:rPr><w:t>b</w:t></w:r><w:r><w:t>n</w:t></w:r>";
    const QString manyCells = "<w:tbl>" + ("<w:tr>" + QString("<w:tc><w:p/></w:tc>").repeated(100) + "</w:tr>").repeated(30)
                              + "</w:tbl>";
    QString manySections;
    for (int i = 0; i < 120; ++i)
        manySections += styled("Heading1", QStringLiteral("Section %1").arg(i)) + para("Text.");
    const std::vector<Case> cases{
        // Refused before the paragraph's markup is built.
        {"a long footnote cited at every word of a paragraph", labelWith(citing(60), 20'000), {100'000, 400'000, 1'000'000},
         "section 'INDICATIONS AND USAGE'", true, true},
        {"a long footnote cited once in each of many paragraphs", labelWith(citing(1).repeated(60), 20'000),
         {100'000, 400'000, 1'000'000}, "section 'INDICATIONS AND USAGE'", true, true},
        {"three-byte characters count three bytes each", labelWith(para(QString(400'000, QChar(0x20AC)))),
         {100'000, 400'000, 1'000'000}, "section 'INDICATIONS AND USAGE'", true, true},
        // Counted from the paragraphs and tables before the label's text is built.
        {"empty paragraphs, each a line break", labelWith(QString("<w:p/>").repeated(6'000)), {5'000, 400'000, 100'000'000},
         "section 'INDICATIONS AND USAGE'", true, true},
        {"tables each small enough to be converted", labelWith(manyCells.repeated(2)), {5'000, 400'000, 100'000'000},
         "section 'INDICATIONS AND USAGE'", true, true},
        {"elements count whatever their bytes", labelWith("<w:p>" + alternatingBold + "</w:p>"), {5'000, 400'000, 100'000'000},
         "section 'INDICATIONS AND USAGE'"},
        // Each section's text fits; their sections in the settings document do not.
        {"many small sections", labelWith(manySections), {100'000, 400'000, 40'000}, "section 'Section ", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        closeLog();
        ui.messages.clear();
        editor.calls.clear();
        const SmallEditorLimit limit(c.limit);
        xml::Document settings = settingsFor(save(c.label));
        ImportProductLabelFromWord(&editor, settings);
        EXPECT_EQ(titles(settings), QStringList({"OLD"}));
        const QStringList said = linesOf(logLines(), c.stopsTheConversion ? "Fatal Error" : "Error").filter("larger than the editor opens");
        ASSERT_EQ(said.size(), 1) << logLines().join('\n').toStdString();
        EXPECT_TRUE(said.first().contains(c.passedIn)) << said.first().toStdString();
        EXPECT_TRUE(logLines().filter("import completed").isEmpty());
        EXPECT_TRUE(logLines().filter("Operation Completed").isEmpty());
        EXPECT_EQ(logLines().filter("Start Processing Label from Word").isEmpty(), c.countedFirst);
        EXPECT_TRUE(editor.calls.isEmpty());
        EXPECT_EQ(messages().size(), 1) << "only the question";
    }
}

// Empty paragraphs before a list item are line breaks, unless they continue the item before
// them, and are counted with the list item after them before anything is built. Counted at
// least: the settings elements besides the sections (18), the heading, each list item and
// each empty paragraph that becomes a line break, one element each; the limit at that count
// and one element under it.
TEST_F(ProductLabelImportTest, EmptyParagraphsBeforeAListItemAreCountedBeforeTheLabelIsBuilt)
{
    constexpr qint64 Empty = 3'000;
    constexpr qint64 KeptAndHeading = 18 + 1;
    const auto item = [](int numId, int level = 0) { return wordParagraph(listParagraphProperties(numId, level), wordRun("Item")); };
    const QString empties = QString("<w:p/>").repeated(Empty);
    const struct {
        const char* name;
        QString body;
        qint64 counted;
    } rows[] = {
        {"before the first list item", empties + item(1), Empty + 1},
        {"at the margin between two bullets", item(1) + empties + item(1), Empty + 2},
        {"continuing a numbered item", item(2) + empties + item(2), 2},
        {"continuing a numbered item after the bullet nested in it", item(2) + item(1, 1) + empties + item(2), 3},
    };
    for (const auto& row : rows) {
        DocxParts parts;
        parts.styles = labelDocumentStyles();
        parts.numbering = listNumberingDefinitions() + numberingInstance(1, false, 0) + numberingInstance(2, true, 0);
        const QString file = save(docxFrom(styled("Heading1", "INDICATIONS AND USAGE") + row.body, parts));
        for (const qint64 elements : {KeptAndHeading + row.counted, KeptAndHeading + row.counted - 1}) {
            SCOPED_TRACE(QStringLiteral("%1, %2 elements").arg(row.name).arg(elements).toStdString());
            closeLog();
            const SmallEditorLimit limit({elements, 400'000, 100'000'000});
            xml::Document settings = settingsFor(file);
            ImportProductLabelFromWord(&editor, settings);
            const bool countedFirst = elements < KeptAndHeading + row.counted;
            EXPECT_EQ(logLines().filter("Start Processing Label from Word").isEmpty(), countedFirst)
                << logLines().join('\n').toStdString();
            EXPECT_EQ(linesOf(logLines(), "Fatal Error").filter("larger than the editor opens").size(), countedFirst ? 1 : 0);
            EXPECT_EQ(titles(settings), QStringList({"OLD"}));
        }
    }
}

// One wide row would pad every row of its table out to it: a table that would become more
// cells than a table may have is left out with a message naming it, and the import says so
// at its end instead of reporting plain success.
TEST_F(ProductLabelImportTest, ATableOfTooManyCellsIsLeftOutAndTheImportSaysSo)
{
    const QString cell = "<w:tc><w:p><w:r><w:t>%1</w:t></w:r></w:p></w:tc>";
    const QString wideRow = "<w:tr>" + cell.arg("Wide") + cell.arg("c").repeated(200) + "</w:tr>";
    const QString narrowRow = "<w:tr>" + cell.arg("r") + "</w:tr>";
    const QString table = "<w:tbl>" + wideRow + narrowRow.repeated(250) + "</w:tbl>";
    DocxParts parts;
    parts.styles = labelStyles();
    xml::Document settings = settingsFor(
        save(docxFrom(styled("Heading1", "INDICATIONS AND USAGE") + para("Before.") + table + para("After."), parts)));
    ImportProductLabelFromWord(&editor, settings);

    EXPECT_EQ(titles(settings), QStringList({"INDICATIONS AND USAGE"}));
    const QString text = settings.selectSingleNode("//Section/LabelText").text();
    EXPECT_TRUE(text.contains("Before.") && text.contains("After.") && !text.contains("Wide")) << text.toStdString();
    EXPECT_EQ(linesOf(logLines(), "Error")
                  .filter("the table beginning \"Wide\"") // its first words
                  .filter("in section 'INDICATIONS AND USAGE'")
                  .filter("50451 cells")
                  .size(),
              1)
        << logLines().join('\n').toStdString();
    EXPECT_TRUE(logLines().filter("Label import completed").filter("without 1 table(s)").size() == 1);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text, "The operation has been completed, but 1 table(s) could not be converted and were left "
                                       "out; the import found 5 warnings and 1 error. Please check the Log for more information.");
}
