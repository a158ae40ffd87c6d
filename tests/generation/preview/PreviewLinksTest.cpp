// A label comes from others: nothing it holds may run script in the preview or read a file.
#include "generation/CheckingTestSupport.h"
#include "generation/SettingsFromSPL.h"

#include "app/log/Log.h"
#include "app/window/frmMain.h"
#include "generation/ProgramWindows.h"
#include "generation/preview/LabelLinks.h"
#include "generation/preview/PreviewSPLFile.h"
#include "generation/preview/PreviewSPLR4Document.h"
#include "generation/preview/frmPreview.h"
#include "platform/web/BrowserControl.h"
#include "platform/xml/resources/ResourceResolver.h"
#include "support/Fixtures.h"
#include "support/LinkClick.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

const QString Lipitor = QStringLiteral("spl-documents/openfda-lipitor-rx/lipitor-orig.xml");
const QString Ran = QStringLiteral("script ran");

// A link of the label: its text, its href as the SPL file writes it, and whether it may open.
struct LabelLink {
    const char* text;
    QString href;
    bool opens;
};

// Each href holds "http", so the stylesheet copies it into the page as it stands.
QList<LabelLink> labelLinks(const QString& secretUrl)
{
    const QString readSecret = QStringLiteral("javascript:void((function(){var x=new XMLHttpRequest();x.open('GET','%1',false);"
                                              "x.send();document.title=x.responseText})())//http").arg(secretUrl);
    return {
        {"L-script", QStringLiteral("javascript:void(document.title='%1')//http").arg(Ran), false},
        {"L-blank-case", QStringLiteral(" JavaScript:void(document.title='%1')//http").arg(Ran), false},
        {"L-tab", QStringLiteral("java&#9;script:void(document.title='%1')//http").arg(Ran), false},
        {"L-read", readSecret, false},
        {"L-file", secretUrl + QStringLiteral("?http"), false},
        {"L-relative", QStringLiteral("../http.view"), false},
        {"L-https", QStringLiteral("https://example.org/http"), true},
        {"L-mailto", QStringLiteral("mailto:someone@example.org?subject=http"), true},
        {"L-in-page", QStringLiteral("#http-anchor"), true},
        {"L-late-http", QStringLiteral("javascript:alert(1)//http://x"), false},
    };
}

QString linksParagraph(const QList<LabelLink>& links)
{
    QString paragraph = QStringLiteral("<paragraph>");
    for (const LabelLink& link : links)
        paragraph += QStringLiteral("<linkHtml href=\"%1\">%2</linkHtml> ").arg(link.href, QLatin1String(link.text));
    return paragraph + QStringLiteral("</paragraph>");
}

QString picture(const QString& id, const QString& reference)
{
    return QStringLiteral("<component><observationMedia ID=\"%1\"><text>%1</text><value mediaType=\"image/png\">"
                          "<reference value=\"%2\"/></value></observationMedia></component>")
        .arg(id, reference);
}

QString run(frmPreview* window, const QString& script)
{
    return window->WebBrowser->runScriptAndWait(script).toString();
}

// The first link whose text is `text`, clicked as a user would; what it starts is given time
// to happen. False when the page has no such link.
bool click(frmPreview* window, const char* text)
{
    const QString found = run(window, QStringLiteral("(function () { var a = Array.from(document.querySelectorAll('a'))"
                                                     ".find(e => e.textContent == '%1'); if (a) a.click(); return a ? 'y' : ''; })()")
                                          .arg(QLatin1String(text)));
    QTest::qWait(300);
    return !found.isEmpty();
}

frmPreview* onlyPreviewWindow()
{
    frmPreview* found = nullptr;
    for (QWidget* window : programWindows())
        if (auto* preview = qobject_cast<frmPreview*>(window))
            found = preview;
    return found;
}

class PreviewLinksTest : public test::CheckingTest {
protected:
    static void SetUpTestSuite() { test::prepareBrowserForTests(); }

