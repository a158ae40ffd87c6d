#pragma once

#include "app/EditorWindow.h"
#include "app/Hooks.h"

#include "support/TempDir.h"

#include <QCloseEvent>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QWidget>
#include <functional>

namespace veldra::test {

// Restores the hook table at the end of a test.
class HookTableScope {
public:
    HookTableScope() : saved_(hooks()) { hooks() = Hooks(); }
    ~HookTableScope() { hooks() = saved_; }

private:
    Hooks saved_;
};

// Sends the per-user settings store to a folder of the test's own for one test.
class SettingsStoreScope {
public:
    SettingsStoreScope()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store_.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, store_.path());
    }
    ~SettingsStoreScope()
    {
        const QString standard = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, standard);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, standard);
    }

private:
    TempDir store_;
};

// An editor window that records what the main window asks of it.
class FakeEditor : public QWidget, public EditorWindow {
public:
    explicit FakeEditor(xml::Document* document = nullptr) : document_(document)
    {
        setAttribute(Qt::WA_DeleteOnClose);
    }

    QStringList calls;
    bool saved = true;
    bool refuseClose = false;
    std::function<void()> onClose;  // runs when the window is asked to close
    QString mode = QStringLiteral("SPLR4");
    QString nodeValue;
    std::function<void()> onPreview;  // what the preview does besides being recorded

    xml::Document* settingsDocument() override { return document_; }
    void setSaved(bool value) override { saved = value; calls << QStringLiteral("setSaved(%1)").arg(value); }
    bool hasUnsavedChanges() override { return !saved; }
    void setMode(const QString& value) override { mode = value; calls << QStringLiteral("setMode(%1)").arg(value); }
    bool XMLOnTreeView(const QString& file, const QString& action, bool update) override
    {
        calls << QStringLiteral("XMLOnTreeView(%1,%2,%3)").arg(file, action).arg(update);
        return true;
    }
    void RefreshXML(bool keepColor) override { calls << QStringLiteral("RefreshXML(%1)").arg(keepColor); }
    QString selectedNodeValue() override { return nodeValue; }
    void PreviewSPLQuick() override
    {
        calls << QStringLiteral("PreviewSPLQuick");
        if (onPreview)
            onPreview();
    }
    void OpenContainingFolder() override { calls << QStringLiteral("OpenContainingFolder"); }
    void CloneNode() override { calls << QStringLiteral("CloneNode"); }
    void ReverseTransformNode() override { calls << QStringLiteral("ReverseTransformNode"); }
    void AddNode() override { calls << QStringLiteral("AddNode"); }
    void CopySelection() override { calls << QStringLiteral("CopySelection"); }
    void DataEdit() override { calls << QStringLiteral("DataEdit"); }
    void DeleteNode() override { calls << QStringLiteral("DeleteNode"); }
    bool SaveXMLDoc(bool saveAs) override
    {
        calls << QStringLiteral("SaveXMLDoc(%1)").arg(saveAs);
        return true;
    }
    void SearchNode(bool replace) override { calls << QStringLiteral("SearchNode(%1)").arg(replace); }
    void SetColor() override { calls << QStringLiteral("SetColor"); }
    void TransformSPL() override { calls << QStringLiteral("TransformSPL"); }
    void TreeViewExpandAll(bool expand) override { calls << QStringLiteral("TreeViewExpandAll(%1)").arg(expand); }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        if (onClose)
            onClose();
        if (refuseClose)
            event->ignore();
        else
            event->accept();
    }

private:
    xml::Document* document_;
};

} // namespace veldra::test
