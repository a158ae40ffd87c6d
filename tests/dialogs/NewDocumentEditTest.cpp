#include "DialogTestSupport.h"

#include "dialogs/DefinitionAttribute.h"
#include "editor/document/NodeRules.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "editor/document/ValueChecks.h"
#include "platform/core/VbString.h"
#include "platform/xml/tree/Document.h"

#include <QComboBox>
#include <QPushButton>
#include <QTreeWidgetItem>

using namespace veldra;
using test::flushDeletes;

namespace {

// A value the element's length and number checks accept; the shown value when it already
// passes them.
QString acceptedValue(const xml::Node& element, const QString& shown)
{
    const QString minText = definitionAttribute(element, "ConstraintLengthMin");
    const QString maxText = definitionAttribute(element, "ConstraintLengthMax");
    const int min = minText.isEmpty() ? 0 : minText.toInt();
    const int max = maxText.isEmpty() ? 1000000 : maxText.toInt();
    const bool numeric = definitionAttribute(element, "ConstraintDataType") == QLatin1String("Numeric");
    if (shown.size() >= min && shown.size() <= max && (!numeric || vbstr::isNumeric(shown)))
        return shown;
    return QString(std::max(min, 1), numeric ? QLatin1Char('7') : QLatin1Char('x'));
}

// What the document holds once a field's value went through OK.
QString storedValue(const xml::Node& element, const FieldRow& row)
{
    QString value = FieldRowDialog::fieldValue(row);
    if (row.kind == FieldKind::MultiLine)
        return value.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (definitionAttribute(element, "ConstraintValues").contains(QLatin1Char('{')) && value.contains(QLatin1Char('{')))
        return vbstr::trim(value.section(QLatin1Char('{'), 0, 0));
    return value;
}

class NewDocumentEdit : public test::DialogFixture {
protected:
    // The editor's edit command on a tree node; the dialog it opened, if any.
    frmXMLDataEdit* edit(frmXMLEditor* editor, QTreeWidgetItem* node)
    {
        editor->TreeView->selectNode(node);
        lastFieldDialog = nullptr;
        EditNodeData(*editor);
        return lastFieldDialog;
    }
    // The element of each row of `dialog`, opened on `node`.
    static std::vector<xml::Node> rowElements(const frmXMLEditor* editor, QTreeWidgetItem* node,
                                              const frmXMLDataEdit& dialog)
    {
        const xml::Node element = elementBehind(node, *editor->XMLDoc);
        std::vector<xml::Node> elements;
        for (const FieldRow& row : dialog.rows())
            elements.push_back(node->childCount() == 0 ? element
                                                       : element.selectSingleNode(row.name));
        return elements;
    }
};

} // namespace

// A user can give every value of a new document an accepted value through the field
// dialogs: every group's dialog takes its values, OK writes each of them as shown, and a
// second OK without changes leaves the document as it is.
TEST_F(NewDocumentEdit, EveryGroupsValuesGoThroughTheFieldDialog)
{
    frmXMLEditor* editor = newSettings();
    ASSERT_NE(editor->XMLDoc, nullptr);
    QStringList keys;
    editor->TreeView->forEachNode([&](QTreeWidgetItem* node) {
        if (node->parent())
            keys << nodeKey(node);
    });
    ASSERT_GT(keys.size(), 100);

    int dialogs = 0;
    int values = 0;
    for (const QString& key : keys) {
        QTreeWidgetItem* node = editor->TreeView->nodeByKey(key);
        ASSERT_NE(node, nullptr) << key.toStdString();
        const QString path = BuildXPathFromTreeView(node, QString());
        SCOPED_TRACE(path.toStdString());
        QPointer<frmXMLDataEdit> dialog = edit(editor, node);
        if (!dialog)
            continue;
        ++dialogs;
        const std::vector<xml::Node> elements = rowElements(editor, node, *dialog);
        for (std::size_t i = 0; i < elements.size(); ++i) {
            const FieldRow& row = dialog->rows()[i];
            ASSERT_FALSE(elements[i].isNull()) << row.name.toStdString();
            if (row.kind != FieldKind::ChoiceList)
                FieldRowDialog::setFieldText(row.field, acceptedValue(elements[i], FieldRowDialog::fieldText(row.field)));
        }
        QStringList expected;
        for (std::size_t i = 0; i < elements.size(); ++i)
            expected << storedValue(elements[i], dialog->rows()[i]);

        dialog->cmdOK->click();
        flushDeletes();
        EXPECT_TRUE(dialog.isNull()) << "refused";
        EXPECT_EQ(messageTexts(), QStringList());
        ui.messages.clear();

        QStringList stored;
        for (const xml::Node& element : elements)
            stored << element.text();
        EXPECT_EQ(stored, expected);
        values += int(elements.size());

        // The same values once more: nothing changes.
        const QString before = editor->XMLDoc->xml();
        dialog = edit(editor, editor->TreeView->nodeByKey(key));
        ASSERT_FALSE(dialog.isNull());
        dialog->cmdOK->click();
        flushDeletes();
        EXPECT_TRUE(dialog.isNull()) << "refused the second time";
        EXPECT_EQ(messageTexts(), QStringList());
        ui.messages.clear();
        EXPECT_EQ(editor->XMLDoc->xml(), before);
    }
    EXPECT_GT(dialogs, 50);
    EXPECT_GT(values, 100);
    EXPECT_FALSE(editor->Saved);
}

