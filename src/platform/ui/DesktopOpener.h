#pragma once

#include <QString>

namespace veldra::ui {

// Opens a file, folder or web address with the desktop's opener (xdg-open) and reports
// whether the opener did so: it runs as a process and its exit status counts, so an opener
// that starts but finds no program for the address ("no method available") is a failure.
// An opener still running after a few seconds has started a program that keeps it waiting
// (a browser it runs in the foreground) and counts as a success; it runs on. Only
// painting and timers are served while the opener is awaited, not the user's input. Without
// the opener program, Qt's own search for a browser or file handler decides.
bool openWithDesktop(const QString& target);

// Tests name a stand-in for the opener program here; an empty name restores xdg-open.
void setDesktopOpenerProgram(const QString& program);

} // namespace veldra::ui
