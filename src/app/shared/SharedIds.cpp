#include "app/shared/SharedProcedures.h"

#include <QRandomGenerator>
#include <array>

namespace veldra {

namespace {

// Seeded once, from the system's entropy source, so that ids of different runs
// and of one long run do not repeat.
QRandomGenerator& idGenerator()
{
    static QRandomGenerator generator = [] {
        std::array<quint32, 16> seed;
        QRandomGenerator::system()->fillRange(seed.data(), seed.size());
        return QRandomGenerator(seed.data(), seed.size());
    }();
    return generator;
}

} // namespace

QString RandomHex(int count)
{
    static const char digits[] = "0123456789abcdef";
    QString hex(count, Qt::Uninitialized);
    // Eight digits from each 32-bit draw: every digit is still uniform and independent.
    quint32 bits = 0;
    for (int i = 0; i < count; ++i) {
        if (i % 8 == 0)
            bits = idGenerator().generate();
        hex[i] = QLatin1Char(digits[bits & 0xF]);
        bits >>= 4;
    }
    return hex;
}

QString NewGUID()
{
    // 8-4-4-4-12 digits, written into one string.
    QString id = RandomHex(36);
    for (const int dash : {8, 13, 18, 23})
        id[dash] = QLatin1Char('-');
    return id;
}

} // namespace veldra
