#include "splbuilder/SaveRepairs.h"

#include <QByteArrayView>

namespace veldra {

namespace {

QByteArray joinedLines(const QByteArray& text)
{
    QByteArray joined;
    joined.reserve(text.size() + text.size() / 16);
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        const QByteArrayView line(text.constData() + start, end - start);
        if (!joined.isEmpty())
            joined += "\r\n";
        joined += line;
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return joined;
}

} // namespace

QByteArray repairedSplText(const QByteArray& fileText, bool* markupRestored)
{
    if (markupRestored)
        *markupRestored = false;
    static const QByteArrayView emptyNamespace(" xmlns=\"\"");
    static const QByteArrayView tags[] = {"table", "thead", "tbody", "th", "tr", "td", "caption"};
    const QByteArray text = joinedLines(fileText);
    QByteArray repaired;
    repaired.reserve(text.size());
    // One pass over the text: the repairs never overlap, and nothing they write is read again.
    const auto startsAt = [&](qsizetype at, QByteArrayView what) { return QByteArrayView(text).sliced(at).startsWith(what); };
    // Bytes that no repair touches are copied in runs, not one by one.
    qsizetype at = 0, kept = 0;
    const auto keepUpTo = [&](qsizetype end) { repaired += QByteArrayView(text).sliced(kept, end - kept); };
    while (at < text.size()) {
        if (text[at] == ' ' && startsAt(at, emptyNamespace)) {
            keepUpTo(at);
            at += emptyNamespace.size();
            kept = at;
            continue;
        }
        if (text[at] == '&' && startsAt(at, "&lt;")) {
            const qsizetype nameAt = at + 4 + (startsAt(at + 4, "/") ? 1 : 0);
            bool done = false;
            for (const QByteArrayView tag : tags) {
                if (startsAt(nameAt, tag) && startsAt(nameAt + tag.size(), "&gt;")) {
                    keepUpTo(at);
                    repaired += '<';
                    repaired += QByteArrayView(text).sliced(at + 4, nameAt - at - 4 + tag.size());
                    repaired += '>';
                    at = nameAt + tag.size() + 4;
                    kept = at;
                    done = true;
                    if (markupRestored)
                        *markupRestored = true;
                    break;
                }
            }
            if (done)
                continue;
        }
        ++at;
    }
    keepUpTo(text.size());
    return repaired;
}

} // namespace veldra
