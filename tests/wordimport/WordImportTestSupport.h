#pragma once

#include "codesystems/frmSelectLOINC.h"
#include "platform/word/DocxWriter.h"
#include "platform/xml/tree/Document.h"
#include "support/Fixtures.h"
#include "support/LogFixture.h"
#include "support/TempDir.h"
#include "wordimport/clsWord.h"

#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <optional>

namespace veldra::test {

// Styles of a label document written from XML: Normal, Title and three heading levels.
inline QString labelStyles()
{
    return QStringLiteral(
        "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"Title\"><w:name w:val=\"Title\"/></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"Heading1\"><w:name w:val=\"heading 1\"/></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"Heading2\"><w:name w:val=\"heading 2\"/></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"Heading3\"><w:name w:val=\"heading 3\"/></w:style>");
}

// A paragraph of one run in the style of that id ("" for Normal).
inline QString styled(const QString& styleId, const QString& text)
{
    const QString properties =
        styleId.isEmpty() ? QString() : QStringLiteral("<w:pPr><w:pStyle w:val=\"%1\"/></w:pPr>").arg(styleId);
    return QStringLiteral("<w:p>%1<w:r><w:t xml:space=\"preserve\">%2</w:t></w:r></w:p>").arg(properties, text);
}

// Each test runs in a copy of the program folder (the shipped label templates and
// definitions), with an empty log, scripted dialogs and a folder of its own.
class WordImportTest : public LogFixture {
protected:
    void SetUp() override
    {
        LogFixture::SetUp();
        // The builder codes the sections from the program's own code-system database.
        QFile::copy(builtProgramDir() + QStringLiteral("/SPLCodeSystems.sqlite"),
                    program.file(QStringLiteral("SPLCodeSystems.sqlite")));
        // Titles with several LOINC candidates bring up the picker: the user leaves them unclassified.
        QObject::connect(&picker, &QTimer::timeout, [] {
            if (frmSelectLOINC* form = frmSelectLOINC::instance(); form && form->isVisible())
                form->cmdUnclassified->click();
        });
        picker.start(10);
    }
    void TearDown() override
    {
        picker.stop();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        LogFixture::TearDown();
    }

    // Writes a package to the test's folder; returns the path.
    QString save(const word::DocxWriter& writer, const QString& name = QStringLiteral("label.docx")) const
    {
        const QString path = dir.file(name);
        QString error;
        EXPECT_TRUE(writer.save(path, &error)) << error.toStdString();
        return path;
    }
    QString save(const QByteArray& package, const QString& name = QStringLiteral("label.docx")) const
    {
        const QString path = dir.file(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(package);
        return path;
    }

    // Converts the file with sections in "Heading 1", subsections in "Heading 2" and excerpts
    // in `excerptStyle`.
    std::optional<xml::Document> convert(clsWord& word, const QString& path,
                                         const QString& excerptStyle = QStringLiteral("Title"),
                                         const QString& crossReferences = QStringLiteral("No"))
    {
        return word.ProcessSPLR4Document(path, dir.path(), crossReferences, QStringLiteral("Heading 1"), excerptStyle,
                                         QStringLiteral("Heading 2"), QStringLiteral("BOXED WARNING"));
    }

    // The top-level section of that title in a built SPL document.
    static xml::Node section(const xml::Document& spl, const QString& title)
    {
        for (const xml::Node& s : spl.selectNodes(QStringLiteral("document/component/structuredBody/component/section")))
            if (s.selectSingleNode(QStringLiteral("title")).text() == title)
                return s;
        return {};
    }

    static QStringList linesOf(const QStringList& lines, const QString& category)
    {
        QStringList found;
        for (const QString& line : lines)
            if (line.startsWith(category + QLatin1Char(' ')))
                found << line.mid(category.size()).trimmed();
        return found;
    }

    ProgramFolderCopy program;
    QTimer picker;
    TempDir dir;
};

} // namespace veldra::test
