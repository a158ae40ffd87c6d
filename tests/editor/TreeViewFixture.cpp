#include "TreeViewFixture.h"

#include "platform/xml/tree/Document.h"
#include "support/EditorTree.h"
#include "support/Fixtures.h"

#include <QSettings>
#include <QStandardPaths>

namespace veldra::test {

SettingsStoreRedirect::SettingsStoreRedirect()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, store_.path());
}

SettingsStoreRedirect::~SettingsStoreRedirect()
{
    const QString standard = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, standard);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, standard);
}

TreeViewFixture::~TreeViewFixture()
{
    for (const QPointer<frmXMLEditor>& editor : editors_)
        delete editor.data();
}

QString TreeViewFixture::writeFile(const QString& name, const QString& text)
{
    const QString path = dir.file(name);
    writeTextFile(path, text);
    return path;
}

frmXMLEditor* TreeViewFixture::openFile(const QString& path, const QString& mode)
{
    auto* editor = new frmXMLEditor;
    editors_.append(editor);
    editor->Mode = mode;
    editor->show();
    editor->XMLOnTreeView(editor->TreeView, path, QStringLiteral("Edit SPLR4"), false);
    return editor;
}

frmXMLEditor* TreeViewFixture::openSettings(const QString& xmlText, const QString& name)
{
    return openFile(writeFile(name, xmlText), QStringLiteral("SPLR4"));
}

frmXMLEditor* TreeViewFixture::openView(const QString& xmlText, const QString& name)
{
    return openFile(writeFile(name, xmlText), QStringLiteral("View"));
}

QTreeWidgetItem* TreeViewFixture::node(const frmXMLEditor* editor, const QString& caption)
{
    return firstNodeStartingWith(editor, caption);
}

QTreeWidgetItem* TreeViewFixture::select(frmXMLEditor* editor, const QString& caption)
{
    return selectNode(editor, node(editor, caption));
}

QStringList TreeViewFixture::captions(const frmXMLEditor* editor)
{
    return allCaptions(editor);
}

QStringList TreeViewFixture::keys(const frmXMLEditor* editor)
{
    QStringList all;
    editor->TreeView->forEachNode([&](QTreeWidgetItem* item) { all << nodeKey(item); });
    return all;
}

int TreeViewFixture::countWithBackColor(const frmXMLEditor* editor, const QColor& color)
{
    int count = 0;
    editor->TreeView->forEachNode([&](QTreeWidgetItem* item) {
        if (nodeBackColor(item) == color)
            ++count;
    });
    return count;
}

QStringList TreeViewFixture::texts(const frmXMLEditor* editor, const QString& query)
{
    QStringList all;
    for (const xml::Node& n : editor->XMLDoc->selectNodes(query))
        all << n.text();
    return all;
}

QString sampleSettings()
{
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<SPLR4>
  <GeneralData>
    <DocumentID ConstraintDataType="GUID" ConstraintExample="a new id">d1</DocumentID>
    <Title>Aspirin Tablets</Title>
  </GeneralData>
  <Products>
    <Product>
      <ProductName lang="en" Color="255" ID="x" code="c1">Aspirin</ProductName>
      <Ingredient><IngredientName>ASPIRIN</IngredientName></Ingredient>
    </Product>
    <Product>
      <ProductName>Aspirin Forte</ProductName>
      <Ingredient><IngredientName>ASPIRIN</IngredientName></Ingredient>
      <Marketing/>
    </Product>
  </Products>
</SPLR4>
)");
}

} // namespace veldra::test
