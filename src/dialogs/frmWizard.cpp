#include "dialogs/frmWizard.h"

#include "dialogs/WizardApply.h"
#include "dialogs/WizardDefinitions.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/core/Skip.h"
#include "platform/core/VbError.h"
#include "platform/ui/Ui.h"

namespace veldra {

namespace {

FieldRowDialog::Design design()
{
    return {QStringLiteral("Wizard"), QStringLiteral("Apply"), QStringLiteral("&Close"),
            QRect(4680, 120, 750, 750), 3975, 600};
}

} // namespace

frmWizard::frmWizard(QWidget* parent) : FieldRowDialog(design(), parent)
{
    setObjectName(QStringLiteral("frmWizard"));
}

void frmWizard::OK()
{
    bool changed = false;
    try {
        if (!SourceForm || !SourceForm->XMLDoc)
            throw VbError(err::General, QStringLiteral("frmWizard"), QStringLiteral("The settings document is gone."));
        if (refusesAField(*SourceForm->XMLDoc))
            return;
        applyFields(*SourceForm->XMLDoc, changed);
        if (changed)
            SourceForm->Saved = false;
        SourceForm->RefreshXML(true);
    } catch (const std::exception&) {
        // What was written before the failure stays: the editor shows it and counts as changed.
        if (changed && SourceForm) {
            SourceForm->Saved = false;
            skip([&] { SourceForm->RefreshXML(true); });
        }
        ui::msgBox(QStringLiteral("Cannot apply Wizard Settings because the related SPL Document cannot be found."),
                   ui::Buttons::OK, ui::Icon::Warning);
        closeWindow();
    }
}

bool frmWizard::refusesAField(const xml::Document& settings)
{
    for (const FieldRow& row : rows()) {
        const QString value = fieldValue(row);
        for (const xml::Node& target : wizardTargets(XMLDoc, WizardName, row.name)) {
            xml::NodeList nodes;
            try {
                nodes = settings.selectNodes(target.text().trimmed());
            } catch (const std::exception&) {
                continue;  // a path that is no valid query is reported when the values are written
            }
            for (const xml::Node& node : nodes) {
                const QString refusal = wizardTargetRefusal(row.name, value, target, node);
                if (refusal.isEmpty())
                    continue;
                ui::msgBox(refusal, ui::Buttons::OK, ui::Icon::Warning);
                selectField(row.field);
                return true;
            }
        }
    }
    return false;
}

void frmWizard::applyFields(xml::Document& settings, bool& changed)
{
    for (const FieldRow& row : rows()) {
        const QString value = fieldValue(row);
        for (const xml::Node& target : wizardTargets(XMLDoc, WizardName, row.name))
            for (const xml::Node& node : settings.selectNodes(target.text().trimmed()))
                changed = applyWizardTarget(row.name, value, target, node) || changed;
    }
}

} // namespace veldra
