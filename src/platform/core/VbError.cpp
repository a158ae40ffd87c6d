#include "platform/core/VbError.h"

namespace veldra {

VbError::VbError(int number, QString source, QString description)
    : number_(number), source_(std::move(source)), description_(std::move(description))
{
    refreshWhat();
}

VbError& VbError::appendSource(const QString& name)
{
    source_ += QStringLiteral(" - ") + name;
    refreshWhat();
    return *this;
}

QString VbError::text() const
{
    return source_ + QLatin1Char(' ') + QString::number(number_) + QStringLiteral(": ") + description_;
}

void VbError::refreshWhat()
{
    what_ = text().toStdString();
}

VbError toVbError(const std::exception& e, const QString& fallbackSource)
{
    if (auto* vb = dynamic_cast<const VbError*>(&e))
        return *vb;
    return VbError(err::General, fallbackSource, QString::fromLocal8Bit(e.what()));
}

} // namespace veldra
