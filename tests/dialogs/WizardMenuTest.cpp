#include "DialogTestSupport.h"

#include "app/window/frmMain.h"
#include "dialogs/InstallDialogHooks.h"
#include "dialogs/WizardDefinitions.h"
#include "dialogs/frmWizard.h"
#include "dialogs/modWizard.h"
#include "app/Hooks.h"
#include "support/Fixtures.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

using namespace veldra;
using test::fieldOf;
using test::openWindows;

namespace {

const QString Wizards = QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<Wizards>
  <Wizard Enabled="1">
    <Name>Rows</Name>
    <UI>
      <Alpha>first</Alpha>
      <Beta/>
      <Group>
        <Gamma/>
      </Group>
      <!-- a note, not a field -->
      <Delta></Delta>
    </UI>
  </Wizard>
  <Wizard Enabled="0"><Name>Disabled</Name><UI/></Wizard>
  <Wizard><Name>No Flag</Name><UI/></Wizard>
  <Section>
    <Wizard Enabled="1"><Name>Text Only</Name><UI>a default</UI></Wizard>
  </Section>
  <Wizard Enabled="1"><Name>Empty</Name><UI/></Wizard>
  <Wizard Enabled="1"><Name>No Rows</Name><UI><Group><Gamma/></Group></UI></Wizard>
  <Wizard Enabled="1"><Name>Twice</Name></Wizard>
  <Wizard Enabled="1"><Name>Twice</Name><UI><Second/></UI></Wizard>
  <Wizard Enabled="1"><Name>It's "quoted"</Name><UI><Quoted/></UI></Wizard>
</Wizards>
)");

QStringList wizardItems(const frmMain& main)
{
    QStringList captions;
    for (int i = 1; i < main.mnuWizard.size(); ++i)
        captions << main.mnuWizard.at(i)->text();
    return captions;
}

QStringList rowNames(const FieldRowDialog& dialog)
{
    QStringList names;
    for (const FieldRow& row : dialog.rows())
        names << row.name;
    return names;
}

// Restores the hook table at the end of a test.
struct HookTableScope {
    Hooks saved = hooks();
    ~HookTableScope() { hooks() = saved; }
};

class WizardMenu : public test::DialogFixture {
protected:
    WizardMenu() { test::writeTextFile(wizardDefinitionsFile(), Wizards); }

    std::unique_ptr<frmWizard> create(const QString& name)
    {
        if (!editor_)
            editor_ = openSettings(QStringLiteral("<SPLR4><GeneralData><Title>t</Title></GeneralData></SPLR4>"));
        return std::unique_ptr<frmWizard>(CreateWizard(name, *editor_));
    }

    frmXMLEditor* editor_ = nullptr;
};

} // namespace

TEST_F(WizardMenu, EnabledWizardsBecomeMenuItemsInDocumentOrder)
{
    frmMain main;
    LoadWizardMenu();
    EXPECT_EQ(wizardItems(main), QStringList({QStringLiteral("Rows"), QStringLiteral("Text Only"), QStringLiteral("Empty"),
                                              QStringLiteral("No Rows"), QStringLiteral("Twice"), QStringLiteral("Twice"),
                                              QStringLiteral("It's \"quoted\"")}));
    EXPECT_FALSE(main.mnuWizard.first()->isVisible());
    EXPECT_TRUE(main.mnuWizards->menuAction()->isEnabled());
}

