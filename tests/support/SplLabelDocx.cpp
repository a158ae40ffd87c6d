#include "support/SplLabelDocx.h"

#include "platform/xml/tree/Document.h"
#include "support/DocxFixture.h"
#include "support/LabelComparison.h"
#include "support/WordMarkup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QJsonArray>
#include <QMap>
#include <QRegularExpression>

#include <array>

#include <gtest/gtest.h>

namespace veldra::test {

namespace {

xml::Node child(const xml::Node& node, const QString& name)
{
    for (xml::Node c = node.firstChild(); c; c = c.nextSibling())
        if (c.nodeType() == xml::NodeType::Element && c.localName() == name)
            return c;
    return {};
}

QList<xml::Node> elements(const xml::Node& node)
{
    QList<xml::Node> found;
    for (xml::Node c = node ? node.firstChild() : xml::Node(); c; c = c.nextSibling())
        if (c.nodeType() == xml::NodeType::Element)
            found << c;
    return found;
}

// An attribute of the code of a section.
QString codeOf(const xml::Node& section, const QString& attribute)
{
    const xml::Node code = child(section, QStringLiteral("code"));
    return code ? code.getAttribute(attribute) : QString();
}

// The sections below a section (or the structured body).
QList<xml::Node> subsectionsOf(const xml::Node& node)
{
    QList<xml::Node> found;
    for (const xml::Node& component : elements(node))
        if (component.localName() == QLatin1String("component"))
            if (const xml::Node section = child(component, QStringLiteral("section")))
                found << section;
    return found;
}

// One paragraph being written: its runs and the text a reader sees.
struct Paragraph {
    QString runs;
    QString plain;
};

class LabelWriter {
public:
    LabelWriter(const QString& splFile, SectionNumbers numbers, Producer producer)
        : folder_(QFileInfo(splFile).dir()), numbers_(numbers), producer_(producer)
    {
        EXPECT_TRUE(spl_.load(splFile)) << splFile.toStdString();
        for (const xml::Node& media : spl_.selectNodes(QStringLiteral("//observationMedia"))) {
            const xml::Node reference = media.selectSingleNode(QStringLiteral("value/reference"));
            const QString file = reference ? reference.getAttribute(QStringLiteral("value")) : QString();
            if (!file.isEmpty() && folder_.exists(file))
                media_.insert(media.getAttribute(QStringLiteral("ID")), folder_.filePath(file));
        }
    }

    LabelDocx write()
    {
        const xml::Node document = spl_.documentElement();
        if (const xml::Node title = child(document, QStringLiteral("title")); title && !title.text().trimmed().isEmpty())
            body_ += headingParagraph(QStringLiteral("Title"), headingLines(document));
        if (const xml::Node component = child(document, QStringLiteral("component")))
            for (const xml::Node& section : subsectionsOf(child(component, QStringLiteral("structuredBody"))))
                writeSection(section, 1);
        finishSection();

        DocxParts parts;
        const bool listStyles = producer_ == Producer::Other;
        parts.styles = labelDocumentStyles() + (listStyles ? listStyleDefinitions() : QString());
        parts.numbering = listNumberingDefinitions() + (listStyles ? listStyleNumbering() : QString()) + numberingInstances_;
        parts.settings = currentWordSettings();
        parts.relationships = relationships_;
        parts.parts = mediaParts_;
        LabelDocx label;
        label.docx = docxFrom(body_ + QStringLiteral("<w:sectPr/>"), parts);
        label.expected.insert(QStringLiteral("sections"), sections_);
        return label;
    }

private:
    // Product data is not label text; a section without a title and without text (recent
    // major changes, told in the highlights) has no heading in Word either.
    bool holdsLabelText(const xml::Node& section) const
    {
        if (codeOf(section, QStringLiteral("code")) == QLatin1String("48780-1"))
            return false;
        if (const xml::Node text = child(section, QStringLiteral("text"))) {
            for (const xml::Node& block : elements(text))
                if (block.localName() != QLatin1String("excerpt")
                    && (!block.text().trimmed().isEmpty() || block.selectNodes(QStringLiteral(".//renderMultiMedia")).length() > 0))
                    return true;
        }
        const QList<xml::Node> subsections = subsectionsOf(section);
        return std::any_of(subsections.begin(), subsections.end(), [this](const xml::Node& s) { return holdsLabelText(s); });
    }

