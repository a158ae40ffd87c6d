#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// What the build form holds, as data: its pages, the field groups on them, every field with
// its label, and the six structured-data lists. The form is built from these tables, the
// settings snapshot walks the same controls in the same order, and the entry names are the
// names stored in snapshot files, so a rename here breaks the files users keep.
namespace veldra::buildform {

inline const QString formName = QStringLiteral("frmBuildSPL");

enum class ControlKind { TextBox, ComboBox, CheckBox, ListView };

struct PageSpec {
    QString tabCaption;
    QString frame;
    QString frameCaption;
};

struct GroupSpec {
    int page;  // 1 to 7
    QString frame;
    QString caption;
};

// A field of the form. Fields of one group that share a row stand side by side, each with its
// label above it; a field may carry a button at its right.
struct FieldSpec {
    int page;       // 1 to 7; 0 for the bottom row outside the pages
    QString group;  // the group frame holding it (empty outside the pages)
    int row;
    QString name;
    ControlKind kind;
    QString label;  // for a check box its caption; empty: the label of the field before covers it
    QString button = {};
    QString buttonCaption = {};
    QStringList items = {};      // a combo's design items
    QString designText = {};     // a text box's design text
};

// One structured-data list with the commands under it.
struct ListSpec {
    QString name;
    int page;
    QString group;
    QString groupCaption;
    QStringList headers;  // cell 0 first
    QString addButton, addTip;
    QString upButton, downButton;
    QString removeButton, removeTip;
    QString resetButton, resetTip;
    QString removeQuestion;  // "Are you sure you want to remove the selected …?"
    QString resetQuestion;   // "Are you sure you want to reset …?"
};

// A control whose content the snapshot stores, in the form's control order.
struct ControlEntry {
    QString name;
    ControlKind kind;
};

const std::vector<PageSpec>& pages();          // in tab order
const std::vector<GroupSpec>& groups();        // in page order
const std::vector<FieldSpec>& fields();        // in page order, then chkTestBuild
const std::vector<ListSpec>& lists();          // in page order
const ListSpec* findList(const QString& name);

// Text boxes, combos and check boxes in page order, chkTestBuild after them, then the lists.
const std::vector<ControlEntry>& controlOrder();

} // namespace veldra::buildform