    PreviewLinksTest()
    {
        main->show();
        QDir().mkpath(dir.file(QStringLiteral("outside")));
        writeFile(QStringLiteral("outside/secret.txt"), QStringLiteral("SECRET-CONTENT"));
        QImage red(40, 40, QImage::Format_RGB32);
        red.fill(Qt::red);
        red.save(dir.file(QStringLiteral("outside/picture.png")));
        QDir().mkpath(dir.file(QStringLiteral("label")));
        red.save(dir.file(QStringLiteral("label/inside.png")));
        useStylesheetWithItsScript();
    }

    QString secretUrl() const { return QUrl::fromLocalFile(dir.file(QStringLiteral("outside/secret.txt"))).toString(); }

    // The agency's stylesheet with a script of its own, as the page links it: its toggles
    // leave a mark on the page.
    void useStylesheetWithItsScript() const
    {
        const QString folder = dir.file(QStringLiteral("stylesheet"));
        QDir().mkpath(folder);
        const QDir fixture(test::fixture(QStringLiteral("spl-stylesheet-6.2")));
        for (const QString& name : fixture.entryList(QDir::Files))
            QFile::copy(fixture.filePath(name), folder + QLatin1Char('/') + name);
        test::writeTextFile(folder + QStringLiteral("/spl.js"),
                            QStringLiteral("function toggleMixin() { document.body.setAttribute('data-toggled', 'yes'); }"));
        xml::setLocalRootForTesting(xml::ResourceKind::Stylesheet, folder);
    }

    // The real label with the links in its indications and two pictures: one beside the
    // file, one named by an address outside every folder of the page.
    QString hostileLabel() const
    {
        QString text = test::readTextFile(test::fixture(Lipitor));
        const qsizetype section = text.indexOf(QStringLiteral("code=\"34067-9\""));
        const qsizetype textStart = text.indexOf(QStringLiteral("<text>"), section) + 6;
        const QString pictures = QStringLiteral("<paragraph><renderMultiMedia referencedObject=\"MM-inside\"/>"
                                                "<renderMultiMedia referencedObject=\"MM-outside\"/></paragraph>");
        const QString lastSection = QStringLiteral("<paragraph><linkHtml href=\"#S17.4\">L-last-section</linkHtml></paragraph>");
        text.insert(textStart, linksParagraph(labelLinks(secretUrl())) + pictures + lastSection);
        const QString outsidePicture = QUrl::fromLocalFile(dir.file(QStringLiteral("outside/picture.png"))).toString();
        text.insert(text.indexOf(QStringLiteral("</section>"), textStart),
                    picture(QStringLiteral("MM-inside"), QStringLiteral("inside.png"))
                        + picture(QStringLiteral("MM-outside"), outsidePicture));
        return writeFile(QStringLiteral("label/hostile.xml"), text);
    }

    frmPreview* previewOf(const QString& label)
    {
        ui.openFiles.push_back(label);
        PreviewSPLFile();
        return onlyPreviewWindow();
    }

    // The warnings that name a link made inert.
    int inertLinkWarnings() const
    {
        return int(logText().count(QStringLiteral("The preview shows the link to '")));
    }
};

