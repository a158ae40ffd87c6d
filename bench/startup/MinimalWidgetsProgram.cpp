// The floor of the start-up benchmark: a minimal Qt Widgets program, a main window with a
// menu and a label shown maximised, ending at its first paint through the program's own hook.
#include "app/startup/FirstPaintExit.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("File"));
    window.setCentralWidget(new QLabel(QStringLiteral("Minimal")));
    veldra::exitAfterFirstPaintWhenAsked(window);
    window.showMaximized();
    return app.exec();
}
