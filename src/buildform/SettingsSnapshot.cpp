#include "buildform/SettingsSnapshot.h"

#include "buildform/BuildFormLayout.h"
#include "platform/core/VbError.h"
#include "platform/xml/tree/Lookup.h"

#include <QLocale>
#include <QRegularExpression>

#include <map>

namespace veldra::buildform {

namespace {

const QString saveSource = QStringLiteral("SaveSettingsFile");
const QString loadSource = QStringLiteral("LoadSettingsFile");
const QString preserve = QStringLiteral("xml:space");
const QString entryMissing = QStringLiteral("The entry has no %1");
const QString templateMissing = QStringLiteral("The snapshot template has no %1");

QString entryQuery(ControlKind kind)
{
    switch (kind) {
    case ControlKind::TextBox: return QStringLiteral("File//Data//TextBox");
    case ControlKind::ComboBox: return QStringLiteral("File//Data//ComboBox");
    case ControlKind::CheckBox: return QStringLiteral("File//Data//CheckBox");
    case ControlKind::ListView: break;
    }
    return QStringLiteral("File//Data//ListView");
}

bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

// The text without the characters an XML 1.0 file cannot hold: written raw they would make
// the file unreadable, and the next start would silently restore nothing.
QString storable(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    for (char32_t c : text.toUcs4())
        if (isXmlChar(c))
            kept += QString::fromUcs4(&c, 1);
    return kept;
}

// Blanks alone are layout to the XML reader unless the element says they are content.
void setValue(const xml::Node& value, const QString& text)
{
    const QString kept = storable(text);
    value.setText(kept);
    static const QRegularExpression blanksOnly(QStringLiteral("^\\s+$"));
    if (blanksOnly.match(kept).hasMatch())
        value.setAttribute(preserve, QStringLiteral("preserve"));
    else
        value.removeAttribute(preserve);
}

void fillEntry(const xml::Node& entry, const QString& name)
{
    xml::requiredAt(entry, QStringLiteral("TargetForm"), saveSource, entryMissing).setText(formName);
    xml::requiredAt(entry, QStringLiteral("Name"), saveSource, entryMissing).setText(name);
}

xml::Node listEntry(const xml::Node& prototype, const QString& name, const StructuredList& list)
{
    const xml::Node entry = prototype.cloneNode(true);
    fillEntry(entry, name);
    const xml::Node rows = xml::requiredAt(entry, QStringLiteral("Rows"), saveSource, entryMissing);
    const xml::Node protoRow = xml::requiredAt(prototype, QStringLiteral("Rows//Row"), saveSource, entryMissing);
    const xml::Node protoColumn = xml::requiredAt(protoRow, QStringLiteral("Columns//Column"), saveSource, entryMissing);
    for (const QStringList& cells : list.rows) {
        const xml::Node row = protoRow.cloneNode(true);
        const xml::Node columns = xml::requiredAt(row, QStringLiteral("Columns"), saveSource, entryMissing);
        for (int c = 1; c <= list.columnCount; ++c) {
            const xml::Node column = c == 1 ? xml::requiredAt(row, QStringLiteral("Columns//Column"), saveSource, entryMissing)
                                            : protoColumn.cloneNode(true);
            xml::requiredAt(column, QStringLiteral("Index"), saveSource, entryMissing).setText(QString::number(c));
            setValue(xml::requiredAt(column, QStringLiteral("Value"), saveSource, entryMissing), cells.value(c - 1));
            if (c > 1)
                columns.appendChild(column);
        }
        rows.appendChild(row);
    }
    return entry;
}

bool belongsTo(const xml::Node& entry, const QString& name)
{
    return xml::textAt(entry, QStringLiteral("TargetForm")) == formName
        && xml::textAt(entry, QStringLiteral("Name")) == name;
}

int checkValue(const QString& text, const QString& name)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 0 || value > 2)
        throw VbError(380, loadSource,
                      QStringLiteral("Invalid property value \"%1\" for %2").arg(text, name));
    return value;
}

