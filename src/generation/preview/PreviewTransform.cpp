#include "generation/preview/PreviewTransform.h"

#include "platform/core/ChildExitStatus.h"
#include "platform/core/CountText.h"
#include "platform/core/HelperLifetime.h"
#include "platform/ui/WorkProgress.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace veldra {

namespace {

// How often the wait looks at the progress window: Cancel ends the program within this.
constexpr int PollMs = 50;

const QString WhatToDo = QStringLiteral(
    "\r\n\r\nCheck the file for parts repeated by mistake, or split the label into smaller documents. The file itself "
    "is not changed.");

struct TransformProgram {
    QString path;
    PreviewWorkCap cap;
};

TransformProgram& programForTesting()
{
    static TransformProgram program;
    return program;
}

TransformProgram transformProgram()
{
    if (!programForTesting().path.isEmpty())
        return programForTesting();
    return {QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("veldra-xslt")), PreviewCap};
}

QStringList argumentsFor(const QString& stylesheet, const xml::XsltParameters& parameters, PreviewWorkCap cap)
{
    QStringList arguments{stylesheet, QString::number(cap.steps), QString::number(cap.processorSeconds)};
    for (const auto& [name, value] : parameters)
        arguments << name << value;
    return arguments;
}

PreviewTransformRun failed(const QString& problem)
{
    return {QString(), problem, false};
}

// Why the program gave no page, from how it ended.
QString outcome(QProcess& process, const TransformProgram& program)
{
    if (process.exitStatus() == QProcess::NormalExit) {
        switch (process.exitCode()) {
        case xsltrun::NotTransformed:
            return QString::fromUtf8(process.readAllStandardOutput());
        case xsltrun::StepLimit:
            return QStringLiteral("The SPL File is not previewed: the SPL stylesheet took %1 steps on it, the most a "
                                  "preview may take (real labels of three megabytes take under a billion).")
                       .arg(countText(qint64(program.cap.steps)))
                + WhatToDo;
        case xsltrun::TimeLimit:
            return QStringLiteral("The SPL File is not previewed: the SPL stylesheet worked on it for %1 seconds of "
                                  "processor time, the most a preview may take (real labels of three megabytes take "
                                  "about a minute).")
                       .arg(countText(qint64(program.cap.processorSeconds)))
                + WhatToDo;
        case xsltrun::MemoryLimit:
            return QStringLiteral("The SPL File is not previewed: the SPL stylesheet needed more memory on it than a "
                                  "preview may take.")
                + WhatToDo;
        default:
            break;
        }
    }
    return QStringLiteral("The SPL File is not previewed: the program that renders it (%1) ended without a page.")
               .arg(program.path)
        + WhatToDo;
}

// Waits for the program while the windows stay alive; false when the user stopped it, which
// ends the program. Events run at least once, however soon the page is ready, so that what
// the user did meanwhile (closing the editor of a quick preview) is always seen afterwards.
bool awaited(QProcess& process)
{
    ui::WorkProgress progress(QStringLiteral("Rendering the preview…"));
    do {
        if (!progress.keepGoing()) {
            process.kill();
            process.waitForFinished(-1);
            return false;
        }
    } while (!process.waitForFinished(PollMs) && process.state() != QProcess::NotRunning);
    return true;
}

} // namespace

PreviewTransformRun runPreviewTransform(const QString& stylesheet, const xml::XsltParameters& parameters,
                                        const QByteArray& label)
{
    const TransformProgram program = transformProgram();
    if (!QFileInfo(program.path).isExecutable())
        return failed(QStringLiteral("The SPL File cannot be previewed: the program that renders it, %1, is missing. "
                                     "Install Veldra again.")
                          .arg(program.path));
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    endWithThisProcess(process);
    process.start(program.path, argumentsFor(stylesheet, parameters, program.cap));
    if (!process.waitForStarted())
        return failed(QStringLiteral("The SPL File cannot be previewed: the program that renders it did not start (%1).")
                          .arg(process.errorString()));
    process.write(label);
    process.closeWriteChannel();
    if (!awaited(process))
        return {QString(), QStringLiteral("The preview was stopped before its page was ready. The SPL File is not changed."),
                true};
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == xsltrun::Transformed)
        return {QString::fromUtf8(process.readAllStandardOutput()), QString(), false};
    return failed(outcome(process, program));
}

void setPreviewTransformForTesting(const QString& program, PreviewWorkCap cap)
{
    programForTesting() = {program, cap};
}

} // namespace veldra
