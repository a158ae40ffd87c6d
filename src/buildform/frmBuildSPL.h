#pragma once

#include "buildform/BuildFormLayout.h"
#include "buildform/FormState.h"

#include <QHash>
#include <QWidget>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTreeWidget;

namespace veldra::buildform {

class RowList;
class SelectAllOnFocus;

// The build form: seven pages of the data one SPL build from a Word label needs beyond the
// label itself, six structured-data lists with their entry dialogs, and the Build command.
// There is one for the run of the program (buildForm()); Close and the title bar's close hide
// it, so its entries live until the program ends.
class frmBuildSPL : public QWidget {
    Q_OBJECT
public:
    explicit frmBuildSPL(QWidget* parent = nullptr);
    ~frmBuildSPL() override;

    // The controls a snapshot stores, by name, in the form's control order.
    const std::vector<ControlEntry>& registeredControls() const { return registered_; }
    QLineEdit* textBox(const QString& name) const;
    QComboBox* comboBox(const QString& name) const;
    QCheckBox* checkBox(const QString& name) const;
    RowList& list(const QString& name) const;
    QGroupBox* frame(const QString& name) const;

    // Everything entered, and everything replaced at once.
    FormState state() const;
    void applyState(const FormState& state);

    QLabel* lblInfo = nullptr;
    QLabel* picLogo = nullptr;
    QTabBar* TabStrip = nullptr;
    QTabBar* TabStripProduct = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    void AddIndication(RowList& Target);
    void EditIndication(RowList& Target);
    void AddContraIndication(RowList& Target);
    void EditContraIndication(RowList& Target);
    void AddDrugInteraction(RowList& Target);
    void EditDrugInteraction(RowList& Target);
    void AddAdverseReaction(RowList& Target);
    void EditAdverseReaction(RowList& Target);
    void AddProductPackaging(RowList& Target);
    void AddIngredient(RowList& Target);
    void EditPackaging(RowList& Target);
    void EditIngredient(RowList& Target);
    bool InputCheck() const;
    void MoveListItem(RowList& TargetList, int Direction);
    void OK();

    void TabStrip_Click(int index);
    void TabStripProduct_Click(int index);
    void cmdBrowseSourceDocument_Click();
    void cmdBrowseFolder_Click();
    void cmdGenerateSetID_Click();
    void cmdOpenWord_Click();
    void cmdOpenSPL_Click();
    void cmdCancel_Click();
    void cmdOK_Click() { OK(); }
    // The list commands, for the list of that name.
    void addRow(const QString& listName);
    void editRow(const QString& listName);
    void removeRow(const QString& listName);
    void resetRows(const QString& listName);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    QWidget* createPage(int page);
    QWidget* createGroup(const QString& group, QWidget* parent);
    QWidget* createField(const FieldSpec& field, QWidget* parent);
    QWidget* createListGroup(const ListSpec& spec, QWidget* parent);
    QWidget* createProductLists(QWidget* parent);
    QWidget* createBottomRow();
    void connectButtons();
    QPushButton* button(const QString& name) const;
    void runOpener(void (*opener)(RowList&, const QString&), RowList& target, const QString& action);

    SelectAllOnFocus* selectAll_ = nullptr;
    std::vector<ControlEntry> registered_;
    QHash<QString, QWidget*> controls_;
    QHash<QString, QGroupBox*> frames_;
    QHash<QString, QPushButton*> buttons_;
    QHash<QString, std::shared_ptr<RowList>> lists_;
};

// The form of the program, created hidden on first use.
frmBuildSPL* buildForm();

} // namespace veldra::buildform