TEST_F(PreviewLinksTest, ALabelsLinksOpenOnlyWebMailAndInPageAddressesWhileTheStylesheetsToggleWorks)
{
    frmPreview* window = previewOf(hostileLabel());
    ASSERT_NE(window, nullptr);
    const QString page = run(window, QStringLiteral("location.href"));
    ASSERT_TRUE(page.endsWith(QStringLiteral("/preview.html")));

    for (const LabelLink& link : labelLinks(secretUrl())) {
        SCOPED_TRACE(link.text);
        const QString href = run(window, QStringLiteral("(Array.from(document.querySelectorAll('a')).find(e => e.textContent "
                                                        "== '%1') || {}).getAttribute?.('href') || ''")
                                             .arg(QLatin1String(link.text)));
        EXPECT_EQ(!href.isEmpty(), link.opens) << href.toStdString();
        // A web or mail link goes to the desktop's browser or mail program; the page stays.
        ASSERT_TRUE(click(window, link.text));
        EXPECT_EQ(run(window, QStringLiteral("location.href")).section(QLatin1Char('#'), 0, 0), page);
        EXPECT_EQ(run(window, QStringLiteral("document.title")).contains(Ran), false);
        EXPECT_FALSE(run(window, QStringLiteral("document.documentElement.outerHTML")).contains(QStringLiteral("SECRET-CONTENT")));
    }
    EXPECT_EQ(ui.opened, QStringList({QStringLiteral("https://example.org/http"),
                                      QStringLiteral("mailto:someone@example.org?subject=http")}));
    EXPECT_TRUE(run(window, QStringLiteral("document.body.innerText")).contains(QStringLiteral("INDICATIONS AND USAGE")));
    EXPECT_EQ(inertLinkWarnings(), 7);
    EXPECT_TRUE(logHas(log_category::Warning,
                       QStringLiteral("The preview shows the link to '../http.view' as text: it is a relative path, which a "
                                      "label's link does not open (a web address begins with http://, https:// or www.).")));

    // The stylesheet's own script loaded, and its toggle (a script link) still runs.
    EXPECT_EQ(run(window, QStringLiteral("typeof toggleMixin")), QStringLiteral("function"));
    ASSERT_TRUE(click(window, "Document Id: "));
    EXPECT_EQ(run(window, QStringLiteral("document.body.getAttribute('data-toggled')")), QStringLiteral("yes"));
}

// Nothing the page holds replaces it: not a link that opens a window, a script's window, a
// form, a refresh or a script's change of address. An in-page link scrolls.
TEST_F(PreviewLinksTest, NothingInThePageNavigatesThePreviewAwayAndAnInPageLinkScrolls)
{
    frmPreview* window = previewOf(hostileLabel());
    ASSERT_NE(window, nullptr);
    window->resize(600, 400);
    const QString page = run(window, QStringLiteral("location.href"));
    const char* leaving[] = {
        "var a = document.createElement('a'); a.href = 'https://example.org/'; a.target = '_blank'; a.textContent = 'x'; "
        "document.body.appendChild(a); a.click();",
        "window.open('%1');",
        "var f = document.createElement('form'); f.method = 'post'; f.action = 'https://example.org/'; "
        "document.body.appendChild(f); f.submit();",
        "var m = document.createElement('meta'); m.httpEquiv = 'refresh'; m.content = '0; url=%1'; "
        "document.head.appendChild(m);",
        "location.href = '%1';",
    };
    for (const char* script : leaving) {
        SCOPED_TRACE(script);
        window->WebBrowser->runScript(QString::fromLatin1(script).arg(secretUrl()));
        QTest::qWait(500);
        EXPECT_EQ(run(window, QStringLiteral("location.href")), page);
        EXPECT_TRUE(run(window, QStringLiteral("document.body.innerText")).contains(QStringLiteral("INDICATIONS AND USAGE")));
    }
    EXPECT_EQ(onlyPreviewWindow(), window);

    ASSERT_TRUE(click(window, "L-last-section"));
    EXPECT_EQ(run(window, QStringLiteral("location.hash")), QStringLiteral("#S17.4"));
    EXPECT_GT(window->scrollTop(), 0);
    EXPECT_TRUE(ui.opened.isEmpty());

    // A desktop without a mail program says so; the page stays.
    ui.shellOpenSucceeds = false;
    ui.messages.clear();
    ASSERT_TRUE(click(window, "L-mailto"));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("The desktop has no mail program to write to this address:")));
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("mailto:someone@example.org?subject=http")));
    EXPECT_EQ(run(window, QStringLiteral("location.href")).section(QLatin1Char('#'), 0, 0), page);
}

