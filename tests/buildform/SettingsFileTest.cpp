#include "BuildFormTestSupport.h"

#include "app/Hooks.h"
#include "app/log/Log.h"
#include "buildform/InstallBuildFormHooks.h"
#include "platform/core/AppPaths.h"
#include "buildform/SettingsFile.h"
#include "platform/xml/tree/Document.h"
#include "support/Fixtures.h"
#include "support/HostileValues.h"
#include "support/LogFixture.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QStringEncoder>
#include <gtest/gtest.h>

using namespace veldra;
using namespace veldra::buildform;
using namespace veldra::buildform::test;

namespace {

class SettingsFileTest : public veldra::test::LogFixture {
protected:

    // Every kind of value a user can leave in the form, in every control.
    static void fillAwkwardly(frmBuildSPL& form)
    {
        int n = 0;
        for (const ControlEntry& entry : form.registeredControls()) {
            ++n;
            switch (entry.kind) {
            case ControlKind::TextBox:
            case ControlKind::ComboBox: {
                const QString text = n % 3 == 0 ? QStringLiteral("   ")
                                                : QStringLiteral("  %1 & <b> \"q\" > %2  ").arg(entry.name).arg(n);
                if (entry.kind == ControlKind::TextBox)
                    form.textBox(entry.name)->setText(text);
                else
                    form.comboBox(entry.name)->setCurrentText(text);
                break;
            }
            case ControlKind::CheckBox:
                form.checkBox(entry.name)->setCheckState(n % 3 == 0   ? Qt::PartiallyChecked
                                                         : n % 3 == 1 ? Qt::Checked
                                                                      : Qt::Unchecked);
                break;
            case ControlKind::ListView: {
                RowList& list = form.list(entry.name);
                addRows(list, 2);
                list.add(QString());  // a row of empty cells
                list.add(QString());
                list.setCell(4, list.columnCount() - 1, QStringLiteral(" last "));
                break;
            }
            }
        }
    }

    static xml::Document loaded(const QString& path)
    {
        xml::Document document;
        EXPECT_TRUE(document.load(path)) << document.parseError().reason.toStdString();
        return document;
    }

