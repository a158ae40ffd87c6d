#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>

namespace veldra::word {

// What the converter program made of a metafile: its output, or why there is none.
struct ConverterRun {
    QByteArray output;
    QString reason;
};

// Runs the metafile converter program (veldra-metafile, beside the executable) with
// `arguments`, the metafile on its standard input. The program bounds its own memory and
// processor time; a run that outlasts picture_limits::MetafileTimeLimit is killed, and a
// metafile that hangs, crashes or exhausts a library ends that process only. `kind` ("EMF",
// "WMF") names the picture in the reasons.
ConverterRun runMetafileConverter(const QString& kind, const QStringList& arguments, const QByteArray& metafile);

// Tests run another program in its place or shorten the time limit; an empty path restores both.
void setMetafileConverterForTesting(const QString& program, std::chrono::milliseconds timeLimit);

} // namespace veldra::word
