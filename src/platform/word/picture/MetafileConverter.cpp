#include "platform/word/picture/MetafileConverter.h"

#include "platform/core/ChildExitStatus.h"
#include "platform/core/HelperLifetime.h"
#include "platform/word/picture/PictureRenderer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace veldra::word {

namespace {

struct ConverterProgram {
    QString path;
    std::chrono::milliseconds timeLimit{0};
};

ConverterProgram& programForTesting()
{
    static ConverterProgram program;
    return program;
}

ConverterProgram converterProgram()
{
    if (!programForTesting().path.isEmpty())
        return programForTesting();
    return {QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("veldra-metafile")),
            picture_limits::MetafileTimeLimit};
}

QString outcome(QProcess& process, const QString& kind)
{
    if (process.exitStatus() == QProcess::CrashExit)
        return QStringLiteral("the %1 picture made its converter fail").arg(kind);
    if (process.exitCode() == metafile::NotDrawn)
        return QStringLiteral("the %1 picture ").arg(kind) + QString::fromUtf8(process.readAllStandardOutput());
    if (process.exitCode() == metafile::NotConverted)
        return QStringLiteral("the %1 picture could not be converted").arg(kind);
    return QStringLiteral("the %1 picture was refused by its converter (status %2)").arg(kind).arg(process.exitCode());
}

} // namespace

ConverterRun runMetafileConverter(const QString& kind, const QStringList& arguments, const QByteArray& metafile)
{
    const ConverterProgram program = converterProgram();
    if (!QFileInfo(program.path).isExecutable())
        return {{}, QStringLiteral("the %1 picture cannot be drawn: its converter %2 is missing").arg(kind, program.path)};
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    endWithThisProcess(process);
    process.start(program.path, arguments);
    if (!process.waitForStarted())
        return {{}, QStringLiteral("the %1 picture cannot be drawn: its converter did not start (%2)").arg(kind, process.errorString())};
    process.write(metafile);
    process.closeWriteChannel();
    const bool finished = process.waitForFinished(int(program.timeLimit.count())) || process.state() == QProcess::NotRunning;
    if (!finished) {
        process.kill();
        process.waitForFinished(-1);
        return {{}, QStringLiteral("the %1 picture could not be drawn within %2 seconds")
                        .arg(kind)
                        .arg(double(program.timeLimit.count()) / 1000.0)};
    }
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == metafile::Converted)
        return {process.readAllStandardOutput(), QString()};
    return {{}, outcome(process, kind)};
}

void setMetafileConverterForTesting(const QString& program, std::chrono::milliseconds timeLimit)
{
    programForTesting() = {program, timeLimit};
}

} // namespace veldra::word