TEST_F(PreviewLinksTest, ThePageReadsFilesOnlyFromItsOwnFolderAndTheStylesheets)
{
    frmPreview* window = previewOf(hostileLabel());
    ASSERT_NE(window, nullptr);
    const QString read = QStringLiteral("(function () { var x = new XMLHttpRequest(); try { x.open('GET', '%1', false); "
                                        "x.send(); return x.responseText.length ? 'read' : 'empty'; } catch (e) { return 'refused'; } })()");
    EXPECT_EQ(run(window, read.arg(secretUrl())), QStringLiteral("refused"));
    EXPECT_EQ(run(window, read.arg(QStringLiteral("file:///etc/hostname"))), QStringLiteral("refused"));
    const QString css = QUrl::fromLocalFile(dir.file(QStringLiteral("stylesheet/spl.css"))).toString();
    EXPECT_EQ(run(window, read.arg(css)), QStringLiteral("read"));
    // A folder beside the page's or the stylesheet's whose name begins with theirs is outside.
    for (const QString& sibling : {dir.file(QStringLiteral("stylesheet-old")), window->ownFolder() + QStringLiteral("-old")}) {
        QDir().mkpath(sibling);
        test::writeTextFile(sibling + QStringLiteral("/secret.txt"), QStringLiteral("SECRET-CONTENT"));
        EXPECT_EQ(run(window, read.arg(QUrl::fromLocalFile(sibling + QStringLiteral("/secret.txt")).toString())),
                  QStringLiteral("refused")) << sibling.toStdString();
    }
    QDir(window->ownFolder() + QStringLiteral("-old")).removeRecursively();

    const QString loaded = QStringLiteral("(Array.from(document.images).find(i => i.alt == '%1') || {}).naturalWidth");
    EXPECT_EQ(window->WebBrowser->runScriptAndWait(loaded.arg(QStringLiteral("MM-inside"))).toInt(), 40);
    EXPECT_EQ(window->WebBrowser->runScriptAndWait(loaded.arg(QStringLiteral("MM-outside"))).toInt(), 0);
    // Nothing beside the label but the picture it shows is copied for the page.
    EXPECT_EQ(QDir(window->ownFolder()).entryList(QDir::Files, QDir::Name),
              QStringList({"inside.png", "preview.html"}));
}

TEST_F(PreviewLinksTest, AThousandInertLinksAreNamedAndTheRestCounted)
{
    QString text = test::readTextFile(test::fixture(Lipitor));
    const QString links = QStringLiteral("<paragraph>%1</paragraph>")
                              .arg(QStringLiteral("<linkHtml href=\"javascript:void(0)//http\">x</linkHtml>").repeated(1005));
    text.insert(text.indexOf(QStringLiteral("<text>"), text.indexOf(QStringLiteral("code=\"34067-9\""))) + 6, links);

    ASSERT_NE(previewOf(writeFile(QStringLiteral("label/many.xml"), text)), nullptr);

    EXPECT_EQ(inertLinkWarnings(), 1000);
    EXPECT_TRUE(logHas(log_category::Warning, QStringLiteral("The preview shows 5 more links of the label as text.")));
}

