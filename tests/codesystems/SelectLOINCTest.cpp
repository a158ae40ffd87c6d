#include "LookupTestData.h"
#include "app/window/frmMain.h"
#include "codesystems/CodeSearches.h"
#include "codesystems/ShowSelectLOINCForm.h"
#include "codesystems/clsLOINC.h"
#include "codesystems/frmSelectLOINC.h"
#include "platform/ui/QtBackend.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>

using namespace veldra;
using test::CodeSystemsTest;

namespace {

class SelectLOINCTest : public CodeSystemsTest {
protected:
    void SetUp() override
    {
        CodeSystemsTest::SetUp();
        lookup->Initialize();
        main.TargetLOINC = lookup;
    }
    void TearDown() override
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CodeSystemsTest::TearDown();
    }

    // What the user does in the picker once it is shown; runs inside the wait.
    static void whenShown(std::function<void(frmSelectLOINC&)> act)
    {
        QTimer::singleShot(0, [act] {
            frmSelectLOINC* form = frmSelectLOINC::instance();
            ASSERT_NE(form, nullptr);
            ASSERT_TRUE(form->isVisible());
            act(*form);
        });
    }

    struct Answer {
        QString code, name, system;
    };
    Answer lookUpInteractively(clsLOINC& using_, const QString& title)
    {
        Answer answer;
        using_.GetCodeAndName(title, answer.code, answer.name, answer.system, true);
        return answer;
    }

    static QStringList listed(const frmSelectLOINC& form)
    {
        QStringList rows;
        for (int i = 0; i < form.LOINCList->topLevelItemCount(); ++i)
            rows << form.LOINCList->topLevelItem(i)->text(0) + QLatin1Char(' ') + form.LOINCList->topLevelItem(i)->text(1);
        return rows;
    }

    test::CodeSystemsProgramFolder folder{test::lookupTestLists()};
    frmMain main;
    std::shared_ptr<clsLOINC> lookup = std::make_shared<clsLOINC>();
};

const QString unclassifiedLine = QStringLiteral("User selected LOINC Code: 42229-5 - SPL UNCLASSIFIED SECTION");

} // namespace

TEST_F(SelectLOINCTest, SeveralHitsOpenThePickerAndOKTakesTheSelectedRow)
{
    QStringList seen;
    QString shownText;
    whenShown([&](frmSelectLOINC& form) {
        seen = listed(form);
        shownText = form.txtLOINCName->text();
        form.LOINCList->setCurrentItem(form.LOINCList->topLevelItem(1));
        form.cmdOK->click();
    });
    const Answer answer = lookUpInteractively(*lookup, QStringLiteral("warnings"));

    EXPECT_EQ(shownText, QStringLiteral("%warnings%"));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("43685-7 WARNINGS AND PRECAUTIONS SECTION"),
                                 QStringLiteral("34071-1 WARNINGS SECTION")}));
    EXPECT_EQ(answer.code, QStringLiteral("34071-1"));
    EXPECT_EQ(answer.name, QStringLiteral("WARNINGS SECTION"));
    EXPECT_TRUE(answer.system.isEmpty());
    EXPECT_EQ(lookup->SelectStatus, QStringLiteral("LOINCSelectOK"));
    EXPECT_FALSE(lookup->Cancel);
    EXPECT_EQ(logLines(), (QStringList{
                              line(QStringLiteral("Warning"), QStringLiteral("warnings - Multiple LOINC codes found")),
                              line(QStringLiteral("Information"), QStringLiteral("User selected LOINC Code: 34071-1 - WARNINGS SECTION")),
                          }));
    EXPECT_EQ(frmSelectLOINC::instance(), nullptr) << "the picker is unloaded after its answer";

    // A double click answers with that row; OK without a selection answers with nothing.
    whenShown([](frmSelectLOINC& form) { form.LOINCList_DblClick(form.LOINCList->topLevelItem(0)); });
    EXPECT_EQ(lookUpInteractively(*lookup, QStringLiteral("warnings")).code, QStringLiteral("43685-7"));
    whenShown([](frmSelectLOINC& form) { form.cmdOK->click(); });
    const Answer nothing = lookUpInteractively(*lookup, QStringLiteral("warnings"));
    EXPECT_TRUE(nothing.code.isEmpty());
    EXPECT_TRUE(nothing.name.isEmpty());
}

