#include "app/window/FormLaunchers.h"

#include "app/EditorWindow.h"
#include "app/Hooks.h"
#include "app/window/WindowHelpers.h"
#include "app/window/frmAbout.h"
#include "app/window/frmMain.h"
#include "platform/core/Skip.h"
#include "platform/core/VbString.h"
#include "platform/ui/Ui.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPointer>

namespace veldra {

namespace {

// The caption of a review window, before the reviewed file's name.
const QString reviewCaption = QStringLiteral("XML File Viewer");

// The hourglass for the whole program while a window loads.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

void setLogoOf(QWidget* window)
{
    if (QLabel* logo = window->findChild<QLabel*>(QStringLiteral("picLogo")))
        SetFormLogo(logo);
}

void setNormalState(QWidget* window)
{
    window->setWindowState(window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
}

// Refills a code-system list; the text shown in the box stays.
void refillCodeSystems(QComboBox* box)
{
    const QString shown = box->currentText();
    box->clear();
    box->addItems(conditionOfUseCodeSystems());
    box->setCurrentText(shown);
}

} // namespace

QStringList conditionOfUseCodeSystems()
{
    return {QStringLiteral("National Cancer Institute Thesaurus"),
            QStringLiteral("Logical Observation Identifiers Names and Codes"),
            QStringLiteral("Food and Drug Administration Drug Registration and Listing System"),
            QStringLiteral("Food and Drug Administration Substance Registration System"),
            QStringLiteral("Department of Veterans Affairs National Drug File Reference Terminology"),
            QStringLiteral("Systematized Nomenclature of Medicine")};
}

void LoadXMLFileForReview()
{
    frmMain* main = mainForm();
    if (!main || !hooks().NewXMLEditor)
        return;
    ui::CommonDialog& dialog = main->Dialog;
    dialog.prepareFile(QStringLiteral("Load XML File for Review"), QStringLiteral("XML Files | *.xml"));
    dialog.cancelError = true;
    try {
        if (!dialog.showOpen())
            return;
    } catch (const VbError&) {
        return;
    }
    const QString path = dialog.fileName;

    WaitCursor hourglass;
    QWidget* window = nullptr;
    skip([&] { window = hooks().NewXMLEditor(); });
    EditorWindow* editor = asEditor(window);
    if (!editor)
        return;
    skip([&] { editor->setMode(QStringLiteral("View")); });
    skip([&] { window->setWindowTitle(reviewCaption + QStringLiteral(" [") + vbstr::fileNameOf(path) + QStringLiteral("]")); });
    skip([] { ui::pumpMessages(); });
    skip([&] { editor->XMLOnTreeView(path, QStringLiteral("View"), false); });
}

void ShowBuildSPLForm()
{
    frmMain* main = mainForm();
    if (!main || !hooks().BuildSPLForm)
        return;
    QWidget* form = nullptr;
    skip([&] { form = hooks().BuildSPLForm(); });
    if (!form)
        return;
    skip([&] { setLogoOf(form); });
    for (const char* name : {"cboConditionOfUseCoAdministrationCodeSystem", "cboConditionOfUseMonitoringCodeSystem"}) {
        if (auto* box = form->findChild<QComboBox*>(QLatin1String(name)))
            skip([&] { refillCodeSystems(box); });
    }
    skip([&] { setNormalState(form); });
    skip([&] { main->showChildWindow(form); });
}

void ShowAboutBox()
{
    frmAbout about(mainForm());
    about.raise();
    about.exec();
}

void ShowSPLCrossCheckForm()
{
    frmMain* main = mainForm();
    if (!main || !hooks().NewSPLCrossCheckForm)
        return;
    // One cross-check window: while it is open, the command brings it to the front with the
    // files and descriptions typed there.
    static QPointer<QWidget> open;
    if (!open) {
        skip([&] { open = hooks().NewSPLCrossCheckForm(); });
        if (!open)
            return;
        skip([&] { setLogoOf(open); });
    }
    skip([&] { main->showChildWindow(open); });
}

} // namespace veldra