    void writeSection(const xml::Node& section, int depth)
    {
        if (!holdsLabelText(section))
            return;
        const QStringList lines = headingLines(section);
        body_ += headingParagraph(QStringLiteral("Heading%1").arg(std::min(depth, 3)), lines);
        const QString heading = lines.join(QLatin1Char(' '));
        if (depth == 1) {
            finishSection();
            current_.insert(QStringLiteral("title"), heading);
            current_.insert(QStringLiteral("code"), codeOf(section, QStringLiteral("code")));
        } else {
            subsections_.append(heading);
            levels_.append(std::min(depth, 3));
        }
        if (const xml::Node text = child(section, QStringLiteral("text")))
            body_ += blocks(text);
        for (const xml::Node& subsection : subsectionsOf(section))
            writeSection(subsection, depth + 1);
    }

    void finishSection()
    {
        if (current_.isEmpty())
            return;
        current_.insert(QStringLiteral("subsections"), subsections_);
        current_.insert(QStringLiteral("subsection_levels"), levels_);
        current_.insert(QStringLiteral("words"), QJsonArray::fromStringList(words_));
        current_.insert(QStringLiteral("tables"), tables_);
        current_.insert(QStringLiteral("list_items"), items_);
        current_.insert(QStringLiteral("nested_list_items"), nestedItems_);
        current_.insert(QStringLiteral("pictures"), pictures_);
        current_.insert(QStringLiteral("table_layouts"), QJsonArray::fromStringList(tableLayouts_));
        current_.insert(QStringLiteral("superscripts"), withoutBlanks(superscripts_));
        current_.insert(QStringLiteral("subscripts"), withoutBlanks(subscripts_));
        current_.insert(QStringLiteral("links"), QJsonArray::fromStringList(links_));
        current_.insert(QStringLiteral("list_depths"), QJsonArray{depths_[0], depths_[1], depths_[2]});
        tableLayouts_.clear();
        superscripts_.clear();
        subscripts_.clear();
        links_.clear();
        depths_ = {};
        sections_.append(current_);
        current_ = {};
        subsections_ = levels_ = {};
        words_.clear();
        tables_ = items_ = nestedItems_ = pictures_ = 0;
    }

    // A heading as typed: its lines (a line break of the label's title is a manual break), the
    // section number at its start typed or left to Word's numbering, an untitled section named
    // by its code.
    QStringList headingLines(const xml::Node& section) const
    {
        static const QRegularExpression number(QStringLiteral("^\\d+(\\.\\d+)*\\.?\\s+"));
        QString text;
        if (const xml::Node title = child(section, QStringLiteral("title")))
            collectTitle(title, text);
        QStringList lines;
        for (const QString& line : text.split(QLatin1Char('\n')))
            if (!line.simplified().isEmpty())
                lines << line.simplified();
        if (!lines.isEmpty() && numbers_ == SectionNumbers::LeftToWord)
            lines.first().remove(number);
        if (lines.join(QString()).isEmpty())
            return {codeOf(section, QStringLiteral("displayName"))};
        return lines;
    }

    static void collectTitle(const xml::Node& node, QString& text)
    {
        for (xml::Node c = node.firstChild(); c; c = c.nextSibling()) {
            if (c.nodeType() == xml::NodeType::Text || c.nodeType() == xml::NodeType::CData)
                text += c.text();
            else if (c.nodeType() == xml::NodeType::Element && c.localName() == QLatin1String("br"))
                text += QLatin1Char('\n');
            else if (c.nodeType() == xml::NodeType::Element)
                collectTitle(c, text);
        }
    }

    QString headingParagraph(const QString& style, const QStringList& lines)
    {
        QStringList runs;
        for (const QString& line : lines)
            runs << wordRun(line);
        return wordParagraph(QStringLiteral("<w:pStyle w:val=\"%1\"/>").arg(style),
                            runs.join(QStringLiteral("<w:r><w:br/></w:r>")));
    }

    // A paragraph of label text, counted among the section's words.
    QString textParagraph(const Paragraph& paragraph, const QString& properties = QString())
    {
        words_ << wordsOf(paragraph.plain);
        return wordParagraph(properties, paragraph.runs);
    }

