#pragma once

#include "app/EditorWindow.h"

#include <QPointer>
#include <QWidget>
#include <optional>

namespace veldra {

// Marks a command as running on an editor window for its lifetime. Commands that let events
// run over the window's document (builds, previews, imports, numbering, LOINC coding, tree
// rebuilds) hold one, so that the window refuses to close meanwhile. Holds nest: a command
// may call others of the window (an import rebuilds the tree and opens the preview).
// Should the window go all the same (the program ends), the hold lets go of it.
class EditorCommandRunning {
public:
    explicit EditorCommandRunning(EditorWindow& editor) : editor_(editor), window_(dynamic_cast<QWidget*>(&editor))
    {
        ++editor_.commandsRunning_;
    }
    ~EditorCommandRunning()
    {
        if (window_)
            --editor_.commandsRunning_;
    }
    EditorCommandRunning(const EditorCommandRunning&) = delete;
    EditorCommandRunning& operator=(const EditorCommandRunning&) = delete;

private:
    EditorWindow& editor_;
    QPointer<QWidget> window_;
};

// Starts a command the user chose for the window's document: the hold, or nothing when
// another command still runs on it, after telling the user so.
std::optional<EditorCommandRunning> startEditorCommand(EditorWindow& editor);

inline const QString CommandStillRunningMessage =
    QStringLiteral("Another command is still working on this document. Please start this one when it has ended.");

} // namespace veldra
