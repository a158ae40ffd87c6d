#include "wordimport/template/LabelTemplateDocument.h"

#include "app/shared/SharedProcedures.h"
#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"

#include <QRandomGenerator>

#include <vector>

namespace veldra::label_template {

namespace {

constexpr int ListItems = 5;
constexpr int SubsectionsPerSection = 3;
constexpr int TableRows = 4;
constexpr int TableColumns = 3;

const QString source = QStringLiteral("CreateEmptyProductLabelTemplate");

QString sample(const QStringList& samples, const SamplePick& pick)
{
    return samples.isEmpty() ? QString() : samples.value(pick(static_cast<int>(samples.size())));
}

void addList(word::DocxWriter& document, word::DocxWriter::ListKind kind)
{
    const int list = document.addList(kind);
    for (int i = 1; i <= ListItems; ++i)
        document.addListParagraph(list, QStringLiteral("Numerus Album %1").arg(i));
}

std::vector<QStringList> sampleTable()
{
    std::vector<QStringList> rows(TableRows);
    for (int c = 1; c <= TableColumns; ++c)
        rows[0].append(QStringLiteral("Table Header %1").arg(c));
    for (int r = 2; r <= TableRows; ++r)
        for (int c = 1; c <= TableColumns; ++c)
            rows[static_cast<size_t>(r - 1)].append(QStringLiteral("Table Value %1,%2").arg(r - 1).arg(c));
    return rows;
}

void addSection(word::DocxWriter& document, const QString& title, const QStringList& samples, const SamplePick& pick)
{
    document.addParagraph(QStringLiteral("Heading 1"), title);
    document.addParagraph(QStringLiteral("Normal"), sample(samples, pick));
    addList(document, word::DocxWriter::ListKind::Numbered);
    for (int j = 1; j <= SubsectionsPerSection; ++j) {
        document.addParagraph(QStringLiteral("Heading 2"),
                              QStringLiteral("Subsection %1 of %2").arg(j).arg(title.toLower()));
        document.addParagraph(QStringLiteral("Normal"), sample(samples, pick));
        document.addTable(sampleTable());
        addList(document, word::DocxWriter::ListKind::Bulleted);
    }
    document.addPageBreak();
}

} // namespace

int randomSample(int count)
{
    return static_cast<int>(QRandomGenerator::global()->bounded(count));
}

QStringList sectionTitles(const QString& skeletonPath)
{
    xml::Document skeleton;
    if (!skeleton.load(skeletonPath))
        throw VbError(err::XmlParse, source,
                      QStringLiteral("The SPL template '%1' cannot be read: %2").arg(skeletonPath, skeleton.parseError().reason));
    QStringList titles;
    for (const xml::Node& title :
         skeleton.selectNodes(QStringLiteral("document/component/structuredBody/component/section/title")))
        titles.append(title.text());
    if (titles.isEmpty())
        throw VbError(err::XmlNode, source, QStringLiteral("The SPL template '%1' holds no section titles.").arg(skeletonPath));
    return titles;
}

QStringList sampleSentences(const QString& path)
{
    QStringList lines;
    int count = 0;
    try {
        ReadFileLines(path, lines, count);
    } catch (const VbError&) {
        return {};
    }
    return lines;
}

word::DocxWriter templateDocument(const QStringList& titles, const QStringList& samples, const SamplePick& pick)
{
    word::DocxWriter document;
    for (const QString& title : titles)
        addSection(document, title, samples, pick);
    return document;
}

} // namespace veldra::label_template
