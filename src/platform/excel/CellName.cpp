#include "platform/excel/CellName.h"

#include <cstring>

namespace veldra::excel {

namespace {

template <class Char>
std::optional<CellPlace> parse(const Char* text, qsizetype size)
{
    qsizetype i = 0;
    auto at = [&](qsizetype k) { return static_cast<char16_t>(text[k]); };
    if (i < size && at(i) == u'$')
        ++i;
    long long column = 0;
    qsizetype letters = 0;
    for (; i < size; ++i, ++letters) {
        char16_t c = at(i);
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
        if (c < u'A' || c > u'Z')
            break;
        column = column * 26 + (c - u'A' + 1);
        if (letters >= 3)
            return std::nullopt;
    }
    if (letters == 0)
        return std::nullopt;
    if (i < size && at(i) == u'$')
        ++i;
    long long row = 0;
    qsizetype digits = 0;
    for (; i < size; ++i, ++digits) {
        const char16_t c = at(i);
        if (c < u'0' || c > u'9' || digits >= 8)
            return std::nullopt;
        row = row * 10 + (c - u'0');
    }
    if (digits == 0 || row < 1 || row > MaxRows || column > MaxColumns)
        return std::nullopt;
    return CellPlace{static_cast<int>(row), static_cast<int>(column)};
}

} // namespace

std::optional<CellPlace> parseCellName(const QString& name)
{
    return parse(name.utf16(), name.size());
}

std::optional<CellPlace> parseCellName(const char* name)
{
    return parse(name, static_cast<qsizetype>(std::strlen(name)));
}

} // namespace veldra::excel