    veldra::test::ProgramFolderCopy program;
    veldra::test::TempDir dir;
};

// A snapshot in the shape files written on Windows have: CRLF line ends, indentation, a
// declared single-byte encoding, backslash paths.
QByteArray windowsSnapshot()
{
    const QString text = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n"
        "<File>\r\n"
        "\t<ApplicationInfo>Structured Product Labeling - SPL Settings and Structured Data Setup</ApplicationInfo>\r\n"
        "\t<FileName>C:\\Program Files\\Labels\\LastSettings.xml</FileName>\r\n"
        "\t<DateTime>07.12.2026 10:15:02</DateTime>\r\n"
        "\t<Data>\r\n"
        "\t\t<TextBox>\r\n\t\t\t<TargetForm>frmBuildSPL</TargetForm>\r\n\t\t\t<Name>txtCompanyName</Name>\r\n"
        "\t\t\t<Value>M\u00fcller Pharma GmbH</Value>\r\n\t\t</TextBox>\r\n"
        "\t\t<CheckBox>\r\n\t\t\t<TargetForm>frmBuildSPL</TargetForm>\r\n\t\t\t<Name>chkAddLOINCCodes</Name>\r\n"
        "\t\t\t<Value>1</Value>\r\n\t\t</CheckBox>\r\n"
        "\t\t<ComboBox>\r\n\t\t\t<TargetForm>frmBuildSPL</TargetForm>\r\n"
        "\t\t\t<Name>cboConditionOfUseMonitoringCodeSystem</Name>\r\n"
        "\t\t\t<Value>Logical Observation Identifiers Names and Codes</Value>\r\n\t\t</ComboBox>\r\n"
        "\t\t<TextBox>\r\n\t\t\t<TargetForm>frmBuildSPL</TargetForm>\r\n\t\t\t<Name>txtSourceFileName</Name>\r\n"
        "\t\t\t<Value>C:\\Labels\\Zorvat 10 mg.doc</Value>\r\n\t\t</TextBox>\r\n"
        "\t\t<TextBox>\r\n\t\t\t<TargetForm>frmBuildSPL</TargetForm>\r\n\t\t\t<Name>txtTargetFolder</Name>\r\n"
        "\t\t\t<Value>C:\\Out\\</Value>\r\n\t\t</TextBox>\r\n"
        "\t\t<ListView>\r\n\t\t\t<TargetForm>frmBuildSPL</TargetForm>\r\n\t\t\t<Name>ListIndications</Name>\r\n"
        "\t\t\t<Rows>\r\n"
        "\t\t\t\t<Row><Columns><Column><Index></Index><Value></Value></Column></Columns></Row>\r\n"
        "\t\t\t\t<Row>\r\n\t\t\t\t\t<Columns>\r\n"
        "\t\t\t\t\t\t<Column><Index>1</Index><Value>C0020538</Value></Column>\r\n"
        "\t\t\t\t\t\t<Column><Index>2</Index><Value>Hypertension</Value></Column>\r\n"
        "\t\t\t\t\t\t<Column><Index>3</Index><Value>National Cancer Institute Thesaurus</Value></Column>\r\n"
        "\t\t\t\t\t</Columns>\r\n\t\t\t\t</Row>\r\n"
        "\t\t\t</Rows>\r\n\t\t</ListView>\r\n"
        "\t</Data>\r\n"
        "</File>\r\n");
    QStringEncoder encoder("windows-1252");
    return encoder.encode(text);
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A snapshot of one kind of entry of form frmBuildSPL.
QString snapshotWith(const QString& entries)
{
    return QStringLiteral("<File><ApplicationInfo/><FileName/><DateTime/><Data>%1</Data></File>").arg(entries);
}

QString entry(const QString& kind, const QString& name, const QString& value, const QString& form = "frmBuildSPL")
{
    return QStringLiteral("<%1><TargetForm>%4</TargetForm><Name>%2</Name><Value>%3</Value></%1>")
        .arg(kind, name, value, form);
}

QString listEntry(const QString& name, const QString& columns)
{
    return QStringLiteral("<ListView><TargetForm>frmBuildSPL</TargetForm><Name>%1</Name><Rows>"
                          "<Row><Columns><Column><Index/><Value/></Column></Columns></Row>"
                          "<Row><Columns>%2</Columns></Row></Rows></ListView>")
        .arg(name, columns);
}

QString column(const QString& index, const QString& value)
{
    return QStringLiteral("<Column><Index>%1</Index><Value>%2</Value></Column>").arg(index, value);
}

} // namespace