    // Block content (a section's text, a list item, a table cell): paragraphs, lists and
    // tables; loose inline content forms paragraphs of its own.
    QString blocks(const xml::Node& container)
    {
        QString xml;
        Paragraph loose;
        bool afterTable = false;
        const auto add = [&](const QString& block) {
            xml += block;
            afterTable = afterTable && block.isEmpty();
        };
        const auto flush = [&] {
            if (!loose.runs.isEmpty())
                add(textParagraph(loose));
            loose = {};
        };
        for (xml::Node c = container.firstChild(); c; c = c.nextSibling()) {
            const QString name = c.nodeType() == xml::NodeType::Element ? c.localName() : QString();
            if (name == QLatin1String("paragraph")) {
                flush();
                Paragraph paragraph;
                inlineContent(c, {}, paragraph);
                if (!paragraph.runs.isEmpty())
                    add(textParagraph(paragraph));
            } else if (name == QLatin1String("list")) {
                flush();
                add(list(c, 0));
            } else if (name == QLatin1String("table")) {
                flush();
                // Two tables in a row are one table to Word unless a paragraph parts them.
                xml += (afterTable ? QStringLiteral("<w:p/>") : QString()) + table(c);
                afterTable = true;
            } else if (name != QLatin1String("excerpt")) {
                inlineNode(c, {}, loose);
            }
        }
        flush();
        return xml;
    }

    void inlineContent(const xml::Node& node, const RunStyle& style, Paragraph& into)
    {
        for (xml::Node c = node.firstChild(); c; c = c.nextSibling())
            inlineNode(c, style, into);
    }

    void inlineNode(const xml::Node& node, RunStyle style, Paragraph& into)
    {
        if (node.nodeType() == xml::NodeType::Text || node.nodeType() == xml::NodeType::CData) {
            static const QRegularExpression blanks(QStringLiteral("\\s+"));
            QString text = node.text().replace(blanks, QStringLiteral(" "));
            if (into.plain.isEmpty() || into.plain.endsWith(QLatin1Char(' ')) || into.plain.endsWith(QLatin1Char('\n')))
                while (text.startsWith(QLatin1Char(' ')))
                    text.remove(0, 1);
            if (!text.isEmpty()) {
                into.runs += wordRun(text, style);
                into.plain += text;
            }
            return;
        }
        if (node.nodeType() != xml::NodeType::Element)
            return;
        const QString name = node.localName();
        if (name == QLatin1String("br") || (name == QLatin1String("paragraph") && !into.plain.isEmpty())) {
            into.runs += QStringLiteral("<w:r><w:br/></w:r>");
            into.plain += QLatin1Char('\n');
            if (name == QLatin1String("br"))
                return;
        }
        if (name == QLatin1String("renderMultiMedia")) {
            // A picture's caption is the line under it.
            const QString shown = picture(node.getAttribute(QStringLiteral("referencedObject")));
            const xml::Node caption = child(node, QStringLiteral("caption"));
            into.runs += shown;
            if (shown.isEmpty() || !caption)
                return;
            into.runs += QStringLiteral("<w:r><w:br/></w:r>");
            into.plain += QLatin1Char('\n');
            inlineContent(caption, style, into);
            return;
        }
        if (name == QLatin1String("excerpt"))
            return;
        if (name == QLatin1String("content")) {
            const QStringList codes = node.getAttribute(QStringLiteral("styleCode")).toLower().split(QLatin1Char(' '));
            style.bold = style.bold || codes.contains(QLatin1String("bold"));
            style.italic = style.italic || codes.contains(QLatin1String("italics"));
            style.underline = style.underline || codes.contains(QLatin1String("underline"));
        } else if (name == QLatin1String("sub") || name == QLatin1String("sup")) {
            style.vertAlign = name == QLatin1String("sub") ? QStringLiteral("subscript") : QStringLiteral("superscript");
            style.shiftedPosition = producer_ == Producer::Other;
            const qsizetype before = into.plain.size();
            inlineContent(node, style, into);
            (name == QLatin1String("sub") ? subscripts_ : superscripts_) += into.plain.mid(before);
            return;
        } else if (name == QLatin1String("linkHtml") && producer_ == Producer::Other) {
            link(node, style, into);
            return;
        }
        inlineContent(node, style, into);
    }

