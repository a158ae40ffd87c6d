#pragma once

#include "platform/ui/DesktopOpener.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <QFile>
#include <QStringList>

namespace veldra::test {

// Takes the place of the desktop's opener (xdg-open) for one test, so that no browser or file
// manager opens: a shell script that notes each address it is given and then runs `ending`
// (an exit status, a message on standard error, a pause).
class StandInOpener {
public:
    explicit StandInOpener(const QString& ending)
    {
        writeTextFile(program(), QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\n%2\n").arg(notes(), ending));
        QFile::setPermissions(program(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ui::setDesktopOpenerProgram(program());
    }
    ~StandInOpener() { ui::setDesktopOpenerProgram(QString()); }
    StandInOpener(const StandInOpener&) = delete;
    StandInOpener& operator=(const StandInOpener&) = delete;

    // The addresses it was given, one a run.
    QStringList asked() const
    {
        QFile file(notes());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // What xdg-open does when it finds no program for an address.
    static QString noMethod()
    {
        return QStringLiteral("echo \"xdg-open: no method available for opening '$1'\" >&2\nexit 3");
    }

private:
    QString program() const { return dir_.file(QStringLiteral("opener")); }
    QString notes() const { return dir_.file(QStringLiteral("asked")); }

    TempDir dir_;
};

} // namespace veldra::test