TEST_F(WizardMenu, MissingFileLeavesTheMenuWithoutItems)
{
    QFile::remove(wizardDefinitionsFile());
    frmMain main;
    LoadWizardMenu();
    EXPECT_TRUE(wizardItems(main).isEmpty());
    EXPECT_FALSE(main.mnuWizard.first()->isVisible());
    EXPECT_FALSE(main.mnuWizards->menuAction()->isEnabled());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(WizardMenu, UiChildrenThatHoldAValueBecomeRows)
{
    auto rows = create(QStringLiteral("Rows"));
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rowNames(*rows), QStringList({QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Delta")}));
    EXPECT_EQ(fieldOf<QLineEdit>(*rows, QStringLiteral("Alpha"))->text(), QStringLiteral("first"));
    EXPECT_EQ(rows->row(QStringLiteral("Delta"))->labelTop, 1800);

    auto textOnly = create(QStringLiteral("Text Only"));
    ASSERT_NE(textOnly, nullptr);
    EXPECT_EQ(rowNames(*textOnly), QStringList({QStringLiteral("UI")}));
    EXPECT_EQ(fieldOf<QLineEdit>(*textOnly, QStringLiteral("UI"))->text(), QStringLiteral("a default"));

    auto empty = create(QStringLiteral("Empty"));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(rowNames(*empty), QStringList({QStringLiteral("UI")}));

    // The first wizard of a name that has a UI is the one that opens.
    auto twice = create(QStringLiteral("Twice"));
    ASSERT_NE(twice, nullptr);
    EXPECT_EQ(rowNames(*twice), QStringList({QStringLiteral("Second")}));

    auto quoted = create(QStringLiteral("It's \"quoted\""));
    ASSERT_NE(quoted, nullptr);
    EXPECT_EQ(rowNames(*quoted), QStringList({QStringLiteral("Quoted")}));

    EXPECT_EQ(create(QStringLiteral("No Rows")), nullptr);
    EXPECT_EQ(create(QStringLiteral("Unknown")), nullptr);
    EXPECT_EQ(create(QStringLiteral("rows")), nullptr);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(WizardMenu, DialogTextsNameTheWizardAndTheEditorsFile)
{
    auto wizard = create(QStringLiteral("Rows"));
    EXPECT_EQ(wizard->windowTitle(), QStringLiteral("Wizard Rows"));
    EXPECT_EQ(wizard->lblInfo->text(), QStringLiteral("Rows"));
    EXPECT_EQ(wizard->cmdOK->text(), QStringLiteral("Apply"));
    EXPECT_EQ(wizard->cmdCancel->text(), QStringLiteral("&Close"));
    EXPECT_EQ(wizard->WizardName, QStringLiteral("Rows"));
    EXPECT_EQ(wizard->SourceForm, editor_);

    editor_->setWindowTitle(QStringLiteral("Edit SPLR4 [Aspirin.xml]"));
    EXPECT_EQ(create(QStringLiteral("Rows"))->FrameData->title(), QStringLiteral("[Aspirin.xml]"));
    editor_->setWindowTitle(QStringLiteral("Edit SPLR4"));
    EXPECT_EQ(create(QStringLiteral("Rows"))->FrameData->title(), QStringLiteral("Edit SPLR4"));
}

TEST_F(WizardMenu, MenuItemOpensTheWizardOverTheCurrentEditorOnly)
{
    HookTableScope scope;
    installDialogHooks();
    frmMain main;
    LoadWizardMenu();

    main.mnuWizard.at(1)->trigger();  // no editor has been current yet
    EXPECT_TRUE(openWindows<frmWizard>().isEmpty());

    frmXMLEditor* editor = openSettings(QStringLiteral("<SPLR4><Title>t</Title></SPLR4>"));
    main.SourceXMLEditor = editor;
    main.mnuWizard.at(1)->trigger();
    main.mnuWizard.at(4)->trigger();  // "No Rows": nothing to show
    const QList<frmWizard*> open = openWindows<frmWizard>();
    ASSERT_EQ(open.size(), 1);
    EXPECT_EQ(open[0]->WizardName, QStringLiteral("Rows"));
    EXPECT_EQ(open[0]->parentWidget(), &main);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(WizardMenu, HeaderPictureIsTheWizardsOwnOrTheLogo)
{
    test::writeTextFile(wizardDefinitionsFile(), QStringLiteral(
        "<Wizards><Wizard Enabled='1'><Name>My Wizard</Name><UI/></Wizard>"
        "<Wizard Enabled='1'><Name>Plain</Name><UI/></Wizard></Wizards>"));
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(program.file(QStringLiteral("Images/WizardMyWizard.jpg"))));
    const QImage logo(program.file(QStringLiteral("Logo.jpg")));
    ASSERT_FALSE(logo.isNull());

    frmWizard* own = create(QStringLiteral("My Wizard")).release();
    ShowWizard(own);
    EXPECT_EQ(own->picLogo->pixmap().size(), QSize(40, 30));
    EXPECT_EQ(own->picLogo->size(), QSize(40, 30));
    EXPECT_EQ(own->picLogo->x(), own->width() - 40 - 10);
    EXPECT_TRUE(own->isVisible());
    EXPECT_FALSE(own->isModal());

    frmWizard* plain = create(QStringLiteral("Plain")).release();
    ShowWizard(plain);
    EXPECT_EQ(plain->picLogo->pixmap().size(), logo.size());
}