// Each link is judged by the address the label gives, not by the one the stylesheet makes of it
// (it writes an href without "http" in it behind "http://"): no click leaves the page, only
// web and mail addresses open, and every link that stays unopened is named in the log with the
// reason.
TEST_F(PreviewLinksTest, LinksAreJudgedByTheLabelsOwnAddress)
{
    enum Why { Opens, Relative, Scheme, Invalid };
    const struct {
        const char* text;
        const char* href;
        Why why;
        const char* opened; // what the desktop is asked to open, if anything
    } rows[] = {
        {"R-file", "other.xml", Relative, ""},
        {"R-dot", "./a/b.html", Relative, ""},
        {"R-up", "../x", Relative, ""},
        {"R-word", "label", Relative, ""},
        {"R-query", "other.xml?page=2&x=a:b", Relative, ""},
        {"R-fragment", "other.xml#S17.4", Relative, ""},
        {"R-web-like", "wwwexample.org/label", Relative, ""},
        {"W-www", "www.example.org/label", Opens, "http://www.example.org/label"},
        {"W-www-upper", " WWW.example.org", Opens, "http://www.example.org/"},
        {"R-blank", "Package Insert.pdf", Relative, ""},
        {"R-network", "//example.org/x", Relative, ""},
        {"R-empty", "", Relative, ""},
        {"R-http-in-name", "other-http.xml", Relative, ""},
        {"A-place", "#S17.4", Opens, ""},
        {"W-http", "http://www.example.org/label", Opens, "http://www.example.org/label"},
        {"W-blank", "https://www.example.org/package insert.pdf", Opens, "https://www.example.org/package insert.pdf"},
        {"W-port", "https://www.example.org:65535/a", Opens, "https://www.example.org:65535/a"},
        {"W-bad-port", "https://www.example.org:65536/a", Invalid, ""},
        {"W-blank-host", "http://Package Insert.pdf", Invalid, ""},
        {"M-mail", "mailto:someone@example.org", Opens, "mailto:someone@example.org"},
        {"M-query", "mailto:someone@example.org?subject=Label&body=x", Opens,
         "mailto:someone@example.org?subject=Label&body=x"},
        {"S-tel", "tel:18005551234", Scheme, ""},
        {"S-tel-blank", " tel:1 800 555 ", Scheme, ""},
        {"S-script", "javascript:document.title='script ran'", Scheme, ""},
        {"S-data", "data:text/plain,x", Scheme, ""},
        {"S-file", "file:///etc/hostname", Scheme, ""},
        {"S-mark", "veldra-label-link-http:0", Scheme, ""},
    };
    const QString reasons[] = {QString(), QStringLiteral("it is a relative path, which a label's link does not open"),
                               QStringLiteral("a label's link opens only an http, https, mailto"),
                               QStringLiteral("it is not a valid web address.")};
    QString paragraph = QStringLiteral("<paragraph>");
    for (const auto& row : rows)
        paragraph += QStringLiteral("<linkHtml href=\"%1\">%2</linkHtml> ")
                         .arg(QString::fromUtf8(row.href).toHtmlEscaped(), QLatin1String(row.text));
    QString text = test::readTextFile(test::fixture(Lipitor));
    text.insert(text.indexOf(QStringLiteral("<text>"), text.indexOf(QStringLiteral("code=\"34067-9\""))) + 6,
                paragraph + QStringLiteral("</paragraph>"));
    frmPreview* window = previewOf(writeFile(QStringLiteral("label/links.xml"), text));
    ASSERT_NE(window, nullptr);
    const QString page = run(window, QStringLiteral("location.href"));

    QStringList opened;
    int inert = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        ASSERT_TRUE(click(window, row.text));
        EXPECT_EQ(run(window, QStringLiteral("location.href")).section(QLatin1Char('#'), 0, 0), page);
        EXPECT_FALSE(run(window, QStringLiteral("document.title")).contains(Ran));
        if (*row.opened)
            opened << QString::fromUtf8(row.opened);
        inert += row.why != Opens;
        const QString named = QStringLiteral("The preview shows the link to '%1' as text: ")
                                  .arg(QString::fromUtf8(row.href).trimmed());
        EXPECT_EQ(logText().contains(named + reasons[row.why]), row.why != Opens);
    }
    EXPECT_EQ(ui.opened, opened);
    EXPECT_EQ(inertLinkWarnings(), inert);
    EXPECT_EQ(run(window, QStringLiteral("location.hash")), QStringLiteral("#S17.4"));
    for (const ui::MessageRequest& message : ui.messages)
        EXPECT_FALSE(message.text.startsWith(QStringLiteral("Veldra does not open"))) << message.text.toStdString();
}