    // A link as a hyperlink: to a place of the label by its anchor, out of it through a
    // relationship.
    void link(const xml::Node& node, const RunStyle& style, Paragraph& into)
    {
        const QString href = node.getAttribute(QStringLiteral("href"));
        const qsizetype runs = into.runs.size();
        const qsizetype plain = into.plain.size();
        inlineContent(node, style, into);
        const QString shown = into.plain.mid(plain);
        if (href.isEmpty() || wordsOf(shown).isEmpty())
            return;
        QString target;
        if (href.startsWith(QLatin1Char('#'))) {
            target = QStringLiteral("w:anchor=\"%1\"").arg(href.mid(1).toHtmlEscaped());
        } else {
            const QString id = QStringLiteral("rIdLink%1").arg(++linkCount_);
            relationships_ += relationship(id, QStringLiteral("hyperlink"), href.toHtmlEscaped(), true);
            target = QStringLiteral("r:id=\"%1\"").arg(id);
        }
        into.runs.insert(runs, QStringLiteral("<w:hyperlink ") + target + QLatin1Char('>'));
        into.runs += QStringLiteral("</w:hyperlink>");
        links_ << wordsOf(shown).join(QLatin1Char(' '));
    }

    QString picture(const QString& referencedObject)
    {
        const QString file = media_.value(referencedObject);
        if (file.isEmpty())
            return {};
        QFile source(file);
        EXPECT_TRUE(source.open(QIODevice::ReadOnly)) << file.toStdString();
        const int n = ++pictureCount_;
        const QString target = QStringLiteral("media/picture%1.%2").arg(n).arg(QFileInfo(file).suffix().toLower());
        mediaParts_.insert(QStringLiteral("word/") + target, source.readAll());
        relationships_ += relationship(QStringLiteral("rIdPicture%1").arg(n), QStringLiteral("image"), target);
        ++pictures_;
        return inlinePicture(QStringLiteral("rIdPicture%1").arg(n), n, QImageReader(file).size());
    }

    // A list's items: Word numbers them by a numbering instance of their own at the level of
    // their depth, another producer by the list style of their depth.
    QString list(const xml::Node& list, int level)
    {
        QString xml;
        if (const xml::Node caption = child(list, QStringLiteral("caption"))) {
            Paragraph paragraph;
            inlineContent(caption, {}, paragraph);
            xml += textParagraph(paragraph);
        }
        const bool numbered = list.getAttribute(QStringLiteral("listType")) == QLatin1String("ordered");
        QString properties = listStyleParagraphProperties(numbered, level);
        if (producer_ == Producer::Word) {
            const int numId = ++listCount_;
            numberingInstances_ += numberingInstance(numId, numbered, level);
            properties = listParagraphProperties(numId, level);
        }
        for (const xml::Node& item : elements(list)) {
            if (item.localName() != QLatin1String("item"))
                continue;
            ++items_;
            nestedItems_ += level > 0 ? 1 : 0;
            ++depths_[size_t(std::min(level, 2))];
            xml += producer_ == Producer::Word ? wordItem(item, properties, level) : continuedItem(item, properties, level);
        }
        return xml;
    }

    // Word's item: its text in one paragraph, its paragraphs parted by line breaks; then the
    // lists inside it, one level deeper.
    QString wordItem(const xml::Node& item, const QString& properties, int level)
    {
        Paragraph paragraph;
        QList<xml::Node> inner;
        for (xml::Node c = item.firstChild(); c; c = c.nextSibling()) {
            if (c.nodeType() == xml::NodeType::Element && c.localName() == QLatin1String("list"))
                inner << c;
            else
                inlineItemNode(c, paragraph);
        }
        QString xml = textParagraph(paragraph, properties);
        for (const xml::Node& nested : inner)
            xml += list(nested, level + 1);
        return xml;
    }

    // Another producer's item, in its order: its first paragraph numbered, the paragraphs after
    // it without a number and indented like it, the lists inside it where they stand.
    QString continuedItem(const xml::Node& item, const QString& properties, int level)
    {
        QString xml;
        Paragraph paragraph;
        bool numberedOne = false;
        const QString continuing = QStringLiteral("<w:ind w:left=\"%1\"/>").arg(listStyleIndent(level));
        const auto flush = [&] {
            if (!numberedOne || !paragraph.runs.isEmpty())
                xml += textParagraph(paragraph, numberedOne ? continuing : properties);
            numberedOne = true;
            paragraph = {};
        };
        for (xml::Node c = item.firstChild(); c; c = c.nextSibling()) {
            const QString name = c.nodeType() == xml::NodeType::Element ? c.localName() : QString();
            if (name == QLatin1String("list")) {
                flush();
                xml += list(c, level + 1);
            } else if (name == QLatin1String("paragraph")) {
                if (!paragraph.runs.isEmpty())
                    flush();
                inlineContent(c, {}, paragraph);
                flush();
            } else {
                inlineItemNode(c, paragraph);
            }
        }
        flush();
        return xml;
    }