StructuredList readRows(const xml::Node& entry, const ListSpec& spec)
{
    const int columns = static_cast<int>(spec.headers.size());
    StructuredList list{columns, {}};
    for (const xml::Node& row : entry.selectNodes(QStringLiteral("Rows//Row"))) {
        for (const xml::Node& column : row.selectNodes(QStringLiteral("Columns//Column"))) {
            const QString indexText = xml::textAt(column, QStringLiteral("Index"));
            if (indexText.isEmpty())
                continue;
            bool ok = false;
            const int index = indexText.trimmed().toInt(&ok);
            if (!ok || index < 1 || index > columns)
                throw VbError(380, loadSource,
                              QStringLiteral("Invalid column index \"%1\" in %2").arg(indexText, spec.name));
            const QString value = xml::requiredAt(column, QStringLiteral("Value"), loadSource, entryMissing).text();
            if (index == 1) {
                QStringList cells(columns);
                cells[0] = value;
                list.rows << cells;
            } else if (list.rows.isEmpty()) {
                throw VbError(35600, loadSource,
                              QStringLiteral("Column %1 of %2 comes before any row").arg(index).arg(spec.name));
            } else {
                list.rows.last()[index - 1] = value;
            }
        }
    }
    return list;
}

} // namespace

QString snapshotDateTime(const QDateTime& moment)
{
    const QLocale locale = QLocale::system();
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    // Qt's long format names the time zone, which a long time does not show.
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*t+")));
    return locale.toString(moment.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(moment.time(), timeFormat.trimmed());
}

xml::Document writeSnapshot(xml::Document document, const FormState& state, const QString& path,
                            const QDateTime& moment)
{
    const xml::Node prototype =
        xml::requiredAt(document, QStringLiteral("File//Data//ListView"), saveSource, templateMissing).cloneNode(true);
    const xml::Node data = xml::requiredAt(document, QStringLiteral("File//Data"), saveSource, templateMissing);
    data.removeChild(document.selectSingleNode(QStringLiteral("File//Data//ListView")));
    xml::requiredAt(document, QStringLiteral("File//FileName"), saveSource, templateMissing).setText(path);
    xml::requiredAt(document, QStringLiteral("File//DateTime"), saveSource, templateMissing).setText(snapshotDateTime(moment));

    std::map<ControlKind, xml::Node> firstEntry;
    for (const ControlEntry& control : controlOrder()) {
        if (control.kind == ControlKind::ListView) {
            data.appendChild(listEntry(prototype, control.name, state.list(control.name)));
            continue;
        }
        // The template's entry serves the first control of its kind; copies of it the others.
        const bool first = !firstEntry.count(control.kind);
        if (first)
            firstEntry[control.kind] = xml::requiredAt(document, entryQuery(control.kind), saveSource, templateMissing);
        const xml::Node entry = first ? firstEntry[control.kind] : firstEntry[control.kind].cloneNode(true);
        fillEntry(entry, control.name);
        const QString value = control.kind == ControlKind::CheckBox ? QString::number(state.check(control.name))
                                                                    : state.text(control.name);
        setValue(xml::requiredAt(entry, QStringLiteral("Value"), saveSource, entryMissing), value);
        if (!first)
            data.appendChild(entry);
    }
    return document;
}

FormState readSnapshot(const xml::Document& snapshot)
{
    FormState state;
    std::map<ControlKind, xml::NodeList> entries;
    for (ControlKind kind : {ControlKind::TextBox, ControlKind::ComboBox, ControlKind::CheckBox, ControlKind::ListView})
        entries[kind] = snapshot.selectNodes(entryQuery(kind));

    for (const ControlEntry& control : controlOrder()) {
        const xml::NodeList& candidates = entries[control.kind];
        if (control.kind == ControlKind::ListView) {
            const ListSpec* spec = findList(control.name);
            state.lists.insert(control.name, StructuredList{static_cast<int>(spec->headers.size()), {}});
            for (const xml::Node& entry : candidates) {
                if (belongsTo(entry, control.name)) {
                    state.lists.insert(control.name, readRows(entry, *spec));
                    break;
                }
            }
            continue;
        }
        for (const xml::Node& entry : candidates) {
            if (!belongsTo(entry, control.name))
                continue;
            const QString value = xml::requiredAt(entry, QStringLiteral("Value"), loadSource, entryMissing).text();
            if (control.kind == ControlKind::CheckBox)
                state.checks.insert(control.name, checkValue(value, control.name));
            else
                state.texts.insert(control.name, value);
        }
    }
    return state;
}

} // namespace veldra::buildform
