#include "support/CorpusReplay.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace veldra::test {

void replayCorpus(const QString& target, const std::function<void(const QByteArray&)>& run)
{
    const QDir corpus(QStringLiteral(VELDRA_SOURCE_DIR "/fuzz/corpus/") + target);
    const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty()) << "no corpus in " << corpus.path().toStdString();
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QFile file(corpus.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        run(file.readAll());
    }
}

} // namespace veldra::test
