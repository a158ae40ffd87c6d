#include "generation/CheckingTestSupport.h"
#include "support/LinkClick.h"

#include "app/window/frmMain.h"
#include "editor/tree/TreeView.h"
#include "generation/validation/OnlineValidation.h"
#include "generation/validation/frmValidate.h"
#include "platform/web/BrowserControl.h"
#include "support/HostileValues.h"

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

const QColor Red(255, 0, 0);
const QColor White(255, 255, 255);

const QByteArray EntryPage = R"(<html><body><h1>Validator</h1>
<form id="theForm" method="post" enctype="multipart/form-data" action="/result">
<input id="file" name="file" type="file" style="width:300px;height:40px"></form></body></html>)";

QByteArray resultPage(const QByteArray& documentId, bool withErrors)
{
    QByteArray page = "<html><body><p>Validation report</p><p>Document " + documentId + " of 2024-01-15</p>";
    if (withErrors)
        page += R"(<div class="xml-verbatim-element"><span class="xml-verbatim-element-content">&lt;name&gt;<span class="xml-verbatim-text">  lipitor </span>&lt;/name&gt;</span>
<a href="#idx1">1</a></div>
<div><span class="xml-verbatim-element-content">&lt;formCode code="<span class="xml-verbatim-attr-content">C42931</span>"/&gt;</span>
<p><b><a href="#idx2">2</a></b></p></div>)";
    return page + "<p><a href=\"#top\">top</a></p></body></html>";
}

// A web server of the test's own on 127.0.0.1: the validator's entry page at "/" and the
// result page for every form posted to "/result".
class ValidatorServer : public QObject {
public:
    ValidatorServer()
    {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    QUrl address() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server_.serverPort())); }

    QByteArray entryPage = EntryPage;
    QByteArray result = resultPage("doc-2", true);
    QByteArray posted;

private:
    void read(QTcpSocket* socket)
    {
        QByteArray& request = pending_[socket];
        request += socket->readAll();
        const qsizetype headerEnd = request.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        const QByteArray headers = request.left(headerEnd).toLower();
        qsizetype length = 0;
        if (const qsizetype at = headers.indexOf("content-length:"); at >= 0)
            length = headers.mid(at + 15, headers.indexOf("\r\n", at) - at - 15).trimmed().toLongLong();
        if (request.size() < headerEnd + 4 + length)
            return;
        QByteArray body = "not found";
        QByteArray status = "404 Not Found";
        if (request.startsWith("GET / ")) {
            body = entryPage;
            status = "200 OK";
        } else if (request.startsWith("POST /result ")) {
            posted = request.mid(headerEnd + 4);
            body = result;
            status = "200 OK";
        }
        pending_.remove(socket);
        socket->write("HTTP/1.0 " + status + "\r\nContent-Type: text/html\r\nContent-Length: "
                      + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> pending_;
};

QString settings(const QString& documentId)
{
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<SPLR4 Word2SPLID="k0">
  <GeneralData Word2SPLID="k1"><DocumentID Word2SPLID="k2">%1</DocumentID></GeneralData>
  <Products Word2SPLID="k3"><Product Word2SPLID="k4">
    <ProprietaryName Word2SPLID="k5">Lipitor</ProprietaryName>
    <DosageFormCode Word2SPLID="k6">C42931</DosageFormCode>
    <NonProprietaryName Word2SPLID="k7" lang="en">Lipitor</NonProprietaryName>
    <Note Word2SPLID="k8">Time: 10:30</Note>
  </Product></Products>
</SPLR4>)")
        .arg(documentId);
}

QStringList redCaptions(const frmXMLEditor* editor)
{
    QStringList red;
    editor->TreeView->forEachNode([&](QTreeWidgetItem* node) {
        if (nodeBackColor(node) == Red)
            red << nodeCaption(node);
    });
    return red;
}

class OnlineValidationTest : public test::CheckingTest {
protected:
    static void SetUpTestSuite() { test::prepareBrowserForTests(); }

    void SetUp() override
    {
        main->show();
        setValidatorAddressForTesting(server.address());
        picked = writeFile(QStringLiteral("label.xml"), QStringLiteral("<document>uploaded label</document>"));
        ui.openFiles.push_back(picked);
    }

    void TearDown() override
    {
        setValidatorAddressForTesting(QUrl());
        if (frmValidate* window = frmValidate::instance())
            delete window;
    }

