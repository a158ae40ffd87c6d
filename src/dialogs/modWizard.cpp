#include "dialogs/modWizard.h"

#include "app/window/frmMain.h"
#include "dialogs/WizardDefinitions.h"
#include "dialogs/WizardHeldValues.h"
#include "dialogs/frmWizard.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/core/AppPaths.h"
#include "platform/core/Skip.h"
#include "platform/xml/tree/Document.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPixmap>

namespace veldra {

namespace {

// The header picture stands this many pixels left of the window's right edge.
constexpr int pictureMargin = 10;

QPixmap wizardPicture(const QString& wizardName)
{
    QString name = wizardName;
    QPixmap picture;
    if (!picture.load(app_paths::inProgram(QStringLiteral("Images/Wizard") + name.remove(QLatin1Char(' '))
                                           + QStringLiteral(".jpg"))))
        picture.load(app_paths::inProgram(QStringLiteral("Logo.jpg")));
    return picture;
}

// The fields show what the document holds where Apply writes them, instead of their defaults.
void showHeldValues(frmWizard& wizard, const std::vector<xml::Node>& rowElements, const xml::Document& settings)
{
    for (const xml::Node& element : rowElements) {
        const FieldRow* row = wizard.row(element.nodeName());
        if (!row)
            continue;
        if (const std::optional<QString> held = wizardHeldValue(wizard.XMLDoc, wizard.WizardName, element, settings))
            FieldRowDialog::setFieldText(row->field, *held);
    }
}

} // namespace

void LoadWizardMenu()
{
    frmMain* main = mainForm();
    if (!main)
        return;
    xml::Document wizards;
    skip([&] { wizards.load(wizardDefinitionsFile()); });
    int items = 0;
    skip([&] {
        for (const QString& name : enabledWizardNames(wizards))
            if (skip([&] { main->addWizardMenuItem(name); }))
                ++items;
    });
    skip([&] { main->mnuWizard.first()->setVisible(false); });
    skip([&] { main->mnuWizards->menuAction()->setEnabled(items > 0); });
}

void RunWizard(const QString& WizardName)
{
    frmMain* main = mainForm();
    auto* editor = main ? qobject_cast<frmXMLEditor*>(main->SourceXMLEditor.data()) : nullptr;
    if (!editor)
        return;
    if (frmWizard* wizard = CreateWizard(WizardName, *editor))
        ShowWizard(wizard);
}

frmWizard* CreateWizard(const QString& WizardName, frmXMLEditor& editor)
{
    xml::Document wizards;
    if (!wizards.load(wizardDefinitionsFile()))
        return nullptr;
    const xml::Node ui = wizardUI(wizards, WizardName);
    if (ui.isNull())
        return nullptr;
    const std::vector<xml::Node> rowElements = wizardRowElements(ui);
    if (rowElements.empty())
        return nullptr;

    auto* wizard = new frmWizard(mainForm());
    wizard->lblInfo->setText(WizardName);
    wizard->setWindowTitle(QStringLiteral("Wizard ") + WizardName);
    wizard->FrameData->setTitle(editor.windowTitle().remove(QStringLiteral("Edit SPLR4 ")));
    wizard->WizardName = WizardName;
    wizard->XMLDoc = wizards;
    wizard->SourceForm = &editor;
    for (std::size_t i = 0; i < rowElements.size(); ++i)
        wizard->AddControl(rowElements[i], int(i) + 1);
    if (editor.XMLDoc)
        showHeldValues(*wizard, rowElements, *editor.XMLDoc);
    return wizard;
}

void ShowWizard(frmWizard* Wizard)
{
    skip([&] {
        const QPixmap picture = wizardPicture(Wizard->WizardName);
        Wizard->picLogo->setPixmap(picture);
        Wizard->picLogo->resize(picture.size());
        Wizard->picLogo->move(Wizard->width() - picture.width() - pictureMargin, Wizard->picLogo->y());
    });
    Wizard->show();
}

} // namespace veldra
