#include "editor/excel/ImportNotes.h"

#include "app/log/Log.h"
#include "app/shared/SharedProcedures.h"
#include "platform/core/VbString.h"
#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Document.h"

#include <QHash>
#include <QStringList>
#include <vector>

namespace veldra {

namespace {

const QString ImportedRecords = QStringLiteral("ImportedRecords");
const QString Word2SPLID = QStringLiteral("Word2SPLID");

template <class Visit>
void forEachElementBelow(const xml::NodeList& topLevel, Visit&& visit)
{
    for (const xml::Node& node : topLevel)
        xml::forEachElement(xml::Cursor(node), visit);
}

// The WorkSheet headers whose note lists any id.
std::vector<xml::Node> notesIn(const xml::NodeList& topLevel)
{
    std::vector<xml::Node> notes;
    forEachElementBelow(topLevel, [&notes](const xml::Cursor& element) {
        if (element.isNamed("WorkSheet") && !element.attribute("ImportedRecords").textUtf8().trimmed().isEmpty())
            notes.push_back(element.node());
    });
    return notes;
}

QStringList notedIds(const xml::Node& note)
{
    return note.getAttribute(ImportedRecords).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// The elements holding each noted id, in document order: one walk, reading the ids as stored.
QHash<QByteArray, std::vector<xml::Node>> holdersOf(const xml::NodeList& topLevel, const std::vector<xml::Node>& notes)
{
    QHash<QByteArray, std::vector<xml::Node>> holders;
    for (const xml::Node& note : notes)
        for (const QString& id : notedIds(note))
            holders.insert(id.toUtf8(), {});
    forEachElementBelow(topLevel, [&holders](const xml::Cursor& element) {
        const xml::Cursor id = element.attribute("Word2SPLID");
        if (!id)
            return;
        const auto found = holders.find(id.textUtf8());
        if (found != holders.end())
            found->push_back(element.node());
    });
    return holders;
}

// What becomes of each noted id: a new id, or null when the notes drop it. Ids left as they
// are have no entry.
QHash<QString, QString> settleHolders(const QHash<QByteArray, std::vector<xml::Node>>& holders, int& renewed)
{
    QHash<QString, QString> settled;
    for (auto it = holders.cbegin(); it != holders.cend(); ++it) {
        const QString id = QString::fromUtf8(it.key());
        const std::vector<xml::Node>& elements = it.value();
        const bool repeated = elements.size() > 1;
        if (!repeated && !(elements.size() == 1 && id.contains(QLatin1Char('_'))))
            continue;
        QString latest;
        for (const xml::Node& element : elements) {
            latest = NewGUID();
            element.setAttribute(Word2SPLID, latest);
            ++renewed;
        }
        settled.insert(id, repeated ? QString() : latest);
    }
    return settled;
}

// Rewrites a note with the settled ids; returns how many it dropped.
int rewriteNote(const xml::Node& note, const QHash<QString, QString>& settled)
{
    const QStringList ids = notedIds(note);
    QStringList kept;
    int dropped = 0;
    for (const QString& id : ids) {
        const auto found = settled.constFind(id);
        if (found == settled.cend())
            kept << id;
        else if (found->isNull())
            ++dropped;
        else
            kept << *found;
    }
    if (kept != ids)
        note.setAttribute(ImportedRecords, kept.join(QLatin1Char(' ')));
    return dropped;
}

} // namespace

ImportNotesRepair keepImportNotesTrue(const xml::NodeList& topLevel)
{
    ImportNotesRepair repair;
    const std::vector<xml::Node> notes = notesIn(topLevel);
    if (notes.empty())
        return repair;
    const QHash<QString, QString> settled = settleHolders(holdersOf(topLevel, notes), repair.renewedIds);
    if (settled.isEmpty())
        return repair;
    for (const xml::Node& note : notes)
        if (const int dropped = rewriteNote(note, settled); dropped > 0)
            repair.untold.append({note.text(), dropped});
    return repair;
}

void reportUntoldCopies(const QString& file, const ImportNotesRepair& repair)
{
    const QString document = file.isEmpty() ? QString() : vbstr::fileNameOf(file) + QStringLiteral(": ");
    for (const ImportNotesRepair::Untold& untold : repair.untold)
        WriteLog(log_category::Warning,
                 QStringLiteral("%1%2 record(s) that the import of the worksheet '%3' brought were copied, and it cannot "
                                "tell which copy it brought: every copy is kept under a new id, and the next import of "
                                "the worksheet adds its record(s) anew beside them.")
                     .arg(document, QString::number(untold.ids), untold.sheet));
}

} // namespace veldra
