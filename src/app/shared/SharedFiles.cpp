#include "app/shared/SharedProcedures.h"

#include "platform/core/AppPaths.h"
#include "platform/core/FileSave.h"
#include "platform/core/VbError.h"
#include "platform/core/VbString.h"
#include "platform/ui/Ui.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace veldra {

namespace {

bool endsWithSeparator(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'));
}

// Copies through a temporary file beside the target, so a failed copy leaves the
// target as it was.
void copyReplacing(const QString& source, const QString& target, const QString& procedure)
{
    // A device or a pipe would never end (or never start); only files are copied.
    if (QFileInfo::exists(source) && !QFileInfo(source).isFile())
        throw VbError(err::FileAccess, procedure, QStringLiteral("Cannot read %1: it is not a file").arg(source));
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw VbError(err::FileNotFound, procedure, QStringLiteral("Cannot read %1: %2").arg(source, in.errorString()));
    ReplacingFile out(target);
    if (!out.open())
        throw VbError(err::FileAccess, procedure, QStringLiteral("Cannot write %1: %2").arg(target, out.problem()));
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            throw VbError(err::FileAccess, procedure, QStringLiteral("Cannot read %1: %2").arg(source, in.errorString()));
        if (!out.write(chunk))
            throw VbError(err::FileAccess, procedure, QStringLiteral("Cannot write %1: %2").arg(target, out.problem()));
    }
    if (!out.commit())
        throw VbError(err::FileAccess, procedure, QStringLiteral("Cannot write %1: %2").arg(target, out.problem()));
}

// Text files are UTF-8; one that is not was written in the Western Windows code page.
QString decodeText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows("windows-1252");
    return windows.isValid() ? QString(windows.decode(bytes)) : QString::fromLatin1(bytes);
}

void deleteMatching(const QString& folder, const QString& mask)
{
    QString where = folder;
    int count = 0;
    QStringList files;
    for (const QString& file : FindFiles(where, mask, count, files))
        if (!QFile::remove(file))
            throw VbError(err::FileAccess, QStringLiteral("PrepareOutputFolder"),
                          QStringLiteral("Cannot delete %1").arg(file));
}

} // namespace

void ReadFileLines(const QString& path, QStringList& lines, int& count)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw VbError(file.exists() ? err::FileAccess : err::FileNotFound, QStringLiteral("ReadFileLines"),
                      QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw VbError(err::FileAccess, QStringLiteral("ReadFileLines"),
                      QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    static const QRegularExpression lineBreak(QStringLiteral("\\r\\n|\\r|\\n"));
    for (const QString& line : decodeText(bytes).split(lineBreak, Qt::SkipEmptyParts)) {
        ++count;
        lines.resize(count);
        lines[count - 1] = line;
    }
}

QStringList FindFiles(QString& folder, const QString& fileMask, int& fileCount, QStringList& files)
{
    fileCount = 0;
    files.clear();
    if (!endsWithSeparator(folder))
        folder += QLatin1Char('/');
    const QDir dir(vbstr::toNativeSeparators(folder));
    for (const QString& name : dir.entryList({fileMask}, QDir::Files | QDir::Hidden, QDir::Name)) {
        ++fileCount;
        files << folder + name;
    }
    return files;
}

QString SPLTargetFileName(const QString& sourceFile, const QString& folder)
{
    const QString name = vbstr::fileNameOf(sourceFile);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        throw VbError(err::General, QStringLiteral("PrepareOutputFolder"),
                      QStringLiteral("The file name has no extension: %1").arg(name));
    const QString dir = endsWithSeparator(folder) ? folder : folder + QLatin1Char('/');
    return dir + name.left(dot) + QStringLiteral(".xml");
}

QString PrepareOutputFolder(const QString& sourceFile, const QString& folder)
{
    if (folder.isEmpty())
        throw VbError(err::General, QStringLiteral("PrepareOutputFolder"), QStringLiteral("No output folder given"));
    // The name is checked before anything is deleted, so a bad source name costs no files.
    const QString target = SPLTargetFileName(sourceFile, folder);
    QDir().mkpath(vbstr::toNativeSeparators(endsWithSeparator(folder) ? folder : folder + QLatin1Char('/')));
    deleteMatching(folder, QStringLiteral("*.jpg"));
    deleteMatching(folder, QStringLiteral("*.xml"));
    return target;
}

void InstallLoincDatabaseFile(const QString& source)
{
    try {
        QDir().mkpath(app_paths::inProgram(QStringLiteral("LOINC")));
        copyReplacing(source, app_paths::inProgram(QStringLiteral("LOINC/LOINCDB.mdb")),
                      QStringLiteral("InstallLoincDatabaseFile"));
        ui::msgBox(QStringLiteral("LOINC Database successfully installed."), ui::Buttons::OK, ui::Icon::Information);
    } catch (const VbError& error) {
        ui::showError(error);
    }
}

} // namespace veldra
