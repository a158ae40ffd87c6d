#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace veldra {

// The strip across the top of the main window: look up a code or a name in the
// code lists. The results go to the log window; with logging switched off the search says so
// instead of running unseen. Other windows search by filling the text box and the combo box
// and pressing the Search button (see CodeSearch.h).
class SearchPanel : public QWidget {
    Q_OBJECT
public:
    explicit SearchPanel(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* txtSearchCodeOrName = nullptr;
    QCheckBox* chkCodeSystemWholeWord = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cboCodeSystem = nullptr;
    QPushButton* cmdSearchCodeSystem = nullptr;
    QPushButton* cmdClearSearchResult = nullptr;
    QLabel* picLogo = nullptr;

    void cmdSearchCodeSystem_Click();
    void txtSearchCodeOrName_KeyPress(int keyAscii);
    void cmdClearSearchResult_Click();

private:
    void createControls();
    // The lookups of the code system the box names ("All Code Systems": all three).
    void searchChosenCodeSystems();
};

// The four entries of the code-system box, in order, "All Code Systems" selected.
void FillCodeSystemCombo(QComboBox* combo);

} // namespace veldra
