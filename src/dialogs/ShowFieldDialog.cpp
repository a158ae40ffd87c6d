#include "dialogs/ShowFieldDialog.h"

#include "app/window/WindowHelpers.h"
#include "app/window/frmMain.h"
#include "dialogs/frmXMLDataEdit.h"
#include "editor/window/FieldDialogs.h"
#include "editor/window/frmXMLEditor.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

namespace veldra {

namespace {

// A choice list with a single entry shows that entry chosen.
void preselectOnlyEntry(frmXMLDataEdit& dialog)
{
    for (const FieldRow& row : dialog.rows()) {
        auto* list = qobject_cast<QComboBox*>(row.field);
        if (list && list->count() == 1)
            FieldRowDialog::setFieldText(list, list->itemText(0));
    }
}

} // namespace

void ShowFieldDialog(const FieldDialogRequest& request)
{
    auto* dialog = new frmXMLDataEdit(mainForm());
    dialog->Mode = request.Mode;
    dialog->SourceForm = request.SourceForm;
    dialog->setTargetTreeViewNode(request.TargetTreeViewNode);
    dialog->setWindowTitle(request.caption);
    dialog->FrameData->setTitle(request.frameCaption);
    dialog->lblInfo->setText(request.info);
    for (std::size_t i = 0; i < request.rows.size(); ++i)
        dialog->AddControl(request.rows[i], int(i) + 1);
    if (request.preselectOnlyEntry)
        preselectOnlyEntry(*dialog);
    ShowFormAtCursor(dialog, dialog->picLogo);
}

} // namespace veldra