// A middle click, Ctrl and a click, Shift and a click, and a click on a link to a new window
// each act as a click on the link; the context menu offers no item that opens a link elsewhere.
TEST_F(PreviewLinksTest, ALinkOpenedInANewWindowActsAsAClickAndTheContextMenuOffersNoOtherWay)
{
    frmPreview* window = previewOf(hostileLabel());
    ASSERT_NE(window, nullptr);
    window->resize(800, 600);
    const QString page = run(window, QStringLiteral("location.href"));
    run(window, QStringLiteral("var a = document.createElement('a'); a.href = 'https://example.org/new'; a.target = '_blank'; "
                               "a.textContent = 'L-new-window'; document.body.prepend(a); ''"));
    const struct {
        const char* link;
        Qt::MouseButton button;
        Qt::KeyboardModifiers keys;
        const char* opened;
    } rows[] = {
        {"L-https", Qt::MiddleButton, Qt::NoModifier, "https://example.org/http"},
        {"L-https", Qt::LeftButton, Qt::ControlModifier, "https://example.org/http"},
        {"L-mailto", Qt::LeftButton, Qt::ShiftModifier, "mailto:someone@example.org?subject=http"},
        {"L-new-window", Qt::LeftButton, Qt::NoModifier, "https://example.org/new"},
        {"L-script", Qt::MiddleButton, Qt::NoModifier, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.link);
        ui.opened.clear();
        ASSERT_TRUE(test::clickLink(window->WebBrowser, row.link, row.button, row.keys));
        EXPECT_EQ(ui.opened, row.opened ? QStringList{QString::fromUtf8(row.opened)} : QStringList());
        EXPECT_EQ(run(window, QStringLiteral("location.href")).section(QLatin1Char('#'), 0, 0), page);
    }
    // Every click on an in-page link scrolls there, also when the page went there before.
    const std::pair<Qt::MouseButton, Qt::KeyboardModifiers> inPageClicks[] = {
        {Qt::LeftButton, Qt::NoModifier}, {Qt::MiddleButton, Qt::NoModifier}, {Qt::LeftButton, Qt::ControlModifier},
        {Qt::LeftButton, Qt::ShiftModifier}, {Qt::MiddleButton, Qt::NoModifier}};
    for (const auto& [button, keys] : inPageClicks) {
        SCOPED_TRACE(testing::Message() << button << ' ' << keys);
        ASSERT_TRUE(test::clickLink(window->WebBrowser, "L-last-section", button, keys));
        EXPECT_EQ(run(window, QStringLiteral("(function () { var t = document.getElementById('S17.4') || "
                                             "document.getElementsByName('S17.4')[0]; var r = t.getBoundingClientRect(); "
                                             "return r.top >= -1 && r.top < innerHeight ? 'shown' : 'away'; })()")),
                  QStringLiteral("shown"));
    }
    EXPECT_TRUE(ui.opened.isEmpty());

    ASSERT_TRUE(test::clickLink(window->WebBrowser, "L-https", Qt::RightButton));
    QMenu* menu = nullptr;
    for (QWidget* shown : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<QMenu*>(shown); found && found->isVisible())
            menu = found;
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (const QAction* action : menu->actions())
        items << action->text();
    EXPECT_TRUE(items.contains(QStringLiteral("Copy link address"))) << items.join(QLatin1Char('|')).toStdString();
    for (const char* opening : {"Follow link", "Open link in new tab", "Open link in new window", "Save link", "View page source"})
        EXPECT_FALSE(items.contains(QLatin1String(opening))) << opening;
    menu->close();
    EXPECT_EQ(run(window, QStringLiteral("location.href")).section(QLatin1Char('#'), 0, 0), page);
}

// The quick preview shows what an import from someone's SPL file put in the settings.
TEST_F(PreviewLinksTest, TheQuickPreviewMakesTheSameLinksInertAndNamesThem)
{
    program.useShippedDefinitions();
    frmXMLEditor* editor = openEditor(test::settingsFromSPL(hostileLabel()).xml(), QStringLiteral("Label.xml"));
    closeLog();

    PreviewSPLR4Document(editor);

    frmPreview* window = onlyPreviewWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(click(window, "L-script"));
    EXPECT_FALSE(run(window, QStringLiteral("document.title")).contains(Ran));
    EXPECT_GE(inertLinkWarnings(), 5);
    EXPECT_TRUE(logText().contains(QStringLiteral("The preview shows the link to 'javascript:void(document.title=")));
}

