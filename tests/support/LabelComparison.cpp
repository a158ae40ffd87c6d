#include "support/LabelComparison.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>

namespace veldra::test {

namespace {

QStringList strings(const QJsonValue& value)
{
    QStringList all;
    for (const QJsonValue& item : value.toArray())
        all << item.toString();
    return all;
}

// What one settings Section holds.
struct Imported {
    QStringList subsections;
    QStringList words;
    int tables = 0;
    int items = 0;
    int nestedItems = 0;
    int pictures = 0;
    QStringList tableLayouts;
    QStringList boldTexts;  // the words of each bold run, joined by blanks
    QString superscripts;   // their text, blanks left out
    QString subscripts;
    QStringList links;      // the words of each, joined by blanks
    QJsonArray listDepths{0, 0, 0};  // items one, two, three or more deep
};

// How many items hold the item, itself counted, up to the text that holds them all.
int depthOf(const xml::Node& item, const xml::Node& text)
{
    int depth = 0;
    for (xml::Node up = item; up && up != text; up = up.parentNode())
        depth += up.localName() == QLatin1String("item") ? 1 : 0;
    return depth;
}

// The words of SPL text as a reader sees them. The builder puts a line break after every
// tag it parses, which is not the label's; block elements and breaks separate words.
QString readableText(const xml::Node& text)
{
    static const QRegularExpression separating(QStringLiteral("<(br|/?paragraph|/?item|/?td|/?tr|/?caption)\\b[^>]*>"));
    static const QRegularExpression tag(QStringLiteral("<[^>]+>"));
    QString markup = text.xml();
    markup.replace(QStringLiteral(">\r\n"), QStringLiteral(">")).replace(QStringLiteral(">\n"), QStringLiteral(">"));
    markup.replace(separating, QStringLiteral(" ")).remove(tag);
    return markup.replace(QStringLiteral("&lt;"), QStringLiteral("<")).replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

void gather(const xml::Node& text, Imported& into)
{
    if (!text)
        return;
    into.words << wordsOf(readableText(text));
    into.tables += text.selectNodes(QStringLiteral(".//table")).length();
    into.items += text.selectNodes(QStringLiteral(".//item")).length();
    into.nestedItems += text.selectNodes(QStringLiteral(".//item//item")).length();
    for (const xml::Node& table : text.selectNodes(QStringLiteral(".//table")))
        into.tableLayouts << tableLayout(table);
    for (const xml::Node& content : text.selectNodes(QStringLiteral(".//content")))
        if (content.getAttribute(QStringLiteral("styleCode")).toLower().split(QLatin1Char(' ')).contains(QLatin1String("bold")))
            into.boldTexts << wordsOf(readableText(content)).join(QLatin1Char(' '));
    for (const xml::Node& sup : text.selectNodes(QStringLiteral(".//sup")))
        into.superscripts += withoutBlanks(sup.text());
    for (const xml::Node& sub : text.selectNodes(QStringLiteral(".//sub")))
        into.subscripts += withoutBlanks(sub.text());
    for (const xml::Node& link : text.selectNodes(QStringLiteral(".//linkHtml")))
        into.links << wordsOf(readableText(link)).join(QLatin1Char(' '));
    for (const xml::Node& item : text.selectNodes(QStringLiteral(".//item"))) {
        const qsizetype depth = std::min(depthOf(item, text), 3) - 1;
        into.listDepths[depth] = into.listDepths[depth].toInt() + 1;
    }
}

void gatherSubsections(const xml::Node& parent, Imported& into, bool top)
{
    for (const xml::Node& component : parent.selectNodes(QStringLiteral("component"))) {
        const xml::Node section = component.selectSingleNode(QStringLiteral("section"));
        if (!section)
            continue;
        if (top)
            into.subsections << section.selectSingleNode(QStringLiteral("title")).text();
        gather(section.selectSingleNode(QStringLiteral("text")), into);
        gatherSubsections(section, into, false);
    }
}

// A string as it is, a list as compact JSON.
QString shown(const QJsonValue& value)
{
    return value.isArray() ? QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact)) : value.toString();
}

Imported importedSection(const xml::Node& section)
{
    Imported imported;
    gather(section.selectSingleNode(QStringLiteral("LabelText/text")), imported);
    gatherSubsections(section, imported, true);
    imported.pictures = section.selectNodes(QStringLiteral(".//observationMedia")).length();
    return imported;
}

} // namespace

