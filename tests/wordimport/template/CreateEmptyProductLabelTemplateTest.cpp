// The empty product label: built from the shipped SPL skeleton and sample sentences, saved
// where the user says, read back through the Word layer as the label import would read it.
#include "wordimport/template/CreateEmptyProductLabelTemplate.h"

#include "platform/word/Document.h"
#include "platform/word/detail/Package.h"
#include "support/DiskFull.h"
#include "support/Fixtures.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <libxml/parser.h>

#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

using namespace veldra;
using namespace veldra::word;

namespace {

const QString completed = QStringLiteral("Product Label Template generation completed.");

QStringList lines(const QString& text)
{
    return text.split(QRegularExpression(QStringLiteral("\r\n|\n")), Qt::SkipEmptyParts);
}

// "style|list number|text" of every paragraph outside the tables.
QStringList paragraphLines(const Document& doc)
{
    QStringList result;
    for (const Paragraph& p : doc.paragraphs()) {
        const Range range = p.range();
        if (range.tables().isEmpty())
            result.append(p.style() + QLatin1Char('|') + range.listFormat().listString() + QLatin1Char('|')
                          + range.text().chopped(1));
    }
    return result;
}

// What the template must hold, written out from its description rather than from the code.
QStringList expectedLines(const QStringList& titles, const std::function<QString()>& nextSample)
{
    QStringList expected;
    const auto list = [&](const QString& mark) {
        for (int i = 1; i <= 5; ++i)
            expected.append(QStringLiteral("List Paragraph|%1|Numerus Album %2").arg(mark.isEmpty() ? QString::number(i) + "." : mark).arg(i));
    };
    for (const QString& title : titles) {
        expected.append(QStringLiteral("Heading 1||") + title);
        expected.append(QStringLiteral("Normal||") + nextSample());
        list(QString());
        for (int j = 1; j <= 3; ++j) {
            expected.append(QStringLiteral("Heading 2||Subsection %1 of %2").arg(j).arg(title.toLower()));
            expected.append(QStringLiteral("Normal||") + nextSample());
            list(QStringLiteral("\u2022"));
        }
        expected.append(QStringLiteral("Normal||\f"));
    }
    return expected;
}

// Every part the package names through its relationships is there, has a content type and
// is well-formed XML.
void expectCompletePackage(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    OpenError error;
    const auto package = detail::Package::open(file.readAll(), error);
    ASSERT_TRUE(package) << error.text().toStdString();
    QStringList parts{QStringLiteral("[Content_Types].xml"), QStringLiteral("_rels/.rels"),
                      QStringLiteral("word/_rels/document.xml.rels")};
    for (const detail::Relationship& r : package->relationships(QString()))
        parts.append(r.target);
    for (const detail::Relationship& r : package->relationships(QStringLiteral("word/document.xml")))
        parts.append(r.target);
    EXPECT_GE(parts.size(), 9);
    for (const QString& part : parts) {
        SCOPED_TRACE(part.toStdString());
        const auto bytes = package->read(part);
        ASSERT_TRUE(bytes.has_value());
        if (!part.endsWith(QLatin1String(".rels")) && !part.startsWith(QLatin1Char('['))) {
            EXPECT_FALSE(package->contentType(part).isEmpty());
        }
        xmlDocPtr doc = xmlReadMemory(bytes->constData(), static_cast<int>(bytes->size()), nullptr, nullptr, XML_PARSE_NONET);
        EXPECT_NE(doc, nullptr);
        xmlFreeDoc(doc);
    }
}

} // namespace

