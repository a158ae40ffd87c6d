#include "platform/core/CountText.h"

#include <QLocale>

namespace veldra {

QString countText(qint64 count)
{
    return QLocale(QLocale::English).toString(count);
}

} // namespace veldra