QString tableLayout(const xml::Node& table, int headRows)
{
    QList<std::pair<xml::Node, bool>> rows;
    for (xml::Node part = table.firstChild(); part; part = part.nextSibling()) {
        if (part.localName() == QLatin1String("tr"))
            rows.append({part, false});
        else if (part.localName() == QLatin1String("thead") || part.localName() == QLatin1String("tbody")
                 || part.localName() == QLatin1String("tfoot"))
            for (xml::Node row = part.firstChild(); row; row = row.nextSibling())
                if (row.localName() == QLatin1String("tr"))
                    rows.append({row, part.localName() == QLatin1String("thead")});
    }
    QStringList described;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        QStringList cells;
        for (xml::Node td = rows[r].first.firstChild(); td; td = td.nextSibling()) {
            if (td.localName() != QLatin1String("td") && td.localName() != QLatin1String("th"))
                continue;
            const int columns = td.getAttribute(QStringLiteral("colspan")).toInt();
            const int down = td.getAttribute(QStringLiteral("rowspan")).toInt();
            const QString spans = (columns > 1 ? QStringLiteral("c%1").arg(columns) : QString())
                                  + (down > 1 ? QStringLiteral("r%1").arg(down) : QString());
            cells << (spans.isEmpty() ? QStringLiteral("1") : spans);
        }
        const bool head = headRows < 0 ? rows[r].second : r < headRows;
        described << (head ? QStringLiteral("H[") : QStringLiteral("B[")) + cells.join(QLatin1Char(',')) + QLatin1Char(']');
    }
    return described.join(QLatin1Char(' '));
}

QString withoutBlanks(QString text)
{
    static const QRegularExpression blank(QStringLiteral("\\s"));
    return text.remove(blank);
}

QStringList wordsOf(const QString& text)
{
    static const QRegularExpression word(QStringLiteral("\\w+"), QRegularExpression::UseUnicodePropertiesOption);
    QStringList words;
    for (auto it = word.globalMatch(text.toLower()); it.hasNext();)
        words << it.next().captured();
    return words;
}

// How many of the expected words come back in their order: the length of the longest common
// subsequence, so one glued or lost word costs that word and not the rest of the section.
// Words that do not come back at all are named.
int wordsInOrder(const QStringList& expected, const QStringList& got, QStringList& missing)
{
    std::vector<int> previous(size_t(got.size() + 1), 0), current(previous.size(), 0);
    for (const QString& word : expected) {
        for (qsizetype j = 0; j < got.size(); ++j)
            current[j + 1] = word == got[j] ? previous[j] + 1 : std::max(previous[j + 1], current[j]);
        std::swap(previous, current);
    }
    const QSet<QString> present(got.begin(), got.end());
    for (const QString& word : expected)
        if (!present.contains(word))
            missing << word;
    return previous.back();
}

