#pragma once

#include <QColor>
#include <QString>

namespace veldra::ui {

// The one shared common dialog of the main window. Each use sets only the
// properties it needs; the others keep the values of the previous use.
// The filter is written "Description | pattern" (pairs may repeat, joined by "|").
class CommonDialog {
public:
    QString dialogTitle;
    QString filter;
    int filterIndex = 1;  // 1-based, as the filter pairs are counted
    QString fileName;     // in: initial name; out: the chosen path
    QString initDir;
    bool overwritePrompt = false;
    bool cancelError = false;
    QColor color;

    // Each returns false when the user cancels. With cancelError set, a cancel throws
    // a VbError (number `cancelErrorNumber`) instead. A name chosen in the save dialog
    // without an extension gets the one of the filter entry in use.
    bool showOpen();
    bool showSave();

    // Starts a use of the dialog for a file: every command names its own title, filter and
    // file name, so that nothing of the previous use shows (the folder is left to the caller).
    void prepareFile(const QString& title, const QString& fileFilter, const QString& name = QString());
    bool showColor();

    static constexpr int cancelErrorNumber = 32755;

    // "XML Files | *.xml | All Files | *.*" -> "XML Files (*.xml);;All Files (*)"
    static QString toQtFilter(const QString& filter);
    // The extension of the first pattern of filter entry `index` (1-based): "xml" for
    // "XML Files | *.xml"; "" for "*.*" and patterns without one.
    static QString filterExtension(const QString& filter, int index);
    // `path` with ".extension" appended when its file name has no extension of its own.
    static QString withExtension(const QString& path, const QString& extension);

private:
    bool cancelled();
};

} // namespace veldra::ui