    // Inline content of an item; a caption is parted from the text after it.
    void inlineItemNode(const xml::Node& node, Paragraph& into)
    {
        inlineNode(node, {}, into);
        if (node.nodeType() == xml::NodeType::Element && node.localName() == QLatin1String("caption")) {
            into.plain += QLatin1Char(' ');
            into.runs += wordRun(QStringLiteral(" "));
        }
    }

    // A table: its caption as a paragraph before it, head rows repeated on each page, the
    // body, the foot; column spans as grid spans and row spans as vertical merges.
    QString table(const xml::Node& table)
    {
        QString xml;
        if (const xml::Node caption = child(table, QStringLiteral("caption"))) {
            Paragraph paragraph;
            inlineContent(caption, {}, paragraph);
            xml += textParagraph(paragraph);
        }
        QList<std::pair<xml::Node, bool>> rows;
        for (const xml::Node& part : elements(table)) {
            if (part.localName() == QLatin1String("tr"))
                rows.append({part, false});
            for (const xml::Node& row : elements(part))
                if (row.localName() == QLatin1String("tr"))
                    rows.append({row, part.localName() == QLatin1String("thead")});
        }
        // The head rows come back as the table's head; a table that has none takes its first
        // row as its head, and a table keeps at least one row in its body.
        const auto headRows = std::count_if(rows.begin(), rows.end(), [](const auto& row) { return row.second; });
        tableLayouts_.append(tableLayout(table, int(std::min<qsizetype>(headRows > 0 ? headRows : 1,
                                                                         std::max<qsizetype>(rows.size() - 1, 0)))));
        QString rowsXml;
        std::vector<std::pair<int, int>> merged;  // per grid column: rows still merged, their span
        int columns = 0;
        for (const auto& [row, head] : rows) {
            QString cells;
            int column = 0;
            const auto continueMerges = [&] {
                while (column < int(merged.size()) && merged[column].first > 0) {
                    --merged[column].first;
                    cells += tableCell(merged[column].second, CellMerge::Continued, QStringLiteral("<w:p/>"));
                    column += merged[column].second;
                }
            };
            for (const xml::Node& td : elements(row)) {
                continueMerges();
                const int span = std::max(1, td.getAttribute(QStringLiteral("colspan")).toInt());
                const int rowSpan = std::max(1, td.getAttribute(QStringLiteral("rowspan")).toInt());
                if (int(merged.size()) < column + span)
                    merged.resize(size_t(column + span), {0, 1});
                merged[column] = {rowSpan - 1, span};
                QString content = blocks(td);
                cells += tableCell(span, rowSpan > 1 ? CellMerge::Starts : CellMerge::None,
                                   content.endsWith(QLatin1String("</w:p>")) ? content : content + QStringLiteral("<w:p/>"));
                column += span;
            }
            continueMerges();
            columns = std::max(columns, column);
            rowsXml += tableRow(cells, head);
        }
        ++tables_;
        return xml + wordTable(columns, rowsXml);
    }

    xml::Document spl_;
    QDir folder_;
    SectionNumbers numbers_;
    Producer producer_;
    QMap<QString, QString> media_;  // observationMedia ID -> its file in the label's folder
    QString body_;
    QString numberingInstances_;
    QString relationships_;
    QMap<QString, QByteArray> mediaParts_;
    int listCount_ = 0;
    int linkCount_ = 0;
    int pictureCount_ = 0;

    QJsonArray sections_;
    QJsonObject current_;
    QJsonArray subsections_;
    QJsonArray levels_;
    QStringList words_;
    int tables_ = 0;
    QStringList tableLayouts_;
    int items_ = 0;
    int nestedItems_ = 0;
    int pictures_ = 0;
    QString superscripts_;
    QString subscripts_;
    QStringList links_;
    std::array<int, 3> depths_{};
};

} // namespace

LabelDocx labelDocxFromSpl(const QString& splFile, SectionNumbers numbers, Producer producer)
{
    return LabelWriter(splFile, numbers, producer).write();
}

} // namespace veldra::test
