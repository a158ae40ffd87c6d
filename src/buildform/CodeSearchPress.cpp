#include "buildform/CodeSearchPress.h"

#include "app/search/CodeSearch.h"
#include "buildform/CodeSearchButtons.h"

#include <QComboBox>
#include <QLineEdit>

namespace veldra::buildform {

void pressCodeSearch(const QWidget* form, const QString& button)
{
    const CodeSearchButton* spec = findCodeSearchButton(form->objectName(), button);
    if (!spec)
        return;
    const auto* box = form->findChild<QLineEdit*>(spec->searchedBox);
    const auto* combo = spec->systemCombo.isEmpty() ? nullptr : form->findChild<QComboBox*>(spec->systemCombo);
    searchCodeSystem(box ? box->text() : QString(), searchSystemFor(*spec, combo ? combo->currentText() : QString()),
                     false);
}

} // namespace veldra::buildform