TEST(LabelTemplate, EverySkeletonSectionBecomesATitledPageWithSampleTextListsTablesAndSubsections)
{
    test::ProgramFolderCopy program;
    test::TempDir out;
    test::ScriptedUi ui;
    const QString target = out.file(QStringLiteral("my label.docx"));
    ui.saveFiles.push_back(target);
    int picks = 0;
    CreateEmptyProductLabelTemplate([&](int count) { return picks++ % count; });

    ASSERT_EQ(ui.fileRequests.size(), 1);
    EXPECT_EQ(ui.fileRequests[0].fileName, QStringLiteral("ProductLabelTemplate.docx"));
    EXPECT_TRUE(ui.fileRequests[0].overwritePrompt);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, completed);
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Information);
    EXPECT_EQ(ui.opened, QStringList{target});

    Document doc;
    ASSERT_TRUE(doc.open(target)) << doc.openError().text().toStdString();
    const QStringList titles = label_template::sectionTitles(program.file(QStringLiteral("LabelDefinitions/TEMPLATE_SPL.xml")));
    ASSERT_GE(titles.size(), 20);
    EXPECT_EQ(titles.first(), QStringLiteral("BOXED WARNING"));
    EXPECT_TRUE(titles.contains(QStringLiteral("INDICATIONS AND USAGE")));

    const QStringList samples = lines(test::readTextFile(program.file(QStringLiteral("DummyText.txt"))));
    ASSERT_GE(samples.size(), 10);
    int sample = 0;
    EXPECT_EQ(paragraphLines(doc), expectedLines(titles, [&] { return samples[sample++ % samples.size()]; }));
    EXPECT_EQ(picks, 4 * titles.size());

    // Ordered lists are plain numbered lists and bullets are bullets, as the import tells them apart.
    const Paragraph firstItem = doc.paragraphs().item(3);
    EXPECT_EQ(firstItem.range().listFormat().listType(), list_type::Simple);

    ASSERT_EQ(doc.tables().count(), 3 * titles.size());
    for (const Table& table : doc.tables()) {
        ASSERT_EQ(table.rowCount(), 4);
        ASSERT_EQ(table.columnCount(), 3);
    }
    const Table table = doc.tables().item(2);
    for (int c = 1; c <= 3; ++c) {
        EXPECT_EQ(table.cell(1, c).range().text(), QStringLiteral("Table Header %1\r").arg(c));
        for (int r = 2; r <= 4; ++r)
            EXPECT_EQ(table.cell(r, c).range().text(), QStringLiteral("Table Value %1,%2\r").arg(r - 1).arg(c));
        for (int r = 1; r <= 4; ++r)
            for (int edge : {border::Top, border::Left, border::Bottom, border::Right})
                EXPECT_TRUE(table.cell(r, c).border(edge)) << r << "," << c << " edge " << edge;
    }

    // Each section starts a page of its own.
    int section = 0;
    for (const Paragraph& p : doc.paragraphs()) {
        if (p.style() == QLatin1String("Heading 1")) {
            EXPECT_EQ(p.range().pageNumber(), ++section) << p.range().text().toStdString();
        }
    }
    expectCompletePackage(target);
}

// Neither missing sample sentences nor a desktop without a word processor keep the template
// from being written; the user is then told where it is.
TEST(LabelTemplate, WithoutSampleSentencesOrADesktopHandlerTheTemplateIsStillWritten)
{
    test::ProgramFolderCopy program;
    ASSERT_TRUE(QFile::remove(program.file(QStringLiteral("DummyText.txt"))));
    test::TempDir out;
    test::ScriptedUi ui;
    ui.shellOpenSucceeds = false;
    const QString target = out.file(QStringLiteral("t.docx"));
    ui.saveFiles.push_back(target);
    CreateEmptyProductLabelTemplate([](int) -> int { throw std::logic_error("nothing to pick from"); });

    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages[0].text, completed);
    EXPECT_TRUE(ui.messages[1].text.contains(QDir::toNativeSeparators(QFileInfo(target).absoluteFilePath())));
    Document doc;
    ASSERT_TRUE(doc.open(target));
    EXPECT_EQ(paragraphLines(doc).mid(0, 2), (QStringList{"Heading 1||BOXED WARNING", "Normal||"}));
}

