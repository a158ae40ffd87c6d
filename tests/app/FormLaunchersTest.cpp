#include "app/window/FormLaunchers.h"
#include "app/window/frmAbout.h"
#include "app/window/frmMain.h"
#include "platform/core/AppInfo.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "app/MainWindowTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

// A build form with the controls the launcher prepares.
QWidget* makeBuildForm()
{
    auto* form = new QWidget;
    auto* logo = new QLabel(form);
    logo->setObjectName(QStringLiteral("picLogo"));
    for (const char* name : {"cboConditionOfUseCoAdministrationCodeSystem", "cboConditionOfUseMonitoringCodeSystem"}) {
        auto* box = new QComboBox(form);
        box->setEditable(true);
        box->setObjectName(QLatin1String(name));
    }
    return form;
}

QComboBox* box(QWidget* form, const char* name)
{
    return form->findChild<QComboBox*>(QLatin1String(name));
}

} // namespace

TEST(AboutBoxTest, ShowsTitleVersionAndMaker)
{
    test::ScriptedUi ui;
    frmAbout about;
    about.show();

    const QString title = QStringLiteral("About Veldra V%1.%2.%3")
                              .arg(app_info::versionMajor())
                              .arg(app_info::versionMinor())
                              .arg(app_info::versionRevision());
    EXPECT_EQ(about.windowTitle(), title);
    EXPECT_EQ(about.lblInfo->text(), QStringLiteral("Veldra\n\nVersion %1.%2 Build %3")
                                         .arg(app_info::versionMajor())
                                         .arg(app_info::versionMinor())
                                         .arg(app_info::versionRevision()));
    EXPECT_TRUE(about.txtCompanyInfo->text().contains(app_info::publisher()));
    EXPECT_TRUE(about.txtCompanyInfo->text().endsWith(QStringLiteral(" %1").arg(QDate::currentDate().year())));
    EXPECT_EQ(about.cmdOK->text(), QStringLiteral("&OK"));
    EXPECT_EQ(about.cmdVisitWebSite->text(), QStringLiteral("Visit &Website"));

    about.cmdVisitWebSite->click();
    ASSERT_EQ(ui.opened.size(), 1);
    EXPECT_TRUE(ui.opened.at(0).startsWith(QStringLiteral("https://")));
    about.cmdOK->click();
    EXPECT_FALSE(about.isVisible());
}

TEST(AboutBoxTest, ShowAboutBoxWaitsUntilTheBoxCloses)
{
    test::HookTableScope hooksScope;
    frmMain main;
    QString seenTitle;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        seenTitle = about->windowTitle();
        about->cmdOK->click();
    });
    main.mnuHelpAbout->trigger();
    EXPECT_TRUE(seenTitle.startsWith(QStringLiteral("About Veldra V")));
}

TEST(FormLaunchersTest, ReviewWindowShowsTheFileReadOnlyUnderItsName)
{
    test::HookTableScope hooksScope;
    test::ScriptedUi ui;
    frmMain main;
    test::FakeEditor* review = nullptr;
    hooks().NewXMLEditor = [&]() -> QWidget* {
        review = new test::FakeEditor;
        review->setWindowTitle(QStringLiteral("Editor"));
        main.mdiArea()->addSubWindow(review)->show();
        return review;
    };
    ui.openFiles.push_back(QStringLiteral("/labels/spl/label.xml"));

    main.mnuFileLoadXMLFile->trigger();

    ASSERT_EQ(ui.fileRequests.size(), 1);
    EXPECT_EQ(ui.fileRequests.at(0).title, QStringLiteral("Load XML File for Review"));
    EXPECT_EQ(ui.fileRequests.at(0).filter, QStringLiteral("XML Files (*.xml)"));
    ASSERT_NE(review, nullptr);
    EXPECT_EQ(review->windowTitle(), QStringLiteral("XML File Viewer [label.xml]"));
    EXPECT_EQ(review->calls,
              QStringList({"setMode(View)", "XMLOnTreeView(/labels/spl/label.xml,View,0)"}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    review = nullptr;
    main.mnuFileLoadXMLFile->trigger();  // Cancel
    EXPECT_EQ(review, nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(FormLaunchersTest, BuildFormKeepsTypedCodeSystemsWhenShownAgain)
{
    test::HookTableScope hooksScope;
    test::ScriptedUi ui;
    test::ProgramFolderCopy folder;
    frmMain main;
    main.show();
    QWidget* form = makeBuildForm();
    int requests = 0;
    hooks().BuildSPLForm = [&] {
        ++requests;
        return form;
    };

    ShowBuildSPLForm();
    QComboBox* coAdministration = box(form, "cboConditionOfUseCoAdministrationCodeSystem");
    ASSERT_EQ(coAdministration->count(), 6);
    EXPECT_EQ(coAdministration->itemText(0), QStringLiteral("National Cancer Institute Thesaurus"));
    EXPECT_EQ(coAdministration->itemText(5), QStringLiteral("Systematized Nomenclature of Medicine"));
    EXPECT_EQ(box(form, "cboConditionOfUseMonitoringCodeSystem")->count(), 6);
    EXPECT_FALSE(form->findChild<QLabel*>(QStringLiteral("picLogo"))->pixmap().isNull());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(main.mdiArea()->currentSubWindow()->widget(), form);

    coAdministration->setEditText(QStringLiteral("My own code system"));
    form->parentWidget()->showMinimized();
    main.mnuFileConvert->trigger();
    EXPECT_EQ(requests, 2);
    EXPECT_EQ(coAdministration->count(), 6);
    EXPECT_EQ(coAdministration->currentText(), QStringLiteral("My own code system"));
    EXPECT_FALSE(form->parentWidget()->isMinimized());
    EXPECT_EQ(main.mdiArea()->subWindowList().size(), 1);
}

TEST(FormLaunchersTest, CompareBringsTheOpenCrossCheckForwardInsteadOfASecond)
{
    test::HookTableScope hooksScope;
    test::ScriptedUi ui;
    frmMain main;
    main.show();
    int created = 0;
    hooks().NewSPLCrossCheckForm = [&] {
        ++created;
        auto* form = new QWidget;
        form->setWindowTitle(QStringLiteral("Compare SPL Files"));
        return form;
    };

    main.mnuSPLCrossCheck->trigger();
    QMdiSubWindow* crossCheck = main.mdiArea()->currentSubWindow();
    ASSERT_NE(crossCheck, nullptr);
    auto* other = new QWidget;
    main.mdiArea()->addSubWindow(other)->show();
    main.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(other->parentWidget()));
    crossCheck->showMinimized();
    main.mnuSPLCrossCheck->trigger();

    EXPECT_EQ(created, 1);
    EXPECT_EQ(main.mdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(main.mdiArea()->currentSubWindow(), crossCheck);
    EXPECT_FALSE(crossCheck->isMinimized());

    crossCheck->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    main.mnuSPLCrossCheck->trigger();  // closed: a new one opens
    EXPECT_EQ(created, 2);
    EXPECT_EQ(main.mdiArea()->subWindowList().size(), 2);
}

TEST(FormLaunchersTest, WindowsOfMissingSubsystemsOpenNothing)
{
    test::HookTableScope hooksScope;
    test::ScriptedUi ui;
    frmMain main;
    main.mnuFileLoadXMLFile->trigger();
    main.mnuFileConvert->trigger();
    main.mnuSPLCrossCheck->trigger();
    EXPECT_TRUE(ui.fileRequests.isEmpty());
    EXPECT_TRUE(main.mdiArea()->subWindowList().isEmpty());
}
