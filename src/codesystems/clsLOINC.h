#pragma once

#include "app/search/LoincSelection.h"
#include "codesystems/CodeLookup.h"

#include <QPointer>

class QTreeWidget;

namespace veldra {

class frmSelectLOINC;

// Lookup of a LOINC code and its name in the LOINC table. When asked to, a miss or
// several hits are handed to the user in the LOINC picker (frmSelectLOINC), which
// answers through SelectStatus, SelectedLOINCCode and SelectedLOINCName.
class clsLOINC : public CodeLookup, public LoincSelection {
public:
    // Empty while the picker is open; then "LOINCSelectOK", "LOINCSelectUnclassified"
    // or "LOINCSelectAbort".
    QString SelectStatus;
    QString SelectedLOINCCode;
    QString SelectedLOINCName;

    ~clsLOINC() override;

    // Opens the code-system database; a missing or unreadable file throws.
    void Initialize();
    // Closes the connection; does nothing without one.
    void Destroy();

    // Finds SearchText among the names and codes. A single hit fills code, name and
    // system. No hit or several hits go to the log; with RenderSelectIfNotFound the
    // user then picks the code and name in the picker, else the outputs stay empty
    // and several hits are listed in the log.
    void GetCodeAndName(QString SearchText, QString& LOINCCode, QString& LOINCName, QString& LOINCSystem,
                        bool RenderSelectIfNotFound);

    // Fills the list with the codes and names whose name matches the LIKE pattern.
    void RenderCodeAndName(const QString& SearchString, QTreeWidget* TargetList);

    // Shows the picker primed with the pattern and returns once the user answered:
    // the chosen code and name, or the unclassified section code (after an abort,
    // which also sets Cancel).
    void SelectLOINCCode(const QString& SearchText, QString& LOINCCode, QString& LOINCName);

    void clearSelectedLOINC() override;

private:
    void waitForAnswer(const QPointer<frmSelectLOINC>& form);
};

} // namespace veldra
