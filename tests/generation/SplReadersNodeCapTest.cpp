// Every reader of an SPL file counts its nodes before it builds a tree of it: a file past the
// cap is refused with the reason, through the command that reads it.
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
#include "support/XmlDocument.h"

#include <gtest/gtest.h>

#include <functional>

using namespace veldra;

namespace {

const QString Reason = QStringLiteral("The document holds more than 1,000,000 elements, attributes, comments and "
                                      "processing instructions together");

class SplReadersNodeCapTest : public test::CheckingTest {
protected:
    // A label of one node past the cap: the document, its namespace and the line breaks.
    QString oversizedLabel() const
    {
        return writeFile(QStringLiteral("huge.xml"),
                         QStringLiteral("<document xmlns=\"urn:hl7-org:v3\">%1</document>")
                             .arg(QStringLiteral("<br/>").repeated(int(xml::kMaxOutsideFileNodes - 1))));
    }

    // What the command said: its message boxes and the log.
    QString said() const
    {
        QString all = logText();
        for (const auto& message : ui.messages)
            all += message.text;
        return all;
    }
};

TEST_F(SplReadersNodeCapTest, EachReaderRefusesAFilePastTheCapWithTheReason)
{
    const QString huge = oversizedLabel();
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
             const xml::Document built = test::documentFrom(QStringLiteral("<document/>"));
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
    for (const auto& reader : readers) {
        SCOPED_TRACE(reader.reader);
        closeLog();
        ui.messages.clear();
        reader.run();
        EXPECT_TRUE(said().contains(Reason)) << said().left(3000).toStdString();
    }
}

} // namespace
