#include "dialogs/frmXMLDataEdit.h"

#include "dialogs/ChoiceEntries.h"
#include "dialogs/DropTextBox.h"
#include "editor/document/NodeRules.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "editor/document/ValueChecks.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/core/Skip.h"
#include "platform/core/VbError.h"
#include "platform/ui/Ui.h"

#include <QComboBox>
#include <QGroupBox>

namespace veldra {

namespace {

const QString AddNodeMode = QStringLiteral("AddNode");
const QString Source = QStringLiteral("frmXMLDataEdit");

// The code and name lists that keep each other in step.
QString partnerOf(const QString& name)
{
    static const char* const pairs[][2] = {
        {"BusinessOperationCode", "BusinessOperationDisplayName"},
        {"DosageFormCode", "DosageFormDisplayName"},
        {"PackagingFormCode", "PackagingFormDisplayName"},
        {"NCIMarketingCategoryCode", "NCIMarketingCategoryDisplayName"},
        {"NCICode", "NCIDisplayName"},
        {"CombinationProductTypeCode", "CombinationProductTypeName"},
    };
    for (const auto& pair : pairs) {
        if (name == QLatin1String(pair[0]))
            return QLatin1String(pair[1]);
        if (name == QLatin1String(pair[1]))
            return QLatin1String(pair[0]);
    }
    return {};
}

bool takesDroppedText(const QString& name)
{
    static const QStringList names = {QStringLiteral("IngredientName"), QStringLiteral("IngredientUNIICode"),
                                      QStringLiteral("MoietyName"), QStringLiteral("MoietyUNIICode")};
    return names.contains(name);
}

FieldRowDialog::Design design()
{
    return {QStringLiteral("XML Data Edit"), QStringLiteral("&OK"), QStringLiteral("&Cancel"),
            QRect(3120, 120, 2550, 750), 3015, 720};
}

} // namespace

frmXMLDataEdit::frmXMLDataEdit(QWidget* parent) : FieldRowDialog(design(), parent)
{
    setObjectName(QStringLiteral("frmXMLDataEdit"));
}

void frmXMLDataEdit::setTargetTreeViewNode(QTreeWidgetItem* node)
{
    targetKey_ = nodeKey(node);
}

QTreeWidgetItem* frmXMLDataEdit::TargetTreeViewNode() const
{
    if (!SourceForm || !SourceForm->TreeView || targetKey_.isEmpty())
        return nullptr;
    return SourceForm->TreeView->nodeByKey(targetKey_);
}

void frmXMLDataEdit::OK()
{
    if (!SourceForm || !SourceForm->XMLDoc || !TargetTreeViewNode()) {
        ui::msgBox(QStringLiteral("The values cannot be written because the related SPL Document cannot be found."),
                   ui::Buttons::OK, ui::Icon::Warning);
        return;
    }
    bool written = false;
    try {
        const QString XPath = BuildXPathFromTreeView(TargetTreeViewNode(), SettingsMode);
        const bool Success = writeRows(XPath, written);
        SourceForm->Saved = false;
        if (Success)
            closeWindow();
    } catch (const std::exception& e) {
        // Rows written before the failure stay written: the document has changed.
        if (written && SourceForm)
            SourceForm->Saved = false;
        ui::showError(toVbError(e, Source));
    }
}

bool frmXMLDataEdit::writeRows(const QString& XPath, bool& written)
{
    const bool addMode = Mode == AddNodeMode;
    for (const FieldRow& r : rows()) {
        if (addMode && r.kind != FieldKind::ChoiceList)
            continue;
        // Adding a child rebuilds the editor's tree: find the node again for every row.
        QTreeWidgetItem* node = TargetTreeViewNode();
        if (!node)
            throw VbError(err::General, Source, QStringLiteral("The element being edited cannot be found."));
        QString value = fieldValue(r);
        const bool accepted = addMode
                                  ? AddNodeToTreeViewXML(*SourceForm, node, r.name, value, XPath, *SourceForm->XMLDoc)
                                  : SetValueToTreeViewXML(node, r.name, value, XPath, *SourceForm->XMLDoc);
        if (!accepted) {
            selectField(r.field);
            return false;
        }
        written = true;
    }
    return true;
}

void frmXMLDataEdit::SetCodeAndDisplayName(QComboBox* SourceComboBox, QComboBox* TargetComboBox)
{
    const int entry = TargetComboBox->findText(mirroredEntry(SourceComboBox->currentText()),
                                               Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (entry >= 0)
        TargetComboBox->setCurrentIndex(entry);
}

void frmXMLDataEdit::showChoiceValue(QComboBox* list, const QString& value)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->itemText(i);
    const int entry = matchingEntry(entries, value);
    if (entry >= 0) {
        list->setCurrentIndex(entry);
        return;
    }
    FieldRowDialog::showChoiceValue(list, value);
}

void frmXMLDataEdit::attachChoiceList(QComboBox* list, const QString& name)
{
    const QString partner = partnerOf(name);
    if (partner.isEmpty())
        return;
    // Only the user's choice raises `activated`; selecting the partner's entry from here does
    // not, so the two lists never call each other back and forth.
    connect(list, &QComboBox::activated, this, [this, list, partner] {
        skip([&] {
            const FieldRow* other = row(partner);
            if (other && other->kind == FieldKind::ChoiceList)
                SetCodeAndDisplayName(list, static_cast<QComboBox*>(other->field));
        });
    });
}

QLineEdit* frmXMLDataEdit::newTextBox(const QString& name)
{
    if (takesDroppedText(name))
        return new DropTextBox(FrameData);
    return FieldRowDialog::newTextBox(name);
}

} // namespace veldra