TEST_F(SettingsFileTest, EveryEntrySurvivesSaveAndLoadInTheShapeOfTheTemplate)
{
    frmBuildSPL form;
    fillAwkwardly(form);
    form.checkBox("chkTestBuild")->setCheckState(Qt::PartiallyChecked);
    const FormState entered = form.state();
    const QString path = dir.file("setup.xml");

    SaveSettingsFile(form, path);
    ASSERT_TRUE(ui.messages.isEmpty()) << ui.messages.first().text.toStdString();
    form.applyState({});
    EXPECT_NE(form.state(), entered);
    LoadSettingsFile(form, path);

    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(form.state(), entered);
    EXPECT_EQ(form.checkBox("chkTestBuild")->checkState(), Qt::PartiallyChecked);

    const xml::Document file = loaded(path);
    EXPECT_EQ(file.selectNodes("File/Data/TextBox").length(), 48);
    EXPECT_EQ(file.selectNodes("File/Data/CheckBox").length(), 6);
    EXPECT_EQ(file.selectNodes("File/Data/ComboBox").length(), 4);
    EXPECT_EQ(file.selectNodes("File/Data/ListView").length(), 6);
    for (const char* kind : {"TextBox", "CheckBox", "ComboBox", "ListView"})
        for (const xml::Node& entry : file.selectNodes(QStringLiteral("File/Data/") + kind))
            EXPECT_EQ(entry.selectSingleNode("TargetForm").text(), "frmBuildSPL");
    EXPECT_EQ(file.selectSingleNode("File/FileName").text(), path);
    EXPECT_FALSE(file.selectSingleNode("File/DateTime").text().isEmpty());
    EXPECT_TRUE(file.selectSingleNode("File/ApplicationInfo").text().startsWith("Veldra"));
    // Each list starts with the template's row, whose single column has no Index; then
    // one Row per list row with Index 1 to the column count.
    xml::Node ingredients;
    for (const xml::Node& list : file.selectNodes("File/Data/ListView"))
        if (list.selectSingleNode("Name").text() == "ListProductIngredients")
            ingredients = list;
    ASSERT_FALSE(ingredients.isNull());
    const xml::NodeList rows = ingredients.selectNodes("Rows/Row");
    ASSERT_EQ(rows.length(), 5);
    EXPECT_EQ(rows.item(0).selectNodes("Columns/Column").length(), 1);
    EXPECT_TRUE(rows.item(0).selectSingleNode("Columns/Column/Index").text().isEmpty());
    QStringList indexes;
    for (const xml::Node& index : rows.item(3).selectNodes("Columns/Column/Index"))
        indexes << index.text();
    EXPECT_EQ(indexes, QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}));
}

