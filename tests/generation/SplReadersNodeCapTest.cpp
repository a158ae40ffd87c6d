// Every reader of an SPL file counts its nodes and namespace declarations before it builds a
// tree of it: a file past either bound is refused with the reason, through the command that
// reads it, and a real label at the bound is read.
#include "generation/CheckingTestSupport.h"

#include "app/log/Log.h"
#include "editor/tree/TreeView.h"
#include "generation/building/AddSPLFromFile.h"
#include "generation/crosscheck/CrossCheck.h"
#include "generation/preview/PreviewSPLFile.h"
#include "generation/reverse/ImportDataFromSPLFile.h"
#include "platform/core/VbError.h"
#include "platform/xml/io/LoadOptions.h"
#include "support/Fixtures.h"
#include "support/HostileValues.h"
#include "support/XmlDocument.h"

#include <gtest/gtest.h>

#include <functional>

using namespace veldra;

namespace {

const QString NodesReason = QStringLiteral("The document holds more than 1,000,000 nodes (elements, attributes, "
                                           "namespace declarations, texts, comments and processing instructions "
                                           "together)");
const QString NamespacesReason = QStringLiteral("An element has more than 256 namespace declarations (xmlns "
                                                "attributes) in scope");

class SplReadersNodeCapTest : public test::CheckingTest {
protected:
    // A label of one node past the cap: the document, its namespace and the CDATA sections
    // and texts it holds.
    QString oversizedLabel() const
    {
        return writeFile(QStringLiteral("huge.xml"),
                         QStringLiteral("<document xmlns=\"urn:hl7-org:v3\">%1</document>")
                             .arg(QStringLiteral("<![CDATA[a]]>b").repeated(int(xml::kMaxOutsideFileNodes / 2))));
    }

    // The cough label with `count` namespace declarations in all on its document element.
    QString declaringLabel(const QString& name, qint64 count) const
    {
        QString label = test::readTextFile(test::fixture(QStringLiteral("spl-documents/openfda-cough-otc/cough.xml")));
        label.replace(QStringLiteral("xmlns=\"urn:hl7-org:v3\""), QStringLiteral("xmlns=\"urn:hl7-org:v3\"") + test::namespaceDeclarations(count - 2));
        return writeFile(name, label);
    }

    // What the command said: its message boxes and the log.
    QString said() const
    {
        QString all = logText();
        for (const auto& message : ui.messages)
            all += message.text;
        return all;
    }

    // What each reader of SPL files said about `huge`, its name first.
    QStringList eachReaderSays(const QString& huge)
    {
        const QString small = test::fixture(QStringLiteral("spl-documents/openfda-cough-otc/cough.xml"));
        const struct {
            const char* reader;
            std::function<void()> run;
        } readers[] = {
            {"Compare", [&] { CompareSPLFiles(small, QString(), huge, QString(), false); }},
            {"the description Compare fills in",
             [&] {
                 try {
                     GetSPLDisplayName(huge);
                 } catch (const VbError& error) {
                     WriteLog(log_category::Error, error.description());
                 }
             }},
            {"Preview SPL File",
             [&] {
                 ui.openFiles.push_back(huge);
                 PreviewSPLFile();
             }},
            {"Add SPL from File",
             [&] {
                 const xml::Document settings = test::documentFrom(
                     QStringLiteral("<SPLR4><ProductLabel><ProductLabelFromExistingSPL><SPLFileName>%1</SPLFileName>"
                                    "</ProductLabelFromExistingSPL></ProductLabel></SPLR4>")
                         .arg(huge));
                 const xml::Document built = test::documentFrom(
                    QStringLiteral("<document xmlns=\"urn:hl7-org:v3\"><component><structuredBody/></component></document>"));
                 AddSPLFromFile(settings.selectSingleNode(QStringLiteral("//ProductLabelFromExistingSPL")), built,
                                dir.file(QStringLiteral("out/built.xml")));
             }},
            {"Import Data from SPL File",
             [&] {
                 frmXMLEditor* editor = openEditor(QStringLiteral("<SPLR4><GeneralData><Title>t</Title></GeneralData></SPLR4>"));
                 select(editor, QStringLiteral("General Data"));
                 ui.openFiles.push_back(huge);
                 ImportDataFromSPLFile(editor, editor->TreeView);
             }},
        };
        QStringList says;
        for (const auto& reader : readers) {
            closeLog();
            ui.messages.clear();
            reader.run();
            says << QString::fromLatin1(reader.reader) + QStringLiteral(": ") + said();
        }
        return says;
    }
};

TEST_F(SplReadersNodeCapTest, EachReaderRefusesAFilePastTheCapWithTheReason)
{
    const struct {
        QString file;
        QString reason;
        bool refused;
    } files[] = {
        {oversizedLabel(), NodesReason, true},
        {declaringLabel(QStringLiteral("declaring.xml"), kMaxNamespaceDeclarations + 1), NamespacesReason, true},
        {declaringLabel(QStringLiteral("bound.xml"), kMaxNamespaceDeclarations), NamespacesReason, false},
    };
    for (const auto& file : files)
        for (const QString& says : eachReaderSays(file.file))
            EXPECT_EQ(says.contains(file.reason), file.refused) << says.left(3000).toStdString();
}

} // namespace