    ValidatorServer server;
    QString picked;
};

TEST_F(OnlineValidationTest, TheReportedNodesOfTheValidatedDocumentAreMarkedInItsEditor)
{
    frmXMLEditor* other = openEditor(settings(QStringLiteral("doc-1")), QStringLiteral("One.xml"));
    frmXMLEditor* validated = openEditor(settings(QStringLiteral("doc-2")), QStringLiteral("Two.xml"));
    setNodeBackColor(node(validated, QStringLiteral("Note")), Red);
    main->SourceXMLEditor = other;

    ValidateOnline();

    EXPECT_TRUE(server.posted.contains("uploaded label"));
    EXPECT_EQ(main->SourceXMLEditor, validated);
    EXPECT_EQ(redCaptions(validated), QStringList({"Proprietary Name: Lipitor", "Dosage Form Code: C42931"}));
    EXPECT_TRUE(redCaptions(other).isEmpty());
    EXPECT_TRUE(validated->TreeView->isVisible());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Pragmatic Data Validator found errors in the SPL File.\r\n\r\n"
                                                  "See highlighted nodes in SPL Settings Tree."));
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Warning);
}

// The validator's page names the document: quotes and query text in the name (which holds no
// blank) are compared as one text, so the editor of that document is found and no other.
TEST_F(OnlineValidationTest, AReportedDocumentIdHoldingQuotesAndQueryTextFindsItsOwnEditor)
{
    frmXMLEditor* other = openEditor(settings(QStringLiteral("doc-1")), QStringLiteral("One.xml"));
    for (const QString& id : {QStringLiteral("doc\"2"), QStringLiteral("doc'3"), QStringLiteral("'\"4"),
                              QStringLiteral("\"]|//*|//*[@x=\""), QStringLiteral("doc\"or\"1\"=\"1"),
                              QStringLiteral("doc-1\"][1=2][@a=\""), test::quotePairs(3000)}) {
        SCOPED_TRACE(id.left(40).toStdString());
        frmXMLEditor* validated = openEditor(settings(id), QStringLiteral("Two.xml"));
        main->SourceXMLEditor = other;
        server.result = resultPage(id.toHtmlEscaped().toUtf8(), true);
        ui.openFiles.push_back(picked);

        ValidateOnline();

        EXPECT_EQ(main->SourceXMLEditor, validated);
        EXPECT_EQ(redCaptions(validated).size(), 2);
    }
}

TEST_F(OnlineValidationTest, ErrorsOfADocumentThatIsNotOpenAskForItsSettingsFile)
{
    frmXMLEditor* current = openEditor(settings(QStringLiteral("doc-1")));
    server.result = resultPage("doc-9", true);

    ValidateOnline();

    EXPECT_EQ(main->SourceXMLEditor, current);
    EXPECT_EQ(ui.messages.last().text,
              QStringLiteral("Pragmatic Data Validator found errors in the SPL File.\r\n\r\n"
                             "To match the errors to the SPL Settings Tree the SPL Settings file must be open in the "
                             "application."));
}

TEST_F(OnlineValidationTest, AFileWithoutErrorsIsOkAndClearsTheFormerMarks)
{
    frmXMLEditor* editor = openEditor(settings(QStringLiteral("doc-2")));
    setNodeBackColor(node(editor, QStringLiteral("Note")), Red);
    server.result = resultPage("doc-2", false);

    ValidateOnline();

    EXPECT_TRUE(redCaptions(editor).isEmpty());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("SPL File is OK according to Pragmatic Data Validator."));
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Information);
}

TEST_F(OnlineValidationTest, AResultPageOfUnknownShapeIsReportedWithTheTreePaintingAgain)
{
    frmXMLEditor* editor = openEditor(settings(QStringLiteral("doc-2")));
    server.result = "<html><body><p>Document doc-2</p><div><a href=\"#idx1\">1</a></div></body></html>";

    ValidateOnline();

    // A page that reports on no document is no "OK" either.
    server.result = "<html><body><p>Please choose a file.</p></body></html>";
    ui.openFiles.push_back(std::nullopt);
    ValidateOnline();

    ASSERT_EQ(ui.messages.size(), 2);
    for (const ui::MessageRequest& message : ui.messages) {
        EXPECT_TRUE(message.text.startsWith(QStringLiteral("The page of the online validator was not recognised: ")));
        EXPECT_EQ(message.icon, ui::Icon::Warning);
    }
    EXPECT_TRUE(editor->TreeView->isVisible());
}

