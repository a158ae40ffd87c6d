#include "platform/ui/CommonDialog.h"

#include "platform/core/VbError.h"
#include "platform/ui/Ui.h"

#include <QStringList>

namespace veldra::ui {

QString CommonDialog::toQtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts.at(i + 1).trimmed();
        pattern.replace(QLatin1Char(','), QLatin1Char(';'));
        QStringList patterns = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        }
        const QString description = parts.at(i).trimmed();
        const QString joined = patterns.join(QLatin1Char(' '));
        // "XML Files (*.xml)" already shows its pattern; Qt reads the one in parentheses.
        if (description.endsWith(QLatin1Char(')')) && description.contains(QLatin1Char('(')))
            entries << description.left(description.lastIndexOf(QLatin1Char('('))).trimmed()
                           + QStringLiteral(" (") + joined + QLatin1Char(')');
        else
            entries << QStringLiteral("%1 (%2)").arg(description, joined);
    }
    return entries.join(QStringLiteral(";;"));
}

static FileRequest requestFrom(const CommonDialog& d)
{
    FileRequest r;
    r.title = d.dialogTitle;
    r.filter = CommonDialog::toQtFilter(d.filter);
    r.filterIndex = d.filterIndex > 0 ? d.filterIndex - 1 : 0;
    r.fileName = d.fileName;
    r.initialFolder = d.initDir;
    r.overwritePrompt = d.overwritePrompt;
    return r;
}

bool CommonDialog::cancelled()
{
    if (cancelError)
        throw VbError(cancelErrorNumber, QStringLiteral("CommonDialog"), QStringLiteral("Cancel was selected."));
    return false;
}

bool CommonDialog::showOpen()
{
    const auto chosen = backend().openFile(requestFrom(*this));
    if (!chosen)
        return cancelled();
    fileName = *chosen;
    return true;
}

bool CommonDialog::showSave()
{
    const auto chosen = backend().saveFile(requestFrom(*this));
    if (!chosen)
        return cancelled();
    fileName = *chosen;
    return true;
}

bool CommonDialog::showColor()
{
    const auto chosen = backend().chooseColor(color);
    if (!chosen)
        return cancelled();
    color = *chosen;
    return true;
}

} // namespace veldra::ui
