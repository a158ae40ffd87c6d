#include "generation/validation/OnlineValidation.h"

#include "app/window/Captions.h"
#include "app/window/WebAddresses.h"
#include "app/window/frmMain.h"
#include "editor/window/BusyCursor.h"
#include "editor/tree/TreeView.h"
#include "editor/window/frmXMLEditor.h"
#include "generation/ProgramWindows.h"
#include "generation/validation/ValidatorResultPage.h"
#include "generation/validation/frmValidate.h"
#include "platform/core/Skip.h"
#include "platform/core/VbError.h"
#include "platform/core/VbString.h"
#include "platform/ui/Ui.h"
#include "platform/xml/query/QueryLiteral.h"
#include "platform/xml/tree/Document.h"

namespace veldra {

namespace {

const QColor Red(255, 0, 0);
const QColor White(255, 255, 255);

QUrl& testAddress()
{
    static QUrl address;
    return address;
}

frmXMLEditor* currentEditor()
{
    frmMain* main = mainForm();
    return main ? qobject_cast<frmXMLEditor*>(main->SourceXMLEditor.data()) : nullptr;
}

// Makes the first editor whose settings document has the document id the current editor.
// True when there is one.
bool selectEditorOfDocument(const QString& documentId)
{
    const QString query = QStringLiteral("//GeneralData[DocumentID=") + xml::queryLiteral(documentId) + QLatin1Char(']');
    for (QWidget* window : programWindows()) {
        auto* editor = qobject_cast<frmXMLEditor*>(window);
        if (!editor || !editor->XMLDoc || editor->XMLDoc->selectSingleNode(query).isNull())
            continue;
        if (frmMain* main = mainForm())
            main->SourceXMLEditor = editor;
        return true;
    }
    return false;
}

// Keeps the tree's painting frozen for its lifetime; it is released on every way out.
class FrozenTree {
public:
    explicit FrozenTree(frmXMLEditor& editor) : editor_(editor) { editor_.DrawRefresh(false); }
    ~FrozenTree() { skip([this] { editor_.DrawRefresh(true); }); }
    FrozenTree(const FrozenTree&) = delete;
    FrozenTree& operator=(const FrozenTree&) = delete;

private:
    frmXMLEditor& editor_;
};

// Freezing and releasing the tree's painting lets events run: the editor stays open meanwhile.
void highlightReport(frmXMLEditor& editor, const ValidatorReport& report)
{
    const EditorCommandRunning running(editor);
    editor.TreeView->forEachNode([](QTreeWidgetItem* node) {
        if (nodeBackColor(node) == Red)
            setNodeBackColor(node, White);
    });
    FrozenTree frozen(editor);
    for (const QString& piece : report.pieces)
        HighlightReportedNodes(editor, SplitCamelCase(piece));
}

void showOutcome(const ValidatorReport& report, bool editorFound)
{
    const QString errors = QStringLiteral("Pragmatic Data Validator found errors in the SPL File.\r\n\r\n");
    if (report.errorsFound && (report.documentId.isEmpty() || editorFound))
        ui::msgBox(errors + QStringLiteral("See highlighted nodes in SPL Settings Tree."), ui::Buttons::OK,
                   ui::Icon::Warning);
    else if (report.errorsFound)
        ui::msgBox(errors + QStringLiteral("To match the errors to the SPL Settings Tree the SPL Settings file must be "
                                           "open in the application."),
                   ui::Buttons::OK, ui::Icon::Warning);
    else
        ui::msgBox(QStringLiteral("SPL File is OK according to Pragmatic Data Validator."), ui::Buttons::OK,
                   ui::Icon::Information);
}

void refuse(const QString& message)
{
    ui::msgBox(message, ui::Buttons::OK, ui::Icon::Warning);
}

const QString Unrecognised = QStringLiteral("The page of the online validator was not recognised: ");

// The validation window; none, after a message, when its browser engine cannot be loaded.
frmValidate* validationWindow()
{
    try {
        return frmValidate::instance();
    } catch (const VbError& e) {
        ui::showError(e);
        return nullptr;
    }
}

// Runs the validator's pages in the window; false (after a message) when they did not work.
bool runValidatorPages(frmValidate& form)
{
    const QUrl address = ValidatorAddress();
    {
        BusyCursor hourglass;
        if (!form.openPage(address)) {
            refuse(QStringLiteral("The online validator could not be reached: ") + address.toString());
            return false;
        }
    }
    if (!form.clickElement(QStringLiteral("file"))) {
        refuse(Unrecognised + QStringLiteral("it has no file input \"file\"."));
        return false;
    }
    BusyCursor hourglass;
    if (!form.submitForm(QStringLiteral("theForm"))) {
        refuse(Unrecognised + QStringLiteral("its form \"theForm\" could not be submitted."));
        return false;
    }
    return true;
}

} // namespace

QUrl ValidatorAddress()
{
    return testAddress().isEmpty() ? QUrl(web::SplOnlineValidator) : testAddress();
}

void setValidatorAddressForTesting(const QUrl& address)
{
    testAddress() = address;
}

void HighlightReportedNodes(frmXMLEditor& editor, const QString& text)
{
    QString reported = text;
    reported.remove(QStringLiteral("<br>"));
    if (reported.isEmpty())
        return;
    skip([&] {
        editor.TreeView->forEachNode([&](QTreeWidgetItem* node) {
            const QString caption = nodeCaption(node);
            const qsizetype colon = caption.indexOf(QLatin1Char(':'));
            QString value = colon < 0 ? QString() : vbstr::trim(caption.mid(colon + 1));
            value.remove(QLatin1Char('\n'));
            value.remove(QLatin1Char('\r'));
            if (value.compare(reported, Qt::CaseInsensitive) == 0) {
                setNodeBackColor(node, Red);
                editor.TreeView->selectNode(node);
            }
        });
    });
}

void HighlightReportedNodes(const QString& text)
{
    if (frmXMLEditor* editor = currentEditor())
        HighlightReportedNodes(*editor, text);
}

void ValidateOnline()
{
    frmValidate* form = validationWindow();
    if (!form)
        return;
    form->setWindowTitle(QStringLiteral("SPL Validation - Pragmatic Data Validator - ") + ValidatorAddress().host());
    showProgramWindow(form);
    ui::pumpMessages();
    if (!runValidatorPages(*form))
        return;
    const ValidatorReport report = form->readReport();
    const bool editorFound = selectEditorOfDocument(report.documentId);
    if (frmXMLEditor* editor = currentEditor())
        highlightReport(*editor, report);
    if (report.unrecognised)
        refuse(Unrecognised + QStringLiteral("its result page reports an error without the XML of the element in error."));
    else if (!report.errorsFound && report.documentId.isEmpty())
        // Not a report on a document (no file chosen, or a page of another kind): no "OK".
        refuse(Unrecognised + QStringLiteral("its result page reports on no document."));
    else
        showOutcome(report, editorFound);
}

} // namespace veldra