// The add dialog works on every level of a new document, the root included: a group the
// user removed comes back, and a kind that may occur again is added once more.
TEST_F(NewDocumentEdit, AddDialogBringsBackRemovedAndRepeatableKinds)
{
    frmXMLEditor* editor = newSettings();
    ASSERT_NE(editor->XMLDoc, nullptr);
    const xml::Node report = editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/LotDistributionReport"));
    report.parentNode().removeChild(report);
    editor->RefreshXML(false);

    for (const QString& query : {QStringLiteral("SPLR4"), QStringLiteral("SPLR4/Products/Product")}) {
        SCOPED_TRACE(query.toStdString());
        editor->TreeView->selectNode(nodeOf(editor, query));
        lastFieldDialog = nullptr;
        AddSPLR4Node(*editor, *editor->TreeView);
        QPointer<frmXMLDataEdit> dialog = lastFieldDialog;
        ASSERT_FALSE(dialog.isNull()) << messageTexts().join(QLatin1Char('|')).toStdString();
        auto* list = qobject_cast<QComboBox*>(dialog->rows().at(0).field);
        ASSERT_NE(list, nullptr);
        const QString entry = query == QLatin1String("SPLR4") ? QStringLiteral("[+] Lot Distribution Report")
                                                               : QStringLiteral("[+] Ingredient");
        const int index = list->findText(entry);
        ASSERT_GE(index, 0) << entry.toStdString();
        list->setCurrentIndex(index);
        const QString name = QString(entry).remove(QStringLiteral("[+] ")).remove(QLatin1Char(' '));
        const int before = editor->XMLDoc->selectNodes(query + QLatin1Char('/') + name).length();

        dialog->cmdOK->click();
        flushDeletes();
        EXPECT_TRUE(dialog.isNull());
        EXPECT_EQ(messageTexts(), QStringList());
        EXPECT_EQ(editor->XMLDoc->selectNodes(query + QLatin1Char('/') + name).length(), before + 1);
    }
}

// Coded lists without a starting value stay empty when the user presses OK without
// choosing: the first code of a list is never stored by accident.
TEST_F(NewDocumentEdit, UntouchedCodedListsStayEmpty)
{
    frmXMLEditor* editor = newSettings();
    ASSERT_NE(editor->XMLDoc, nullptr);
    const QStringList groups = {QStringLiteral("SPLR4/Products/Product"),
                                QStringLiteral("SPLR4/ProductLabel/DocumentSections/Section")};
    for (const QString& group : groups) {
        SCOPED_TRACE(group.toStdString());
        QTreeWidgetItem* node = nodeOf(editor, group);
        QPointer<frmXMLDataEdit> dialog = edit(editor, node);
        ASSERT_FALSE(dialog.isNull());
        const std::vector<xml::Node> elements = rowElements(editor, node, *dialog);
        for (std::size_t i = 0; i < elements.size(); ++i) {
            const FieldRow& row = dialog->rows()[i];
            if (row.kind != FieldKind::ChoiceList)
                FieldRowDialog::setFieldText(row.field, acceptedValue(elements[i], FieldRowDialog::fieldText(row.field)));
        }
        dialog->cmdOK->click();
        flushDeletes();
        EXPECT_TRUE(dialog.isNull()) << messageTexts().join(QLatin1Char('|')).toStdString();
        ui.messages.clear();
    }
    for (const char* coded : {"Products/Product/DosageFormCode", "Products/Product/DosageFormDisplayName",
                              "ProductLabel/DocumentSections/Section/SectionCode",
                              "ProductLabel/DocumentSections/Section/SectionName"})
        EXPECT_EQ(editor->XMLDoc->selectSingleNode(QStringLiteral("SPLR4/") + QLatin1String(coded)).text(), QString())
            << coded;
}
