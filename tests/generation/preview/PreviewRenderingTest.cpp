// The preview's page is made by the stylesheet program (veldra-xslt) while the windows stay
// alive: the page is the one the stylesheet makes in-process, a label of tens of thousands of
// comments renders, only work past the cap is refused, and Cancel, Esc or a failing program
// leave everything as it was with a message that says why.
#include "generation/CheckingTestSupport.h"
#include "generation/SettingsFromSPL.h"

#include "generation/ProgramWindows.h"
#include "generation/preview/LabelLinkMarks.h"
#include "generation/preview/PreviewSPLFile.h"
#include "generation/preview/PreviewSPLR4Document.h"
#include "generation/preview/PreviewTransform.h"
#include "generation/preview/SPLRendering.h"
#include "generation/preview/frmPreview.h"
#include "platform/ui/WorkProgress.h"
#include "platform/xml/resources/ResourceResolver.h"
#include "platform/xml/resources/XsltProcessor.h"
#include "platform/xml/tree/Document.h"
#include "support/ChildProcesses.h"
#include "support/Fixtures.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace veldra;
using namespace std::chrono_literals;

namespace {

const QString Cough = QStringLiteral("spl-documents/openfda-cough-otc/cough.xml");

// The cough label with `inserted` in a paragraph of its first text.
QString coughWith(const QString& inserted)
{
    QString text = test::readTextFile(test::fixture(Cough));
    text.insert(text.indexOf(QStringLiteral("<text>")) + 6, QStringLiteral("<paragraph>%1</paragraph>").arg(inserted));
    return text;
}

xml::Document parsed(const QString& text)
{
    xml::Document spl;
    EXPECT_TRUE(spl.loadXml(text));
    return spl;
}

QString besideTheTests(const QString& name)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

// Until the end of the test: the stylesheet program `path` with the cap `cap`.
class TransformInPlace {
public:
    TransformInPlace(const QString& path, PreviewWorkCap cap) { setPreviewTransformForTesting(path, cap); }
    ~TransformInPlace() { setPreviewTransformForTesting(QString(), {}); }
};

class StopHookInPlace {
public:
    explicit StopHookInPlace(ui::WorkProgress::StopHook hook) { ui::WorkProgress::setStopHook(std::move(hook)); }
    ~StopHookInPlace() { ui::WorkProgress::setStopHook({}); }
};

class PreviewRenderingTest : public test::CheckingTest {
protected:
    // A stylesheet set whose spl.xsl visits every node once per node, for as long as a test
    // lets it: 40,000 line breaks take it billions of steps.
    void useEndlessStylesheet()
    {
        const QString folder = dir.file(QStringLiteral("endless"));
        QDir().mkpath(folder);
        test::writeTextFile(folder + QStringLiteral("/spl.xsl"), QStringLiteral(
            "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
            "<xsl:template match=\"/\"><html><xsl:for-each select=\"//node()\"><xsl:value-of select=\"count(//node())\"/>"
            "</xsl:for-each></html></xsl:template></xsl:stylesheet>"));
        xml::setLocalRootForTesting(xml::ResourceKind::Stylesheet, folder);
    }
    static QString endlessLabel() { return coughWith(QStringLiteral("<br/>").repeated(40000)); }

    // A shell script in the test's folder, to run in the stylesheet program's place.
    QString script(const QString& name, const QString& body) const
    {
        const QString path = dir.file(name);
        test::writeTextFile(path, QStringLiteral("#!/bin/sh\n") + body + QLatin1Char('\n'));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        return path;
    }

    QList<frmPreview*> previewWindows() const
    {
        QList<frmPreview*> windows;
        for (QWidget* window : programWindows())
            if (auto* preview = qobject_cast<frmPreview*>(window))
                windows << preview;
        return windows;
    }

    // Previews the label through the menu's entry; the one message it gave.
    QString previewRefusal(const QString& label, ui::Icon icon = ui::Icon::Critical)
    {
        const QString file = writeFile(QStringLiteral("label.xml"), label);
        ui.messages.clear();
        ui.openFiles.push_back(file);
        PreviewSPLFile();
        EXPECT_EQ(test::readTextFile(file), label);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"label.xml"});
        EXPECT_TRUE(previewWindows().isEmpty());
        EXPECT_EQ(ui.messages.size(), 1);
        if (ui.messages.isEmpty())
            return {};
        EXPECT_EQ(ui.messages[0].icon, icon);
        return ui.messages[0].text;
    }
};

