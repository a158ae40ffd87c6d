#pragma once

#include "platform/xml/tree/Node.h"

#include <QString>
#include <functional>
#include <vector>

class QTreeWidgetItem;

namespace veldra {

class frmXMLEditor;

// The field dialog (frmXMLDataEdit) belongs to the field-dialog subsystem, which is built on
// top of the editor; the editor prepares what the dialog is to show and hands it over here.
struct FieldDialogRequest {
    QString Mode;                                 // "AddNode" for the add dialog, empty to edit values
    frmXMLEditor* SourceForm = nullptr;           // the editor window the dialog writes into
    QTreeWidgetItem* TargetTreeViewNode = nullptr;
    QString caption;                              // the dialog window's caption
    QString frameCaption;                         // caption of FrameData
    QString info;                                 // caption of lblInfo
    std::vector<xml::Node> rows;                  // one row per element, AddControl(rows[i], i + 1)
    bool preselectOnlyEntry = false;              // a choice box with one entry shows it chosen
};

// The field-dialog subsystem installs the function that builds and shows the dialog
// (modeless, at the mouse pointer). While none is installed, no dialog appears.
std::function<void(const FieldDialogRequest&)>& fieldDialogLauncher();

// The caption of lblInfo for a name: the first 20 characters followed by "..." when the
// name has 20 characters or more.
QString infoCaption(const QString& name);

} // namespace veldra
