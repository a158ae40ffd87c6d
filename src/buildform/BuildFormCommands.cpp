#include "buildform/frmBuildSPL.h"

#include "app/log/Log.h"
#include "app/shared/SharedProcedures.h"
#include "buildform/BuildRun.h"
#include "buildform/CodeSearchButtons.h"
#include "buildform/CodeSearchPress.h"
#include "buildform/RowList.h"
#include "platform/core/Skip.h"
#include "platform/core/VbString.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/Ui.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>

namespace veldra::buildform {

namespace {

bool endsWithSeparator(const QString& path)
{
    return path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\'));
}

// A text box keeps at most maxLength characters and drops the rest without a word.
void warnWhenCut(const QString& control, const QString& text, int maxLength)
{
    if (text.size() > maxLength)
        WriteLog(log_category::Warning, QStringLiteral("The value of %1 has %2 characters; the box keeps the first %3 of them.")
                                                .arg(control)
                                                .arg(text.size())
                                                .arg(maxLength));
}

std::optional<QString> askForFile(const QString& preset, const QString& filter)
{
    ui::FileRequest request;
    request.fileName = preset;
    request.filter = ui::CommonDialog::toQtFilter(filter);
    return ui::backend().openFile(request);
}

} // namespace

void frmBuildSPL::connectButtons()
{
    connect(TabStrip, &QTabBar::currentChanged, this, [this](int index) { TabStrip_Click(index + 1); });
    connect(TabStripProduct, &QTabBar::currentChanged, this, [this](int index) { TabStripProduct_Click(index + 1); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    const std::pair<const char*, void (frmBuildSPL::*)()> commands[] = {
        {"cmdBrowseSourceDocument", &frmBuildSPL::cmdBrowseSourceDocument_Click},
        {"cmdBrowseFolder", &frmBuildSPL::cmdBrowseFolder_Click},
        {"cmdGenerateSetID", &frmBuildSPL::cmdGenerateSetID_Click},
        {"cmdOpenWord", &frmBuildSPL::cmdOpenWord_Click},
        {"cmdOpenSPL", &frmBuildSPL::cmdOpenSPL_Click},
    };
    for (const auto& [name, handler] : commands)
        connect(button(QLatin1String(name)), &QPushButton::clicked, this, handler);
    for (const CodeSearchButton& search : codeSearchButtons())
        if (search.form == formName)
            connect(button(search.button), &QPushButton::clicked, this,
                    [this, name = search.button] { skip([&] { pressCodeSearch(this, name); }); });
    for (const ListSpec& spec : lists()) {
        const QString name = spec.name;
        connect(button(spec.addButton), &QPushButton::clicked, this, [this, name] { addRow(name); });
        connect(button(spec.upButton), &QPushButton::clicked, this, [this, name] { MoveListItem(list(name), -1); });
        connect(button(spec.downButton), &QPushButton::clicked, this, [this, name] { MoveListItem(list(name), 1); });
        connect(button(spec.removeButton), &QPushButton::clicked, this, [this, name] { removeRow(name); });
        connect(button(spec.resetButton), &QPushButton::clicked, this, [this, name] { resetRows(name); });
    }
}

bool frmBuildSPL::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && lists_.contains(watched->objectName())) {
            editRow(watched->objectName());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

FormState frmBuildSPL::state() const
{
    FormState result;
    for (const ControlEntry& entry : registered_) {
        switch (entry.kind) {
        case ControlKind::TextBox: result.texts.insert(entry.name, textBox(entry.name)->text()); break;
        case ControlKind::ComboBox: result.texts.insert(entry.name, comboBox(entry.name)->currentText()); break;
        case ControlKind::CheckBox: {
            // Stored as 0 unchecked, 1 checked, 2 grayed: Qt numbers the last two the other way.
            const Qt::CheckState checkState = checkBox(entry.name)->checkState();
            result.checks.insert(entry.name, checkState == Qt::Checked ? 1 : checkState == Qt::PartiallyChecked ? 2 : 0);
            break;
        }
        case ControlKind::ListView: result.lists.insert(entry.name, list(entry.name).rows()); break;
        }
    }
    return result;
}

void frmBuildSPL::applyState(const FormState& state)
{
    for (const ControlEntry& entry : registered_) {
        switch (entry.kind) {
        case ControlKind::TextBox:
            warnWhenCut(entry.name, state.text(entry.name), textBox(entry.name)->maxLength());
            textBox(entry.name)->setText(state.text(entry.name));
            break;
        case ControlKind::ComboBox:
            warnWhenCut(entry.name, state.text(entry.name), comboBox(entry.name)->lineEdit()->maxLength());
            comboBox(entry.name)->setCurrentText(state.text(entry.name));
            break;
        case ControlKind::CheckBox: {
            QCheckBox* box = checkBox(entry.name);
            const int value = state.check(entry.name);
            box->setTristate(value == 2);
            box->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
            break;
        }
        case ControlKind::ListView: list(entry.name).setRows(state.list(entry.name)); break;
        }
    }
}

void frmBuildSPL::TabStrip_Click(int index)
{
    if (index < 1 || index > static_cast<int>(pages().size()))
        return;
    for (int page = 1; page <= static_cast<int>(pages().size()); ++page)
        frame(pages()[page - 1].frame)->setVisible(page == index);
    if (TabStrip->currentIndex() != index - 1)
        TabStrip->setCurrentIndex(index - 1);
}

void frmBuildSPL::TabStripProduct_Click(int index)
{
    if (index != 1 && index != 2)
        return;
    frame(QStringLiteral("FrameProductIngredients"))->setVisible(index == 1);
    frame(QStringLiteral("FrameProductPackaging"))->setVisible(index == 2);
    if (TabStripProduct->currentIndex() != index - 1)
        TabStripProduct->setCurrentIndex(index - 1);
}

void frmBuildSPL::cmdBrowseSourceDocument_Click()
{
    QLineEdit* box = textBox(QStringLiteral("txtSourceFileName"));
    // Word documents are read as .docx; the older binary format cannot be read.
    if (const auto chosen = askForFile(box->text(), QStringLiteral("MS Word Documents | *.docx")))
        box->setText(*chosen);
}

void frmBuildSPL::cmdBrowseFolder_Click()
{
    QLineEdit* box = textBox(QStringLiteral("txtTargetFolder"));
    const QString folder = box->text();
    const QString preset = folder.isEmpty() ? QString()
        : endsWithSeparator(folder)         ? folder + QStringLiteral("SPL.xml")
                                            : folder + QStringLiteral("/SPL.xml");
    const auto chosen = askForFile(preset, QStringLiteral("XML Files| *.xml"));
    if (!chosen)
        return;
    const qsizetype separator = std::max(chosen->lastIndexOf(QLatin1Char('/')), chosen->lastIndexOf(QLatin1Char('\\')));
    box->setText(chosen->left(separator + 1));
}

void frmBuildSPL::cmdGenerateSetID_Click()
{
    try {
        if (ui::msgBox(QStringLiteral("Are you sure you want to generate a new Set ID?"), ui::Buttons::YesNo,
                       ui::Icon::Warning) == ui::Answer::Yes)
            textBox(QStringLiteral("txtSetID"))->setText(NewGUID());
    } catch (const std::exception& e) {
        ui::showError(toVbError(e, QStringLiteral("cmdGenerateSetID_Click")));
    }
}

void frmBuildSPL::cmdOpenWord_Click()
{
    skip([&] { ShellOpen(textBox(QStringLiteral("txtSourceFileName"))->text()); });
}

void frmBuildSPL::cmdOpenSPL_Click()
{
    const QString folder = textBox(QStringLiteral("txtTargetFolder"))->text();
    // No folder or no target name: nothing would be the build's file, so nothing is opened.
    if (folder.isEmpty())
        return;
    skip([&] { ShellOpen(SPLTargetFileName(textBox(QStringLiteral("txtSourceFileName"))->text(), folder)); });
}

void frmBuildSPL::cmdCancel_Click()
{
    if (auto* frameWindow = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frameWindow->hide();
    hide();
}

void frmBuildSPL::closeEvent(QCloseEvent* event)
{
    // Closing the window any way keeps the entries, as Close does.
    event->ignore();
    cmdCancel_Click();
}

bool frmBuildSPL::InputCheck() const
{
    return buildform::InputCheck(state());
}

void frmBuildSPL::OK()
{
    if (runBuild(state()) == BuildOutcome::Failed) {
        raise();
        activateWindow();
    }
}

} // namespace veldra::buildform
