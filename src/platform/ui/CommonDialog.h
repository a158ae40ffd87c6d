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
    // a VbError (number `cancelErrorNumber`) instead.
    bool showOpen();
    bool showSave();
    bool showColor();

    static constexpr int cancelErrorNumber = 32755;

    // "XML Files | *.xml | All Files | *.*" -> "XML Files (*.xml);;All Files (*)"
    static QString toQtFilter(const QString& filter);

private:
    bool cancelled();
};

} // namespace veldra::ui
