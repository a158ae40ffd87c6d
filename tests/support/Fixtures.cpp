#include "support/Fixtures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <stdexcept>

namespace veldra::test {

QString fixturesDir()
{
    return QDir::cleanPath(QStringLiteral(VELDRA_FIXTURES_DIR));
}

QString fixture(const QString& relative)
{
    return QDir(fixturesDir()).filePath(relative);
}

QStringList splDocumentFiles()
{
    QStringList files;
    QDirIterator it(fixture(QStringLiteral("spl-documents")), {QStringLiteral("*.xml")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

QString sourceDataDir()
{
    return QDir(QStringLiteral(VELDRA_SOURCE_DIR)).filePath(QStringLiteral("data"));
}

QString builtProgramDir()
{
    return QStringLiteral(VELDRA_PROGRAM_DIR);
}

QString readTextFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return QString::fromUtf8(f.readAll());
}

void writeTextFile(const QString& path, const QString& text)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + path.toStdString());
    f.write(text.toUtf8());
}

} // namespace veldra::test
