#include "buildform/frmBuildSPL.h"

#include "buildform/EntryDialog.h"
#include "buildform/RowList.h"
#include "platform/core/Skip.h"
#include "platform/ui/Ui.h"

#include <map>

namespace veldra::buildform {

namespace {

struct ListCommands {
    void (frmBuildSPL::*add)(RowList&);
    void (frmBuildSPL::*edit)(RowList&);
};

const std::map<QString, ListCommands>& commandsByList()
{
    static const std::map<QString, ListCommands> table{
        {"ListIndications", {&frmBuildSPL::AddIndication, &frmBuildSPL::EditIndication}},
        {"ListContraIndications", {&frmBuildSPL::AddContraIndication, &frmBuildSPL::EditContraIndication}},
        {"ListDrugInteractions", {&frmBuildSPL::AddDrugInteraction, &frmBuildSPL::EditDrugInteraction}},
        {"ListAdverseReactions", {&frmBuildSPL::AddAdverseReaction, &frmBuildSPL::EditAdverseReaction}},
        {"ListProductPackaging", {&frmBuildSPL::AddProductPackaging, &frmBuildSPL::EditPackaging}},
        {"ListProductIngredients", {&frmBuildSPL::AddIngredient, &frmBuildSPL::EditIngredient}},
    };
    return table;
}

bool confirmed(const QString& question)
{
    return ui::msgBox(question, ui::Buttons::YesNo, ui::Icon::Warning) == ui::Answer::Yes;
}

} // namespace

void frmBuildSPL::runOpener(void (*opener)(RowList&, const QString&), RowList& target, const QString& action)
{
    try {
        opener(target, action);
    } catch (const std::exception& e) {
        ui::showError(toVbError(e, formName));
    }
}

void frmBuildSPL::AddIndication(RowList& Target) { runOpener(ShowIndicationDialog, Target, ActionAdd); }
void frmBuildSPL::EditIndication(RowList& Target) { runOpener(ShowIndicationDialog, Target, ActionEdit); }
void frmBuildSPL::AddContraIndication(RowList& Target) { runOpener(ShowContraIndicationDialog, Target, ActionAdd); }
void frmBuildSPL::EditContraIndication(RowList& Target) { runOpener(ShowContraIndicationDialog, Target, ActionEdit); }
void frmBuildSPL::AddDrugInteraction(RowList& Target) { runOpener(ShowDrugInteractionDialog, Target, ActionAdd); }
void frmBuildSPL::EditDrugInteraction(RowList& Target) { runOpener(ShowDrugInteractionDialog, Target, ActionEdit); }
void frmBuildSPL::AddAdverseReaction(RowList& Target) { runOpener(ShowAdverseReactionDialog, Target, ActionAdd); }
void frmBuildSPL::EditAdverseReaction(RowList& Target) { runOpener(ShowAdverseReactionDialog, Target, ActionEdit); }
void frmBuildSPL::AddProductPackaging(RowList& Target) { runOpener(ShowPackagingDialog, Target, ActionAdd); }
void frmBuildSPL::AddIngredient(RowList& Target) { runOpener(ShowIngredientDialog, Target, ActionAdd); }
void frmBuildSPL::EditPackaging(RowList& Target) { runOpener(ShowPackagingDialog, Target, ActionEdit); }
void frmBuildSPL::EditIngredient(RowList& Target) { runOpener(ShowIngredientDialog, Target, ActionEdit); }

void frmBuildSPL::MoveListItem(RowList& TargetList, int Direction)
{
    const int count = TargetList.count();
    const int from = TargetList.selected();
    if (count < 2 || from == 0)
        return;
    const int to = moveDestination(count, from, Direction);
    const QStringList moving = TargetList.cells(from);
    TargetList.setCells(from, TargetList.cells(to));
    TargetList.setCells(to, moving);
    TargetList.clearSelection();
    TargetList.select(to);
    TargetList.ensureVisible(to);
}

void frmBuildSPL::addRow(const QString& listName)
{
    skip([&] { (this->*commandsByList().at(listName).add)(list(listName)); });
}

void frmBuildSPL::editRow(const QString& listName)
{
    skip([&] { (this->*commandsByList().at(listName).edit)(list(listName)); });
}

void frmBuildSPL::removeRow(const QString& listName)
{
    RowList& rows = list(listName);
    if (!confirmed(findList(listName)->removeQuestion))
        return;
    if (const int selected = rows.selected())
        rows.remove(selected);
}

void frmBuildSPL::resetRows(const QString& listName)
{
    if (confirmed(findList(listName)->resetQuestion))
        list(listName).clear();
}

} // namespace veldra::buildform