TEST_F(SelectLOINCTest, UnclassifiedAndEscGiveTheFallbackCode)
{
    QStringList seen{QStringLiteral("not filled")};
    whenShown([&](frmSelectLOINC& form) {
        seen = listed(form);
        form.cmdUnclassified->click();
    });
    Answer answer = lookUpInteractively(*lookup, QStringLiteral("no such title"));
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_EQ(answer.code, QStringLiteral("42229-5"));
    EXPECT_EQ(answer.name, QStringLiteral("SPL UNCLASSIFIED SECTION"));

    whenShown([](frmSelectLOINC& form) { QTest::keyClick(form.LOINCList, Qt::Key_Escape); });
    answer = lookUpInteractively(*lookup, QStringLiteral("no such title"));
    EXPECT_EQ(answer.code, QStringLiteral("42229-5"));
    EXPECT_FALSE(lookup->Cancel);
    EXPECT_EQ(logLines().filter(unclassifiedLine).size(), 2);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(SelectLOINCTest, AbortAsksFirstAndThenStopsTheRun)
{
    ui.answers = {ui::Answer::No, ui::Answer::Yes};
    whenShown([](frmSelectLOINC& form) {
        form.cmdAbort->click();
        EXPECT_TRUE(form.isVisible()) << "No keeps the picker open";
        form.cmdAbort->click();
    });
    const Answer answer = lookUpInteractively(*lookup, QStringLiteral("warnings"));

    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages.first().text, QStringLiteral("Are you sure you want to abort LOINC code loading?"));
    EXPECT_EQ(ui.messages.first().buttons, ui::Buttons::YesNo);
    EXPECT_EQ(ui.messages.first().icon, ui::Icon::Warning);
    EXPECT_EQ(answer.code, QStringLiteral("42229-5"));
    EXPECT_EQ(answer.name, QStringLiteral("SPL UNCLASSIFIED SECTION"));
    EXPECT_TRUE(lookup->Cancel);
    EXPECT_EQ(logLines().last(), line(QStringLiteral("Information"), QStringLiteral("User aborted LOINC code loading")));
}

TEST_F(SelectLOINCTest, CloseBoxActsLikeAbort)
{
    ui.answers = {ui::Answer::No, ui::Answer::Yes};
    whenShown([](frmSelectLOINC& form) {
        EXPECT_FALSE(form.close());
        EXPECT_TRUE(form.isVisible());
        form.close();
    });
    const Answer answer = lookUpInteractively(*lookup, QStringLiteral("no such title"));
    EXPECT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(answer.code, QStringLiteral("42229-5"));
    EXPECT_EQ(lookup->SelectStatus, QStringLiteral("LOINCSelectAbort"));
    EXPECT_TRUE(lookup->Cancel);
}

TEST_F(SelectLOINCTest, SearchingAgainInThePicker)
{
    QStringList found, foundByEnter;
    whenShown([&](frmSelectLOINC& form) {
        form.txtLOINCName->setText(QStringLiteral("dosage administration"));
        form.cmdSearchLoinc->click();
        found = listed(form);
        form.txtLOINCName->setText(QStringLiteral("warnings"));
        QTest::keyClick(form.txtLOINCName, Qt::Key_Return);
        foundByEnter = listed(form);
        form.txtLOINCName->setText(QStringLiteral("34067-9"));  // codes are not searched here
        form.cmdSearchLoinc->click();
        EXPECT_TRUE(listed(form).isEmpty());
        EXPECT_TRUE(form.isVisible()) << "Enter only searches";
        form.cmdUnclassified->click();
    });
    lookUpInteractively(*lookup, QStringLiteral("no such title"));

    EXPECT_EQ(found, QStringList{QStringLiteral("34068-7 DOSAGE & ADMINISTRATION SECTION")});
    EXPECT_EQ(foundByEnter.size(), 2);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages.first().text, QStringLiteral("The requested LOINC code could not be found."));
    EXPECT_EQ(ui.messages.first().icon, ui::Icon::Warning);
}

TEST_F(SelectLOINCTest, ThePickerAnswersTheLookupThatOpenedIt)
{
    auto opener = std::make_shared<clsLOINC>();
    opener->Initialize();
    opener->SelectedLOINCCode = QStringLiteral("stale");
    whenShown([](frmSelectLOINC& form) {
        form.LOINCList->setCurrentItem(form.LOINCList->topLevelItem(0));
        form.cmdOK->click();
    });
    const Answer answer = lookUpInteractively(*opener, QStringLiteral("warnings"));
    EXPECT_EQ(answer.code, QStringLiteral("43685-7"));
    EXPECT_EQ(opener->SelectStatus, QStringLiteral("LOINCSelectOK"));
    EXPECT_TRUE(lookup->SelectStatus.isEmpty()) << "the main window's lookup is not answered";
}

