#pragma once

#include "app/log/LoggedProblems.h"

#include <QPointer>
#include <QString>
#include <functional>

namespace veldra {

namespace xml {
class Document;
}

class EditorTreeView;
class frmXMLEditor;

// What a build did: whether the SPL file was written, and why not when it was not (empty when
// the build was refused with a message of its own); and what the log says of the file
// written, counted with logging off too.
struct BuildOutcome {
    bool written = false;
    QString failure;
    bool invalid = false;     // the file is not valid against the SPL schema
    int missingPictures = 0;  // picture files it refers to that are not beside it
    // Every warning and error of the build, these included. Without a log, a build does not
    // look up the targets of values that have no source, so it has no notes of them to count.
    LoggedProblems problems;
};

// Calls from the editor into the SPL generation subsystem, which is built on top of the
// editor and fills these at start-up. An empty member means that subsystem is not linked
// in: the editor command that needs it does nothing.
//
// These commands let events run while they work, and the user may close the editor
// meanwhile: documents go by a handle that keeps them alive (copies share the tree), and
// editor windows by a QPointer that the command checks after every point where events ran.
struct EditorHooks {
    // Builds the SPL file `outFile` from a settings document; reports to the log.
    std::function<BuildOutcome(xml::Document settings, const QString& outFile)> TransformSPLR4ToSPL;
    // Builds and shows the quick preview of the editor's settings document.
    std::function<void(QPointer<frmXMLEditor> editor)> PreviewSPLR4Document;
    // Reads data of an existing SPL file into the element behind the tree's selected node.
    std::function<void(QPointer<frmXMLEditor> editor, QPointer<EditorTreeView> tree)> ImportDataFromSPLFile;
};

EditorHooks& editorHooks();

} // namespace veldra