// What the stylesheet made in this process before the page moved into its own program.
QString pageInProcess(const xml::Document& spl)
{
    const QString folder = test::fixture(QStringLiteral("spl-stylesheet-6.2"));
    const xml::XsltParameters parameters = {
        {QStringLiteral("css"), QUrl::fromLocalFile(folder + QStringLiteral("/spl.css")).toString()},
        {QStringLiteral("resourcesdir"), QUrl::fromLocalFile(folder + QLatin1Char('/')).toString()}};
    return xml::XsltProcessor().transformDocument(folder + QStringLiteral("/spl.xsl"), spl, parameters).text;
}

TEST_F(PreviewRenderingTest, RealLabelsGiveThePageTheStylesheetMakesInProcess)
{
    for (const char* label : {"spl-documents/openfda-lipitor-rx/lipitor-orig.xml",
                              "spl-documents/openfda-viagra-rx-with-images/64f8040f-938d-4236-8e22-c838c9b5f8da.xml",
                              "spl-documents/openfda-cough-otc/cough.xml"}) {
        SCOPED_TRACE(label);
        xml::Document spl;
        ASSERT_TRUE(spl.load(test::fixture(QLatin1String(label))));
        const RenderedSPL page = RenderSPLDocument(spl);
        ASSERT_TRUE(page.ok()) << page.problem.toStdString();
        EXPECT_GT(page.html.size(), 10000);
        // The label goes to the stylesheet with its links marked, which changes their
        // addresses only: the page says the same.
        xml::Document marked;
        ASSERT_TRUE(marked.loadXml(QString::fromUtf8(withMarkedLinks(spl).bytes)));
        EXPECT_EQ(page.html, pageInProcess(marked));
        static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
        EXPECT_EQ(QString(page.html).remove(tag), pageInProcess(spl).remove(tag));
    }
}

// Comments and instructions show nothing, and the stylesheet's walks over them would cost a
// square of their number (40,000 took minutes): the page is that of the label without them.
TEST_F(PreviewRenderingTest, TensOfThousandsOfCommentsOrInstructionsRenderAsNothing)
{
    const RenderedSPL plain = RenderSPLDocument(parsed(coughWith(QStringLiteral("x"))));
    ASSERT_TRUE(plain.ok()) << plain.problem.toStdString();
    for (const QString& unseen : {QStringLiteral("<!--note-->"), QStringLiteral("<?note pi?>")}) {
        SCOPED_TRACE(unseen.toStdString());
        const RenderedSPL page = RenderSPLDocument(parsed(coughWith(unseen.repeated(40000) + QStringLiteral("x"))));
        ASSERT_TRUE(page.ok()) << page.problem.toStdString();
        EXPECT_EQ(page.html, plain.html);
    }
}

TEST_F(PreviewRenderingTest, WorkPastTheCapIsRefusedWithWhatWasTooLargeAndWhatToDo)
{
    const struct {
        const char* limit;
        PreviewWorkCap cap;
        bool endless;
        const char* said;
    } rows[] = {
        {"steps", {1000, 60}, false, "the SPL stylesheet took 1,000 steps on it, the most a preview may take"},
        {"processor time", {0, 1}, true, "worked on it for 1 seconds of processor time, the most a preview may take"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.limit);
        if (row.endless)
            useEndlessStylesheet();
        const TransformInPlace limited(besideTheTests(QStringLiteral("veldra-xslt")), row.cap);
        const QString refusal = previewRefusal(row.endless ? endlessLabel() : coughWith(QStringLiteral("x")));
        EXPECT_TRUE(refusal.contains(QLatin1String(row.said))) << refusal.toStdString();
        EXPECT_TRUE(refusal.contains(QStringLiteral("split the label into smaller documents"))) << refusal.toStdString();
    }
    // Within the preview's cap the same label renders.
    const TransformInPlace generous(besideTheTests(QStringLiteral("veldra-xslt")), {PreviewCap.steps, 60});
    EXPECT_TRUE(RenderSPLDocument(parsed(coughWith(QStringLiteral("x")))).ok());
}