TEST_F(SelectLOINCTest, PickerWithoutALookupSearchesWithOneOfItsOwn)
{
    main.TargetLOINC.reset();
    ShowSelectLOINCForm(QStringLiteral("section"));
    frmSelectLOINC* form = frmSelectLOINC::instance();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->txtLOINCName->text(), QStringLiteral("section"));
    form->cmdSearchLoinc->click();
    EXPECT_EQ(listed(*form).size(), 5);
    form->cmdUnclassified->click();
    EXPECT_EQ(frmSelectLOINC::instance(), nullptr);
}

TEST_F(SelectLOINCTest, MainWindowSearchWhileThePickerWaitsLeavesTheRunReachable)
{
    std::shared_ptr<CancellableJob> heldDuringTheWait;
    whenShown([&](frmSelectLOINC& form) {
        SearchLOINCCodes(QStringLiteral("dosage"));
        heldDuringTheWait = main.TargetLOINC;
        form.LOINCList->setCurrentItem(form.LOINCList->topLevelItem(0));
        form.cmdOK->click();
    });
    const Answer answer = lookUpInteractively(*lookup, QStringLiteral("warnings"));

    EXPECT_EQ(heldDuringTheWait, lookup) << "the search gives the main window's reference back";
    EXPECT_EQ(answer.code, QStringLiteral("43685-7"));
    EXPECT_TRUE(logLines().contains(
        line(QStringLiteral("Information"),
             QStringLiteral("     Code>>> 34068-7 <<<Text>>> DOSAGE & ADMINISTRATION SECTION <<<System>>> ^Patient"))));
}

TEST_F(SelectLOINCTest, SearchProblemsAreReportedAndThePickerStaysOpen)
{
    main.TargetLOINC.reset();
    ShowSelectLOINCForm(QString());
    frmSelectLOINC* form = frmSelectLOINC::instance();
    ASSERT_NE(form, nullptr);

    // An empty box searches for empty names only.
    form->cmdSearchLoinc->click();
    {
        // A program folder without the database.
        test::CodeSystemsProgramFolder noDatabase;
        form->txtLOINCName->setText(QStringLiteral("section"));
        form->cmdSearchLoinc->click();
    }
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("The requested LOINC code could not be found."));
    EXPECT_EQ(ui.messages[1].icon, ui::Icon::Critical);
    EXPECT_TRUE(ui.messages[1].text.startsWith(QStringLiteral("SQLite ")));
    EXPECT_TRUE(form->isVisible());
    form->cmdUnclassified->click();
}

TEST_F(SelectLOINCTest, ProgramEndingWhileThePickerWaitsCountsAsAnAbort)
{
    whenShown([](frmSelectLOINC&) { QCoreApplication::exit(0); });
    const Answer answer = lookUpInteractively(*lookup, QStringLiteral("warnings"));
    EXPECT_EQ(answer.code, QStringLiteral("42229-5"));
    EXPECT_TRUE(lookup->Cancel);

    // Let event loops run again for the tests that follow.
    delete frmSelectLOINC::instance();
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

// A message raised while the picker waits (the editor refusing to close during a Word import)
// opens over the picker, kept on top as the picker is, and shows its text and its button; once
// it is answered, the picker answers. The real dialogs let events run while the picker is being
// shown, so here it is answered, and gone, before the lookup starts to wait for it.
TEST_F(SelectLOINCTest, AMessageRaisedWhileThePickerWaitsStandsInFrontOfIt)
{
    ui::QtBackend real;
    ui::setBackend(&real);
    main.show();
    QString seen;
    whenShown([&](frmSelectLOINC& form) {
        main.activateWindow();
        QApplication::setActiveWindow(&main);
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->parentWidget(), &form);
            EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            ASSERT_NE(label, nullptr);
            seen = label->text();
            EXPECT_GE(label->height(), label->heightForWidth(label->width()));
            ASSERT_EQ(box->buttons().size(), 1);
            for (const QAbstractButton* button : box->buttons())
                EXPECT_TRUE(box->rect().contains(QRect(button->mapTo(box, QPoint()), button->size())));
            box->buttons().constFirst()->click();
        });
        ui::msgBox(QStringLiteral("A command is still working on this document."), ui::Buttons::OK, ui::Icon::Information);
        form.cmdUnclassified->click();
    });
    const Answer answer = lookUpInteractively(*lookup, QStringLiteral("no such title"));
    ui::setBackend(&ui);
    EXPECT_EQ(seen, QStringLiteral("A command is still working on this document."));
    EXPECT_EQ(answer.code, QStringLiteral("42229-5"));
}