TEST_F(SettingsFileTest, EmptyListsKeepOnlyThePrototypeRowAndTextsXmlCannotHoldAreLeftOut)
{
    frmBuildSPL form;
    form.textBox("txtTitle")->setText(QStringLiteral("Zorvat\u0001 tablets\u0007"));
    const QString path = dir.file("setup.xml");
    SaveSettingsFile(form, path);

    const xml::Document file = loaded(path);
    for (const xml::Node& list : file.selectNodes("File/Data/ListView"))
        EXPECT_EQ(list.selectNodes("Rows/Row").length(), 1);
    form.applyState({});
    LoadSettingsFile(form, path);
    EXPECT_EQ(form.textBox("txtTitle")->text(), "Zorvat tablets");
    EXPECT_EQ(form.list("ListIndications").count(), 0);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(SettingsFileTest, AFileInTheShapeWrittenOnWindowsLoads)
{
    frmBuildSPL form;
    const QString path = dir.file("LastSettings.xml");
    writeBytes(path, windowsSnapshot());

    LoadSettingsFile(form, path);

    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(form.textBox("txtCompanyName")->text(), QStringLiteral("M\u00fcller Pharma GmbH"));
    EXPECT_EQ(form.textBox("txtSourceFileName")->text(), "C:\\Labels\\Zorvat 10 mg.doc");
    EXPECT_EQ(form.textBox("txtTargetFolder")->text(), "C:\\Out\\");
    EXPECT_TRUE(form.checkBox("chkAddLOINCCodes")->isChecked());
    EXPECT_EQ(form.comboBox("cboConditionOfUseMonitoringCodeSystem")->currentText(),
              "Logical Observation Identifiers Names and Codes");
    ASSERT_EQ(form.list("ListIndications").count(), 1);
    EXPECT_EQ(form.list("ListIndications").cells(1),
              QStringList({"C0020538", "Hypertension", "National Cancer Institute Thesaurus"}));
    // What the file does not name is cleared, the design texts of the style boxes too.
    EXPECT_TRUE(form.textBox("txtSectionStyle")->text().isEmpty());
}

TEST_F(SettingsFileTest, LoadMatchesEntriesByFormAndNameLastTextAndFirstListWinning)
{
    frmBuildSPL form;
    fillWithNames(form);
    const QString path = dir.file("setup.xml");
    veldra::test::writeTextFile(
        path, snapshotWith(entry("TextBox", "txtTitle", "first") + entry("TextBox", "txtTitle", "second")
                           + entry("TextBox", "txtNoSuchBox", "ignored")
                           + entry("TextBox", "txtCompanyName", "other form", "frmOther")
                           + entry("CheckBox", "chkTestBuild", "2")
                           + listEntry("ListIndications", column("1", "first list"))
                           + listEntry("ListIndications", column("1", "second list"))
                           + listEntry("ListAdverseReactions", column("1", "a") + column("3", "c") + column("1", "b"))));

    LoadSettingsFile(form, path);

    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(form.textBox("txtTitle")->text(), "second");
    EXPECT_EQ(form.textBox("txtCompanyName")->text(), "");
    EXPECT_EQ(form.comboBox("cboDosageCharacteristicSymbol")->currentText(), "");
    EXPECT_EQ(form.checkBox("chkTestBuild")->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(form.checkBox("chkAddLOINCCodes")->isChecked());
    EXPECT_EQ(column0(form.list("ListIndications")), QStringList({"first list"}));
    // A new Index 1 starts a row even inside one Row element; later columns fill the latest row.
    ASSERT_EQ(form.list("ListAdverseReactions").count(), 2);
    EXPECT_EQ(form.list("ListAdverseReactions").cells(1), QStringList({"a", "", "c", "", "", ""}));
    EXPECT_EQ(form.list("ListAdverseReactions").cells(2), QStringList({"b", "", "", "", "", ""}));
    EXPECT_EQ(form.list("ListProductPackaging").count(), 0);
}

// A text box holds 32,767 characters: a longer value is cut, and the log says so.
TEST_F(SettingsFileTest, AValueLongerThanItsBoxIsCutWithAWarning)
{
    frmBuildSPL form;
    const QString path = dir.file("long.xml");
    veldra::test::writeTextFile(path, snapshotWith(entry("TextBox", "txtTitle", QString(40000, QLatin1Char('t')))
                                                   + entry("ComboBox", "cboDosageCharacteristicSymbol",
                                                           QString(32768, QLatin1Char('c')))
                                                   + entry("TextBox", "txtCompanyName", QString(32767, QLatin1Char('n')))));

    LoadSettingsFile(form, path);

    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(form.textBox("txtTitle")->text(), QString(32767, QLatin1Char('t')));
    EXPECT_EQ(form.textBox("txtCompanyName")->text(), QString(32767, QLatin1Char('n')));
    EXPECT_EQ(logLines(), QStringList({line("Warning", "The value of txtTitle has 40000 characters; the box keeps the first "
                                                       "32767 of them."),
                                       line("Warning", "The value of cboDosageCharacteristicSymbol has 32768 characters; the "
                                                       "box keeps the first 32767 of them.")}));
}

TEST_F(SettingsFileTest, AMalformedEntryOrFileLeavesTheFormAsItWas)
{
    frmBuildSPL form;
    fillWithNames(form);
    const FormState before = form.state();
    const QString path = dir.file("setup.xml");
    const QString good = entry("TextBox", "txtTitle", "restored");
    const QString cases[] = {
        snapshotWith(good + entry("CheckBox", "chkTestBuild", "x")),
        snapshotWith(good + entry("CheckBox", "chkTestBuild", "3")),
        snapshotWith(good + listEntry("ListIndications", column("0", "zero"))),
        snapshotWith(good + listEntry("ListIndications", column("1", "a") + column("4", "beyond"))),
        snapshotWith(good + listEntry("ListIndications", column("one", "a"))),
        snapshotWith(good + listEntry("ListIndications", column("2", "before any row"))),
        QStringLiteral("<File><Data>") + good,  // not well-formed
        QStringLiteral("<Settings>") + good + QStringLiteral("</Settings>"),
        snapshotWith(good + QStringLiteral("<!---->").repeated(1'000'000)),  // past the node cap
        snapshotWith(good + QStringLiteral("<![CDATA[a]]>").repeated(1'000'000)),
        snapshotWith(good + entry("TextBox", "txtCompanyName", QString(kMaxTextCharacters + 1, QLatin1Char('n')))),
        snapshotWith(good).replace("<File>", "<File" + veldra::test::namespaceDeclarations(kMaxNamespaceDeclarations + 1) + ">"),
    };
    for (const QString& text : cases) {
        veldra::test::writeTextFile(path, text);
        ui.messages.clear();
        LoadSettingsFile(form, path);
        ASSERT_EQ(ui.messages.size(), 1) << text.toStdString();
        EXPECT_EQ(ui.messages.first().icon, ui::Icon::Critical);
        EXPECT_TRUE(ui.messages.first().text.startsWith("LoadSettingsFile ")) << ui.messages.first().text.toStdString();
        EXPECT_EQ(form.state(), before) << text.toStdString();
    }
    // As many namespaces in scope as any reader takes are no fault.
    veldra::test::writeTextFile(path, snapshotWith(good).replace("<File>", "<File" + veldra::test::namespaceDeclarations(kMaxNamespaceDeclarations) + ">"));
    ui.messages.clear();
    LoadSettingsFile(form, path);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(form.textBox("txtTitle")->text(), "restored");
}

TEST_F(SettingsFileTest, AFailedSaveKeepsTheFormerFile)
{
    frmBuildSPL form;
    const QString path = dir.file("setup.xml");
    veldra::test::writeTextFile(path, "former");
    QFile::remove(program.file("LabelDefinitions/WORD_2_SPL_SETUP_TEMPLATE.xml"));

    SaveSettingsFile(form, path);

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages.first().icon, ui::Icon::Critical);
    EXPECT_TRUE(ui.messages.first().text.startsWith("SaveSettingsFile "));
    EXPECT_EQ(veldra::test::readTextFile(path), "former");
}

TEST_F(SettingsFileTest, StartUpReadsThePerUserCopyFirstAndNeverAsks)
{
    const QString programFile = program.file("LastSettings.xml");
    {
        frmBuildSPL form;  // no file anywhere: silently empty
        RestoreLastSettings(form, programFile);
        EXPECT_TRUE(form.textBox("txtSectionStyle")->text().isEmpty());
        EXPECT_TRUE(logLines().isEmpty());
    }
    veldra::test::writeTextFile(programFile, snapshotWith(entry("TextBox", "txtTitle", "from the program folder")));
    {
        frmBuildSPL form;
        RestoreLastSettings(form, programFile);
        EXPECT_EQ(form.textBox("txtTitle")->text(), "from the program folder");
    }
    QDir().mkpath(QFileInfo(userLastSettingsFile()).path());
    veldra::test::writeTextFile(userLastSettingsFile(), snapshotWith(entry("TextBox", "txtTitle", "the user's")));
    {
        frmBuildSPL form;
        RestoreLastSettings(form, programFile);
        EXPECT_EQ(form.textBox("txtTitle")->text(), "the user's");
    }
    veldra::test::writeTextFile(userLastSettingsFile(), "<File><Data>");
    {
        frmBuildSPL form;
        RestoreLastSettings(form, programFile);
        EXPECT_EQ(form.textBox("txtSectionStyle")->text(), "Heading 1");  // nothing applied
        EXPECT_EQ(logLines().size(), 1);
        EXPECT_TRUE(ui.messages.isEmpty());
    }
}

TEST_F(SettingsFileTest, TheStartProcedureRestoresThroughTheHookAndOnlyTheMenuLoadAsks)
{
    const Hooks saved = hooks();
    installBuildFormHooks();
    const QString lastSettings = app_paths::inProgram("LastSettings.xml");
    veldra::test::writeTextFile(lastSettings, "<File><Data>");

    hooks().LoadSettingsFile(lastSettings);
    QPointer<QWidget> form = hooks().BuildSPLForm();
    ASSERT_FALSE(form.isNull());
    EXPECT_TRUE(form->isHidden());
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(logLines().size(), 1);

    const QString chosen = dir.file("chosen.xml");
    veldra::test::writeTextFile(chosen, "<File><Data>");
    hooks().LoadSettingsFile(chosen);
    EXPECT_EQ(ui.messages.size(), 1);

    delete form.data();
    hooks() = saved;
}