// A failure is said in a critical box and leaves no file; "completed" only follows a file
// that was written.
TEST(LabelTemplate, AFailureIsShownAsAnErrorAndLeavesNoFile)
{
    enum class Fault { MissingSkeleton, MalformedSkeleton, SkeletonWithoutSections, UnwritableTarget, Cancelled };
    const struct {
        Fault fault;
        bool asksWhereToSave;
        QString errorMentions;  // "" for no error box
    } cases[] = {
        {Fault::MissingSkeleton, false, QStringLiteral("TEMPLATE_SPL.xml")},
        {Fault::MalformedSkeleton, false, QStringLiteral("TEMPLATE_SPL.xml")},
        {Fault::SkeletonWithoutSections, false, QStringLiteral("holds no section titles")},
        {Fault::UnwritableTarget, true, QStringLiteral("no-such-folder")},
        {Fault::Cancelled, true, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        test::ProgramFolderCopy program;
        const QString skeleton = program.file(QStringLiteral("LabelDefinitions/TEMPLATE_SPL.xml"));
        test::TempDir out;
        test::ScriptedUi ui;
        QString target = out.file(QStringLiteral("t.docx"));
        switch (c.fault) {
        case Fault::MissingSkeleton: ASSERT_TRUE(QFile::remove(skeleton)); break;
        case Fault::MalformedSkeleton: test::writeTextFile(skeleton, QStringLiteral("<document><component>")); break;
        case Fault::SkeletonWithoutSections: test::writeTextFile(skeleton, QStringLiteral("<document xmlns=\"urn:hl7-org:v3\"/>")); break;
        case Fault::UnwritableTarget: target = out.file(QStringLiteral("no-such-folder/t.docx")); break;
        case Fault::Cancelled: break;
        }
        if (c.fault != Fault::Cancelled)
            ui.saveFiles.push_back(target);
        CreateEmptyProductLabelTemplate();

        EXPECT_EQ(ui.fileRequests.size(), c.asksWhereToSave ? 1 : 0);
        EXPECT_TRUE(ui.opened.isEmpty());
        EXPECT_EQ(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        if (c.errorMentions.isEmpty()) {
            EXPECT_TRUE(ui.messages.isEmpty());
            continue;
        }
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].icon, ui::Icon::Critical);
        EXPECT_TRUE(ui.messages[0].text.contains(c.errorMentions)) << ui.messages[0].text.toStdString();
    }
}

// A save that cannot be completed keeps the user's former file (or whatever a link points
// at) as it was, says why, and neither reports completion nor opens anything.
TEST(LabelTemplate, AFailedSaveKeepsTheFormerFileAndSaysWhy)
{
    enum class Fault { DiskFull, LinkToAFileElsewhere };
    const struct {
        Fault fault;
        QString errorMentions;
    } cases[] = {
        {Fault::DiskFull, QString::fromLocal8Bit(std::strerror(EFBIG))},
        {Fault::LinkToAFileElsewhere, QStringLiteral("symbolic link")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        test::ProgramFolderCopy program;
        test::TempDir out;
        test::TempDir elsewhere;
        const QString target = out.file(QStringLiteral("label.docx"));
        const QString former = c.fault == Fault::DiskFull ? target : elsewhere.file(QStringLiteral("other.docx"));
        test::writeTextFile(former, QStringLiteral("the user's former file"));
        if (c.fault == Fault::LinkToAFileElsewhere) {
            ASSERT_TRUE(QFile::link(former, target));
        }
        test::ScriptedUi ui;
        ui.saveFiles.push_back(target);
        {
            const test::DiskFullAfter limit(c.fault == Fault::DiskFull ? 4096 : RLIM_INFINITY);
            CreateEmptyProductLabelTemplate();
        }

        EXPECT_EQ(test::readTextFile(former), QStringLiteral("the user's former file"));
        EXPECT_EQ(QFileInfo(target).isSymLink(), c.fault == Fault::LinkToAFileElsewhere);
        EXPECT_EQ(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), QStringList{"label.docx"});
        EXPECT_TRUE(ui.opened.isEmpty());
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].icon, ui::Icon::Critical);
        EXPECT_TRUE(ui.messages[0].text.contains(c.errorMentions)) << ui.messages[0].text.toStdString();
    }
}
