#include "buildform/EntryDialog.h"

#include "app/window/WindowHelpers.h"
#include "buildform/CodeSearchPress.h"
#include "buildform/HeaderBand.h"
#include "buildform/RowList.h"
#include "buildform/SelectAllOnFocus.h"
#include "platform/core/Skip.h"
#include "platform/ui/Ui.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <map>

namespace veldra::buildform {

namespace {

const QString addCaption = QStringLiteral("&Add");
const QString editCaption = QStringLiteral("&OK");

} // namespace

EntryDialog::EntryDialog(const EntryDialogSpec& spec) : QDialog(nullptr), spec_(spec)
{
    setObjectName(spec.name);
    setWindowTitle(spec.caption);
    createControls();
    setFixedSize(sizeHint());
}

void EntryDialog::createControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeHeaderBand(this, spec_.caption, lblInfo, picLogo));

    auto* frame = new QGroupBox(spec_.frameCaption, this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(frame);
    auto* selectAll = new SelectAllOnFocus(this);
    int nextGridRow = 0;
    int labelRow = 0;
    int column = 0;
    int lastRow = -1;
    for (const EntryFieldSpec& spec : spec_.fields) {
        if (spec.row != lastRow) {
            lastRow = spec.row;
            const QString instruction = spec_.rowInstructions.value(spec.row);
            if (!instruction.isEmpty())
                grid->addWidget(new QLabel(instruction, frame), nextGridRow++, 0, 1, -1);
            labelRow = nextGridRow;
            nextGridRow += 2;
            column = 0;
        }
        QWidget* widget = createField(spec);
        widget->setParent(frame);
        grid->addWidget(new QLabel(spec.label, frame), labelRow, column);
        grid->addWidget(widget, labelRow + 1, column++);
        if (auto* box = qobject_cast<QLineEdit*>(widget))
            selectAll->watch(box);
        if (!spec.searchButton.isEmpty()) {
            auto* search = new QPushButton(QStringLiteral("?"), frame);
            search->setObjectName(spec.searchButton);
            search->setToolTip(QStringLiteral("Search Code System"));
            search->setFixedWidth(28);
            grid->addWidget(search, labelRow + 1, column++);
            connect(search, &QPushButton::clicked, this, [this, name = spec.searchButton] { pressSearch(name); });
        }
    }
    layout->addWidget(frame);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cmdOK = new QPushButton(addCaption, this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setAutoDefault(false);
    cmdCancel = new QPushButton(spec_.cancelCaption, this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

QWidget* EntryDialog::createField(const EntryFieldSpec& spec)
{
    QWidget* widget = nullptr;
    if (spec.kind == EntryFieldKind::TextBox) {
        widget = new QLineEdit;
    } else {
        auto* combo = new QComboBox;
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        widget = combo;
    }
    widget->setObjectName(spec.name);
    fields_.insert(spec.name, widget);
    return widget;
}

QString EntryDialog::fieldText(const EntryFieldSpec& spec) const
{
    QWidget* widget = field(spec.name);
    if (auto* box = qobject_cast<QLineEdit*>(widget))
        return box->text();
    return static_cast<QComboBox*>(widget)->currentText();
}

void EntryDialog::setFieldText(const EntryFieldSpec& spec, const QString& text)
{
    QWidget* widget = field(spec.name);
    if (auto* box = qobject_cast<QLineEdit*>(widget))
        box->setText(text);
    else
        static_cast<QComboBox*>(widget)->setCurrentText(text);
}

void EntryDialog::refillCombos()
{
    for (const EntryFieldSpec& spec : spec_.fields) {
        auto* combo = qobject_cast<QComboBox*>(field(spec.name));
        if (!combo)
            continue;
        combo->clear();
        if (spec.kind == EntryFieldKind::CodeSystemCombo) {
            combo->addItems(codeSystemNames());
            // Adding items makes the first one current; a refilled code system starts empty.
            combo->setCurrentIndex(-1);
            combo->setCurrentText(QString());
        } else {
            combo->addItems(ingredientRoles());
            combo->setCurrentText(defaultIngredientRole);
        }
    }
}

void EntryDialog::prepare(RowList& list, const QString& action, int editedRow)
{
    skip([&] { SetFormLogo(picLogo); });
    refillCombos();
    if (action == ActionAdd) {
        cmdOK->setText(addCaption);
        editedRow_ = QPersistentModelIndex();
    } else if (action == ActionEdit) {
        const QStringList cells = list.cells(editedRow);
        for (const EntryFieldSpec& spec : spec_.fields)
            setFieldText(spec, cells.value(spec.cell));
        cmdOK->setText(editCaption);
        editedRow_ = list.rowHandle(editedRow);
    }
    Action = action;
    Target = &list;
}

void EntryDialog::OK()
{
    if (!Target)
        return;
    int position = 0;
    if (Action == ActionAdd)
        position = Target->add(QString());
    else if (Action == ActionEdit)
        position = Target->rowAt(editedRow_);
    if (position > 0) {
        for (const EntryFieldSpec& spec : spec_.fields)
            skip([&] { Target->setCell(position, spec.cell, fieldText(spec)); });
        skip([&] { Target->ensureVisible(position); });
    }
    if (Action == ActionEdit)
        cmdCancel_Click();
}

void EntryDialog::cmdCancel_Click()
{
    hide();
    deleteLater();
}

void EntryDialog::reject()
{
    cmdCancel_Click();
}

void EntryDialog::pressSearch(const QString& button)
{
    skip([&] { pressCodeSearch(this, button); });
}

namespace {

std::map<QString, QPointer<EntryDialog>>& openDialogs()
{
    static std::map<QString, QPointer<EntryDialog>> dialogs;
    return dialogs;
}

void showEntryDialog(const EntryDialogSpec& spec, RowList& list, const QString& action)
{
    const int selected = list.selected();
    // Without a selected row there is nothing to edit; a dialog opened anyway would throw
    // away what the user typed into it.
    if (action == ActionEdit && selected == 0)
        return;
    QPointer<EntryDialog>& dialog = openDialogs()[spec.name];
    if (!dialog)
        dialog = new EntryDialog(spec);
    skip([&] { dialog->prepare(list, action, selected); });
    dialog->setWindowState(dialog->windowState() & ~Qt::WindowMinimized);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    skip([] { ui::pumpMessages(); });
}

} // namespace

void closeEntryDialogsOn(const RowList& list)
{
    for (auto& [name, dialog] : openDialogs()) {
        if (dialog && dialog->Target == &list) {
            dialog->Target = nullptr;
            dialog->cmdCancel_Click();
        }
    }
}

EntryDialog* shownEntryDialog(const QString& name)
{
    const auto found = openDialogs().find(name);
    return found == openDialogs().end() ? nullptr : found->second.data();
}

void ShowIndicationDialog(RowList& list, const QString& action) { showEntryDialog(indicationDialog(), list, action); }
void ShowContraIndicationDialog(RowList& list, const QString& action) { showEntryDialog(contraIndicationDialog(), list, action); }
void ShowDrugInteractionDialog(RowList& list, const QString& action) { showEntryDialog(drugInteractionDialog(), list, action); }
void ShowAdverseReactionDialog(RowList& list, const QString& action) { showEntryDialog(adverseReactionDialog(), list, action); }
void ShowPackagingDialog(RowList& list, const QString& action) { showEntryDialog(packagingDialog(), list, action); }
void ShowIngredientDialog(RowList& list, const QString& action) { showEntryDialog(ingredientDialog(), list, action); }

} // namespace veldra::buildform