// The page as the stylesheet writes it: only a link's href is taken away, and only where the
// browser would read it as a link.
TEST(LabelLinksTest, OnlyTheHrefOfALinkThatMayNotOpenIsRemoved)
{
    const struct {
        const char* html;
        const char* expected;
    } rows[] = {
        {R"(<a class="x" href="javascript:go()//http" title="t">a</a>)", R"(<a class="x" title="t">a</a>)"},
        {R"(<A HREF='file:///etc/hostname'>a</A>)", R"(<A>a</A>)"},
        {R"(<a href=vbscript:x>a</a>)", R"(<a>a</a>)"},
        {R"(<a href="&#106;avascript:x">a</a>)", R"(<a>a</a>)"},
        {R"(<a href="&#x23;top">a</a><a href="HTTPS://x">b</a>)", R"(<a href="&#x23;top">a</a><a href="HTTPS://x">b</a>)"},
        {R"(<a href="javascript:alert(1)//http://x">a</a><a href="data:,mailto:x">b</a>)", R"(<a>a</a><a>b</a>)"},
        {R"(<a href="javascript:toggleMixin();">Document Id: </a>)", R"(<a href="javascript:toggleMixin();">Document Id: </a>)"},
        {R"(<link href="spl.css"><img src="x.png"><p title="<a href='javascript:x'>">)",
         R"(<link href="spl.css"><img src="x.png"><p title="<a href='javascript:x'>">)"},
        {R"(<!-- <a href="javascript:x"> --><script>var a = '<a href="javascript:x">';</script>)",
         R"(<!-- <a href="javascript:x"> --><script>var a = '<a href="javascript:x">';</script>)"},
        {R"(<a href="mailto:a@b.org?subject=x&amp;body=&quot;y&quot;" id="m">a</a>)",
         R"(<a href="mailto:a@b.org?subject=x&amp;body=&quot;y&quot;" id="m">a</a>)"},
        {R"(<a href="http://a b.pdf">a</a><a href="http://">b</a><a href="http://x.org/a b.pdf">c</a>)",
         R"(<a>a</a><a>b</a><a href="http://x.org/a b.pdf">c</a>)"},
        {R"(<a href="http://other.xml">a</a><a href="../x.view">b</a>)", R"(<a href="http://other.xml">a</a><a>b</a>)"},
        // A marked link gets the label's own address back, read once.
        {R"(<a href="veldra-label-link-http:0#S1" id="m">a</a><a href="veldra-label-link-http:1">b</a>)",
         R"(<a id="m">a</a><a href="https://x.org/?a=1&amp;amp;b&lt;">b</a>)"},
        {R"(<a href="veldra-label-link-http:2">a</a><a href="veldra-label-link-http:3">b</a>)",
         R"(<a href="mailto:a@b.org">a</a><a>b</a>)"},
    };
    const QStringList hrefs = {QStringLiteral("other.xml#S1"), QStringLiteral(" https://x.org/?a=1&amp;b< "),
                               QStringLiteral("mailto:a@b.org")};
    for (const auto& row : rows)
        EXPECT_EQ(withInertLabelLinks(QString::fromUtf8(row.html), hrefs).html, QString::fromUtf8(row.expected)) << row.html;
    EXPECT_EQ(withInertLabelLinks(QStringLiteral("<a href=\" java\tscript:x\"><a href=\"http://a b\">"
                                                 "<a href=\"veldra-label-link-http:0#S1\"><a href=\"veldra-label-link-http:3\">"),
                                  hrefs)
                  .madeInert,
              QList<InertLink>({{QStringLiteral("javascript:x"), InertLink::Reason::NotOpenable},
                                {QStringLiteral("http://a b"), InertLink::Reason::NotValid},
                                {QStringLiteral("other.xml#S1"), InertLink::Reason::RelativePath},
                                {QStringLiteral("veldra-label-link-http:3"), InertLink::Reason::NotOpenable}}));
}

} // namespace