// Stopped (as Cancel does) while the program works: it ends, nothing changes, and both
// previews say so, as information rather than a failure.
TEST_F(PreviewRenderingTest, StoppingEndsTheProgramAndLeavesEverythingAsItWas)
{
    useEndlessStylesheet();
    int asked = 0;
    const StopHookInPlace stop([&asked] { return ++asked == 3; });
    EXPECT_EQ(previewRefusal(endlessLabel(), ui::Icon::Information),
              QStringLiteral("The preview was stopped before its page was ready. The SPL File is not changed."));
    EXPECT_EQ(asked, 3);
    EXPECT_TRUE(test::runningChildren(getpid(), "veldra-xslt").isEmpty()) << "the rendering program ran on after Cancel";

    // The quick preview's label is built from settings, quickly rendered: a program that
    // sleeps stands in for the stylesheet's.
    program.useShippedDefinitions();
    const QString label = writeFile(QStringLiteral("quick.xml"), coughWith(QStringLiteral("x")));
    QPointer<frmXMLEditor> editor = openEditor(test::settingsFromSPL(label).xml(), QStringLiteral("Label.xml"));
    const TransformInPlace sleeping(script(QStringLiteral("sleeping"), QStringLiteral("exec sleep 600")), PreviewCap);
    asked = 0;
    const test::ChildWatch rendering("sleep", 30s);
    PreviewSPLR4Document(editor);
    EXPECT_FALSE(rendering.outlived()) << "the rendering program ran on after Cancel";
    EXPECT_TRUE(logText().contains(QStringLiteral("The preview was stopped before its page was ready."))) << logText().toStdString();
    EXPECT_FALSE(logText().contains(QStringLiteral("Preview Rendering of SPL failed."))) << logText().toStdString();
    EXPECT_TRUE(editor);
    EXPECT_TRUE(previewWindows().isEmpty());
}

TEST_F(PreviewRenderingTest, AMissingOrFailingProgramIsNamedInTheMessage)
{
    const QString crashing = script(QStringLiteral("crashing"), QStringLiteral("kill -SEGV $$"));
    const QString refusing = script(QStringLiteral("refusing"), QStringLiteral("exit 2"));
    const QString exhausted = script(QStringLiteral("exhausted"), QStringLiteral("exit 5"));
    const struct {
        QString program;
        QString said;
    } rows[] = {
        {dir.file(QStringLiteral("none")), QStringLiteral("the program that renders it, %1, is missing. Install Veldra again.")
                                                .arg(dir.file(QStringLiteral("none")))},
        {crashing, QStringLiteral("the program that renders it (%1) ended without a page").arg(crashing)},
        {refusing, QStringLiteral("the program that renders it (%1) ended without a page").arg(refusing)},
        {exhausted, QStringLiteral("the SPL stylesheet needed more memory on it than a preview may take")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.program.toStdString());
        const TransformInPlace failing(row.program, PreviewCap);
        // More than a pipe holds: a program that ends without reading it all ends no more than itself.
        const RenderedSPL page = RenderSPLDocument(parsed(coughWith(QStringLiteral("x").repeated(300000))));
        EXPECT_TRUE(page.html.isEmpty());
        EXPECT_TRUE(page.problem.contains(row.said)) << page.problem.toStdString();
    }
}

// The real progress window: Esc or its Cancel button ends a program that would run for minutes.
TEST_F(PreviewRenderingTest, EscOrCancelOnTheProgressWindowStopsThePreview)
{
    const TransformInPlace slow(script(QStringLiteral("sleeping"), QStringLiteral("exec sleep 600")), PreviewCap);
    for (const bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Esc" : "Cancel");
        QTimer press;
        QObject::connect(&press, &QTimer::timeout, [&press, escape] {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* progress = qobject_cast<QProgressDialog*>(window); progress && progress->isVisible()) {
                    press.stop();
                    if (escape)
                        QTest::keyClick(progress, Qt::Key_Escape);
                    else
                        progress->findChild<QPushButton*>()->click();
                }
        });
        press.start(50);
        const test::ChildWatch rendering("sleep", 30s);
        const RenderedSPL page = RenderSPLDocument(parsed(coughWith(QStringLiteral("x"))));
        EXPECT_FALSE(rendering.outlived()) << "the rendering program ran on after Cancel";
        EXPECT_FALSE(press.isActive());
        EXPECT_EQ(page.problem, QStringLiteral("The preview was stopped before its page was ready. The SPL File is not changed."));
    }
}

} // namespace
