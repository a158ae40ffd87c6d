#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace veldra {

class clsLOINC;

// The LOINC section-code picker "Select or Search LOINC Code": lists candidate codes,
// searches again by name, and answers the lookup that opened it with OK (the selected
// row), Unclassified (also Esc) or Abort (after confirmation; also the close box).
// Modeless; it is unloaded once it has answered.
class frmSelectLOINC : public QDialog {
    Q_OBJECT
public:
    // The open picker, created on first use (a fresh one after the last was unloaded).
    static frmSelectLOINC* load();
    // The open picker, or nullptr.
    static frmSelectLOINC* instance();
    // Makes the open picker answer nobody once `lookup` is gone.
    static void forgetLookup(const clsLOINC* lookup);

    // The lookup that the picker answers: the one that opened it, else the one in
    // the main window's TargetLOINC.
    void setLookup(clsLOINC* lookup);
    clsLOINC* lookup() const;

    QWidget* picHeader;
    QLabel* lblInfo;
    QLabel* picLogo;
    QGroupBox* Frame1;
    QLineEdit* txtLOINCName;
    QPushButton* cmdSearchLoinc;
    QTreeWidget* LOINCList;
    QPushButton* cmdOK;
    QPushButton* cmdUnclassified;
    QPushButton* cmdAbort;

    // Takes the selected row as the answer.
    void OK();
    // Searches the list again with the text box's text.
    void SearchLOINC();

    void cmdOK_Click();
    void LOINCList_DblClick(QTreeWidgetItem* item);
    void cmdSearchLoinc_Click();
    void txtLOINCName_KeyPress(int KeyAscii);
    void cmdUnclassified_Click();
    void cmdAbort_Click();

signals:
    // The picker has answered and is being unloaded.
    void answered();

protected:
    // Esc presses the Unclassified button.
    void reject() override;
    // The close box asks like the Abort button.
    void closeEvent(QCloseEvent* event) override;

private:
    explicit frmSelectLOINC(QWidget* parent);
    void buildHeader();
    void buildFrame();
    void buildButtons();
    bool confirmAbort();
    void answer(const QString& status);
    void unload();

    clsLOINC* lookup_ = nullptr;
    bool answered_ = false;
};

} // namespace veldra
