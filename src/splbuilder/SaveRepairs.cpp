#include "splbuilder/SaveRepairs.h"

#include <QList>

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

QByteArray repairedSplText(const QByteArray& fileText)
{
    QByteArray text = joinedLines(fileText);
    text.replace(" xmlns=\"\"", "");
    for (const char* tag : {"table", "thead", "tbody", "th", "tr", "td", "caption"}) {
        const QByteArray name(tag);
        text.replace("&lt;" + name + "&gt;", "<" + name + ">");
        text.replace("&lt;/" + name + "&gt;", "</" + name + ">");
    }
    return text;
}

} // namespace veldra
