#include "codesystems/ShowSelectLOINCForm.h"

#include "app/shared/SharedProcedures.h"
#include "app/window/WindowHelpers.h"
#include "app/window/frmMain.h"
#include "codesystems/clsLOINC.h"
#include "codesystems/frmSelectLOINC.h"
#include "platform/core/Skip.h"

#include <QLineEdit>

namespace veldra {

namespace {

// Centred on the main window, even where that puts it left of or above it.
void centreOnMainWindow(QWidget& form)
{
    const frmMain* main = mainForm();
    if (!main)
        return;
    const QRect outer = main->frameGeometry();
    const QSize own = form.frameGeometry().size();
    form.move(outer.left() + (outer.width() - own.width()) / 2, outer.top() + (outer.height() - own.height()) / 2);
}

} // namespace

void ShowSelectLOINCForm(const QString& searchText)
{
    frmSelectLOINC* form = frmSelectLOINC::load();
    skip([&] { SetFormLogo(form->picLogo); });
    skip([&] { form->setWindowState(Qt::WindowNoState); });
    skip([&] { form->txtLOINCName->setText(searchText); });
    skip([&] {
        if (clsLOINC* lookup = form->lookup())
            lookup->clearSelectedLOINC();
    });
    skip([&] { form->show(); });
    skip([&] { centreOnMainWindow(*form); });
    skip([&] {
        form->raise();
        form->activateWindow();
    });
    skip([&] { SetWindowOnTop(form, true); });
}

} // namespace veldra