TEST_F(OnlineValidationTest, AValidatorThatCannotBeReachedOrIsNotRecognisedIsReported)
{
    openEditor(settings(QStringLiteral("doc-2")));
    server.entryPage = "<html><body><p>Maintenance</p></body></html>";
    ValidateOnline();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("The page of the online validator was not recognised")));

    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const QUrl nowhere(QStringLiteral("http://127.0.0.1:%1/").arg(closed.serverPort()));
    closed.close();
    setValidatorAddressForTesting(nowhere);
    ValidateOnline();
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages[1].text, QStringLiteral("The online validator could not be reached: ") + nowhere.toString());
    EXPECT_TRUE(server.posted.isEmpty());
}

// A click that does not reach the file input (the browser not yet ready for input; here a
// layer that covers the input for a moment) is sent again, and the chooser asks only once.
TEST_F(OnlineValidationTest, AClickThatDoesNotReachTheFileInputIsSentAgain)
{
    openEditor(settings(QStringLiteral("doc-2")));
    server.entryPage = R"(<html><body><h1>Validator</h1>
<form id="theForm" method="post" enctype="multipart/form-data" action="/result">
<input id="file" name="file" type="file" style="width:300px;height:40px"></form>
<div id="cover" style="position:absolute;left:0;top:0;width:100%;height:100%;background:white"></div>
<script>setTimeout(function () { document.getElementById('cover').remove(); }, 1200);</script></body></html>)";

    ValidateOnline();

    EXPECT_TRUE(server.posted.contains("uploaded label"));
    EXPECT_EQ(ui.fileRequests.size(), 1);
}

// The validator's pages are a web site the window browses: a mail link opens the mail program
// through the program, a web link opened in a new window (middle click, Ctrl and a click, a
// link to a new window) is followed in the window, a file's address is not, and any other
// address is named in a message.
TEST_F(OnlineValidationTest, TheValidatorsLinksOpenAsClicksAndMailGoesToTheMailProgram)
{
    server.entryPage = R"(<html><body><a href="mailto:help@example.org">mail</a><br><a href="/a">a</a><br>
<a href="/b" target="_blank">b</a><br><a href="tel:18005551234">tel</a><br><a href="file:///etc/hostname">file</a>
</body></html>)";
    frmValidate* window = frmValidate::instance();
    window->show();
    ASSERT_TRUE(window->openPage(server.address()));
    const struct {
        const char* link;
        Qt::MouseButton button;
        Qt::KeyboardModifiers keys;
        const char* shownPath;
    } rows[] = {
        {"mail", Qt::LeftButton, Qt::NoModifier, "/"},
        {"a", Qt::MiddleButton, Qt::NoModifier, "/a"},
        {"a", Qt::LeftButton, Qt::ControlModifier, "/a"},
        {"b", Qt::LeftButton, Qt::NoModifier, "/b"},
        {"tel", Qt::LeftButton, Qt::NoModifier, "/"},
        {"file", Qt::MiddleButton, Qt::NoModifier, "/"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.link);
        ASSERT_TRUE(window->openPage(server.address()));
        ASSERT_TRUE(test::clickLink(window->WebBrowser, row.link, row.button, row.keys));
        EXPECT_EQ(QUrl(window->WebBrowser->runScriptAndWait(QStringLiteral("location.href")).toString()).path(),
                  QLatin1String(row.shownPath));
    }
    EXPECT_EQ(ui.opened, QStringList{QStringLiteral("mailto:help@example.org")});
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Veldra does not open the link to 'tel:18005551234': it opens only web "
                                                  "(http, https) and mail (mailto) addresses, and places in the page."));
}

TEST_F(OnlineValidationTest, ReportedValuesMatchNodeValuesIgnoringCase)
{
    frmXMLEditor* editor = openEditor(settings(QStringLiteral("doc-2")));

    HighlightReportedNodes(QStringLiteral("LIP<br>ITOR"));
    HighlightReportedNodes(QStringLiteral("time: 10:30"));
    HighlightReportedNodes(QString());

    // The name with a shown attribute is captioned with it and does not match the bare value.
    EXPECT_EQ(redCaptions(editor), QStringList({"Proprietary Name: Lipitor", "Note: Time: 10:30"}));
    EXPECT_EQ(editor->TreeView->selectedNode(), node(editor, QStringLiteral("Note")));
}

} // namespace
