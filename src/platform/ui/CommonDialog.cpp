#include "platform/ui/CommonDialog.h"

#include "platform/core/VbError.h"
#include "platform/ui/Ui.h"

#include <QRegularExpression>
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

QString CommonDialog::filterExtension(const QString& filter, int index)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    const qsizetype patternAt = 2 * qsizetype(index > 0 ? index - 1 : 0) + 1;
    if (patternAt >= parts.size())
        return {};
    QString pattern = parts.at(patternAt).trimmed();
    pattern = pattern.section(QRegularExpression(QStringLiteral("[;,\\s]")), 0, 0, QString::SectionSkipEmpty);
    if (!pattern.startsWith(QLatin1String("*.")))
        return {};
    const QString extension = pattern.mid(2);
    return extension.contains(QLatin1Char('*')) || extension.contains(QLatin1Char('?')) ? QString() : extension;
}

QString CommonDialog::withExtension(const QString& path, const QString& extension)
{
    if (extension.isEmpty() || path.isEmpty())
        return path;
    const QString name = path.section(QLatin1Char('/'), -1);
    return name.contains(QLatin1Char('.')) ? path : path + QLatin1Char('.') + extension;
}

void CommonDialog::prepareFile(const QString& title, const QString& fileFilter, const QString& name)
{
    dialogTitle = title;
    filter = fileFilter;
    filterIndex = 1;
    fileName = name;
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
    FileRequest request = requestFrom(*this);
    request.defaultSuffix = filterExtension(filter, filterIndex);
    const auto chosen = backend().saveFile(request);
    if (!chosen)
        return cancelled();
    fileName = withExtension(*chosen, request.defaultSuffix);
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