QString firstDifference(const xml::Document& settings, const QJsonObject& expected, const QStringList& log)
{
    QList<xml::Node> sections;
    for (const xml::Node& s : settings.selectNodes(QStringLiteral("SPLR4/ProductLabel/DocumentSections/Section")))
        sections << s;
    // Every heading of the label is kept: a heading the template lacks is lost text, never
    // an expected outcome.
    const QStringList notFound = log.filter(QStringLiteral("not found in SPL template"));
    if (!notFound.isEmpty())
        return QStringLiteral("lost: ") + notFound.join(QLatin1Char(','));
    for (const QJsonValue& value : expected.value(QStringLiteral("sections")).toArray()) {
        const QJsonObject want = value.toObject();
        const QString title = want.value(QStringLiteral("title")).toString();
        // Recent major changes and full prescribing information lead with empty titles.
        const auto it = std::find_if(sections.begin(), sections.end(), [&](const xml::Node& s) {
            return s.selectSingleNode(QStringLiteral("SectionTitle")).text().compare(title, Qt::CaseInsensitive) == 0;
        });
        if (it == sections.end())
            return title + QStringLiteral(": missing or out of order");
        const Imported got = importedSection(*it);
        sections.erase(sections.begin(), it + 1);

        // Second-level headings are subsections; deeper ones, which the import takes as text,
        // are among the section's words and still read as headings, in bold.
        QStringList subsections, deeper;
        const QJsonArray levels = want.value(QStringLiteral("subsection_levels")).toArray();
        const QJsonArray wantedSubsections = want.value(QStringLiteral("subsections")).toArray();
        for (int k = 0; k < wantedSubsections.size(); ++k)
            (levels.at(k).toInt() == 2 ? subsections : deeper) << wantedSubsections.at(k).toString().simplified();
        QStringList gotSubsections;
        for (const QString& s : got.subsections)
            gotSubsections << s.simplified();
        if (gotSubsections != subsections)
            return title + QStringLiteral(": subsections ") + gotSubsections.join(QStringLiteral(" | "))
                   + QStringLiteral("\n  expected ") + subsections.join(QStringLiteral(" | "));
        QStringList missing;
        for (const QString& heading : deeper)
            if (wordsInOrder(wordsOf(heading), got.words, missing) < wordsOf(heading).size())
                return title + QStringLiteral(": heading lost: ") + heading;
            else if (!got.boldTexts.contains(wordsOf(heading).join(QLatin1Char(' '))))
                return title + QStringLiteral(": heading not in bold: ") + heading;
        const QStringList words = strings(want.value(QStringLiteral("words")));
        const int found = wordsInOrder(words, got.words, missing);
        if (found < words.size() * 0.99)
            return title + QStringLiteral(": %1 of %2 words in order; missing: ").arg(found).arg(words.size())
                   + missing.mid(0, 30).join(QLatin1Char(' '));
        const auto count = [&](const char* name, int value) {
            return !want.contains(QLatin1String(name)) || want.value(QLatin1String(name)).toInt() == value
                       ? QString()
                       : title + QStringLiteral(": %1 %2, expected %3").arg(QLatin1String(name)).arg(value).arg(want.value(QLatin1String(name)).toInt());
        };
        const QStringList layouts = strings(want.value(QStringLiteral("table_layouts")));
        if (want.contains(QStringLiteral("table_layouts")) && got.tableLayouts != layouts)
            return title + QStringLiteral(": tables ") + got.tableLayouts.join(QStringLiteral(" | "))
                   + QStringLiteral("\n  expected ") + layouts.join(QStringLiteral(" | "));
        const auto same = [&](const char* name, const QJsonValue& value) {
            return !want.contains(QLatin1String(name)) || want.value(QLatin1String(name)) == value
                       ? QString()
                       : title + QStringLiteral(": %1 %2\n  expected %3")
                                     .arg(QLatin1String(name), shown(value), shown(want.value(QLatin1String(name))));
        };
        for (const QString& difference :
             {same("superscripts", got.superscripts), same("subscripts", got.subscripts),
              same("links", QJsonArray::fromStringList(got.links)), same("list_depths", got.listDepths)})
            if (!difference.isEmpty())
                return difference;
        for (const QString& difference : {count("tables", got.tables), count("list_items", got.items),
                                          count("nested_list_items", got.nestedItems), count("pictures", got.pictures)})
            if (!difference.isEmpty())
                return difference;
    }
    return QString();
}

} // namespace veldra::test
