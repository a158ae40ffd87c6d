#include "app/SharedProcedures.h"

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
    QString hex;
    for (int i = 0; i < count; ++i)
        hex += QLatin1Char(digits[idGenerator().bounded(16)]);
    return hex;
}

QString NewGUID()
{
    const QChar dash = QLatin1Char('-');
    return RandomHex(8) + dash + RandomHex(4) + dash + RandomHex(4) + dash + RandomHex(4) + dash + RandomHex(12);
}

} // namespace veldra
