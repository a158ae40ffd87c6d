#include "codesystems/SearchMode.h"

#include "app/window/frmMain.h"

#include <QCheckBox>

namespace veldra::codesystems {

bool wholeWordSearch()
{
    const frmMain* main = mainForm();
    return main && main->chkCodeSystemWholeWord && main->chkCodeSystemWholeWord->checkState() != Qt::Unchecked;
}

} // namespace veldra::codesystems
