#include "generation/report/DocumentReportRows.h"

#include <initializer_list>

namespace veldra {

namespace {

const QString RowTemplate = QStringLiteral(
    "<tr>"
    "<td width=\"20px\" bgcolor=\"$Color\" valign=\"top\"><img src=\"$Image\"></td>"
    "<td width=\"10%\" nowrap bgcolor=\"$Color\" valign=\"top\">"
    "<font face=\"$FontFace\" size=\"$FontSize\" color=\"$FontColor\">$Name</font></td>"
    "<td width=\"70%\" bgcolor=\"$Color\" valign=\"top\">"
    "<font face=\"$FontFace\" size=\"$FontSize\" color=\"$FontColor\">$Value</font></td>"
    "<td width=\"20%\" bgcolor=\"$Color\" valign=\"top\">"
    "<font face=\"Verdana\" size=\"1\" color=\"$FontColor\">$Description</font></td>"
    "</tr>");

const QString FontFace = QStringLiteral("Verdana");
const QString Black = QStringLiteral("#000000");
const QString White = QStringLiteral("#FFFFFF");
constexpr int MaxLinkValue = 255;

struct Fill {
    QString placeholder;
    QString text;
};

// Plain text substitution of every occurrence, placeholder by placeholder in the given order.
QString substitute(std::initializer_list<Fill> fills)
{
    QString row = RowTemplate;
    for (const Fill& fill : fills)
        row.replace(fill.placeholder, fill.text);
    return row;
}

} // namespace

QString reportText(const QString& text)
{
    return text.toHtmlEscaped().replace(QLatin1Char('$'), QLatin1String("&#36;"));
}

QString reportImageSource(const QString& imageKey)
{
    return QStringLiteral("SPLReportImages/") + imageKey + QStringLiteral(".jpg");
}

QString sectionHeadRow(const ReportNode& node)
{
    const QString name = QStringLiteral("<b><a name=\"") + reportText(node.nodeKey) + QStringLiteral("\">")
        + reportText(node.name) + QStringLiteral("</b>");
    const QString value = QStringLiteral("<font size=\"1\">") + reportText(node.help) + QStringLiteral("</font>");
    return substitute({{QStringLiteral("$Image"), reportText(reportImageSource(node.imageKey))},
                       {QStringLiteral("$Name"), name},
                       {QStringLiteral("$Value"), value},
                       {QStringLiteral("$Description"), QString()},
                       {QStringLiteral("$FontFace"), FontFace},
                       {QStringLiteral("$FontSize"), QStringLiteral("3")},
                       {QStringLiteral("$Color"), QStringLiteral("#C0C0C0")},
                       {QStringLiteral("$FontColor"), Black}});
}

QString leafRow(const ReportNode& node)
{
    return substitute({{QStringLiteral("$Image"), reportText(reportImageSource(node.imageKey))},
                       {QStringLiteral("$Name"), reportText(node.name)},
                       {QStringLiteral("$Value"), reportText(node.value)},
                       {QStringLiteral("$Description"), reportText(node.help)},
                       {QStringLiteral("$Color"), White},
                       {QStringLiteral("$FontFace"), FontFace},
                       {QStringLiteral("$FontSize"), QStringLiteral("2")},
                       {QStringLiteral("$FontColor"), Black}});
}

// The link's font takes the row's face and size: its placeholders are filled after $Name.
QString groupRow(const ReportNode& node)
{
    const QString link = QStringLiteral("<a href=\"#") + reportText(node.nodeKey)
        + QStringLiteral("\"><font face=\"$FontFace\" size=\"$FontSize\" color=\"#000000\"><b>")
        + reportText(node.name) + QStringLiteral("</b></font></a>");
    const QString value = node.value.size() < MaxLinkValue
        ? reportText(node.value)
        : reportText(node.value.left(MaxLinkValue)) + QStringLiteral("... <i>[click on the link for full information]</i>");
    return substitute({{QStringLiteral("$Image"), reportText(reportImageSource(node.imageKey))},
                       {QStringLiteral("$Name"), link},
                       {QStringLiteral("$Value"), value},
                       {QStringLiteral("$Description"), reportText(node.help)},
                       {QStringLiteral("$Color"), White},
                       {QStringLiteral("$FontFace"), FontFace},
                       {QStringLiteral("$FontSize"), QStringLiteral("2")},
                       {QStringLiteral("$FontColor"), Black}});
}

} // namespace veldra
