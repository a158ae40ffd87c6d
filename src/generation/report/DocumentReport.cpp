#include "generation/report/DocumentReport.h"

#include "app/window/Captions.h"
#include "app/log/Log.h"
#include "app/shared/SharedProcedures.h"
#include "app/window/WebAddresses.h"
#include "app/window/frmMain.h"
#include "editor/window/BusyCursor.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "editor/window/frmXMLEditor.h"
#include "generation/report/DocumentReportRows.h"
#include "generation/FileCopy.h"
#include "generation/report/ReportPictures.h"
#include "platform/core/AppInfo.h"
#include "platform/core/FileSave.h"
#include "platform/core/Skip.h"
#include "platform/core/VbString.h"
#include "platform/ui/Ui.h"
#include "platform/xml/tree/Document.h"

#include <QDate>
#include <QDir>
#include <QLocale>
#include <QPointer>
#include <QSet>
#include <QTime>

#include <utility>
#include <vector>

namespace veldra {

namespace {

const QString CRLF = QStringLiteral("\r\n");
const QString ImagesFolder = QStringLiteral("SPLReportImages");

QString now()
{
    const QLocale locale = QLocale::system();
    return locale.toString(QDate::currentDate(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(QTime::currentTime(), QLocale::LongFormat);
}

QString withSafeFileName(const QString& path)
{
    return folderWithSeparator(path) + MakeSafeFileName(vbstr::fileNameOf(path), QString());
}

void collectTexts(const xml::Node& node, QStringList& texts)
{
    for (const xml::Node& child : node.childNodes()) {
        if (child.nodeType() == xml::NodeType::Text || child.nodeType() == xml::NodeType::CData) {
            const QString text = child.text().simplified();
            if (!text.isEmpty())
                texts << text;
        } else if (child.nodeType() == xml::NodeType::Element) {
            collectTexts(child, texts);
        }
    }
}

// A group's value: the values below it, separated by blanks, where the element's own text
// would run them together ("Parke-Davis Div of Pfizer Inc829076962USA").
QString groupValue(const xml::Node& element)
{
    QStringList texts;
    collectTexts(element, texts);
    return texts.join(QLatin1Char(' '));
}

ReportNode reportNode(const frmXMLEditor& editor, QTreeWidgetItem* item)
{
    ReportNode node;
    skip([&] { node.name = SplitCamelCase(GetNodeNameFromCaption(item)); });
    node.imageKey = item->data(0, TreeImageList::ImageKeyRole).toString();
    node.nodeKey = nodeKey(item);
    if (editor.XMLDoc && item->childCount() > 0)
        skip([&] { node.value = groupValue(elementBehind(item, *editor.XMLDoc)); });
    else if (editor.XMLDoc)
        skip([&] { node.value = GetXMLValueFromTreeView(item, *editor.XMLDoc); });
    skip([&] { node.help = GetNodeExample(editor, item); });
    return node;
}

QString sectionComment(const QString& name)
{
    return QStringLiteral("<!-- ") + QString(45, QLatin1Char('*')) + QLatin1Char(' ') + reportText(name)
        + QLatin1Char(' ') + QString(48, QLatin1Char('*')) + QStringLiteral(" -->");
}

QString publisherLink()
{
    return QStringLiteral("&copy; <a href=\"") + reportText(web::VeldraWebSite) + QStringLiteral("\"><font color=\"#000000\">")
        + reportText(app_info::publisher()) + QStringLiteral("</font></a> ") + QString::number(QDate::currentDate().year());
}

QString pageOf(const QString& fileName, const QString& body)
{
    QString title = fileName;
    title.remove(QLatin1String(".html"));
    return QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">") + QStringLiteral("<html>")
        + QStringLiteral("<head>") + QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">")
        + QStringLiteral("<title>Veldra - Document Report</title>") + QStringLiteral("</head>") + QStringLiteral("<body>")
        + QStringLiteral("<div align=\"center\"><table border=\"0\" width=\"900px\" bordercolor=\"#C0C0C0\" "
                         "cellpadding=\"10\" bgcolor=\"#C0C0C0\" cellspacing=\"1\">")
        + QStringLiteral("<tr>") + QStringLiteral("<td width=\"100%\" bgcolor=\"#FFCC00\">")
        + QStringLiteral("<p style=\"line-height: 150%\"><b><font face=\"Verdana\" size=\"4\">Veldra - Document Report<br>")
        + reportText(title) + QStringLiteral("</font></b></p>")
        + QStringLiteral("<p style=\"line-height: 150%\"><b><font face=\"Verdana\" size=\"2\">") + publisherLink()
        + QStringLiteral("</font></b></p></td>") + QStringLiteral("</tr>") + QStringLiteral("</table><br><br>") + body
        + QStringLiteral("<p align=\"center\"><b><font face=\"Verdana\" size=\"2\">") + publisherLink()
        + QStringLiteral("</font></b></p>") + QStringLiteral("</div></body>") + QStringLiteral("</html>");
}

// One section of the report: a node with children, and its children.
struct ReportSection {
    ReportNode head;
    std::vector<std::pair<ReportNode, bool>> children; // with true for a child that has children
};

// What the report shows of the editor's tree, read in one pass that lets no events run: the
// writing logs, the log lets events run, and the user may close the editor meanwhile.
std::vector<ReportSection> readSections(const frmXMLEditor* editor)
{
    std::vector<ReportSection> sections;
    if (!editor)
        return sections;
    editor->TreeView->forEachNode([&](QTreeWidgetItem* item) {
        if (item->childCount() == 0)
            return;
        ReportSection section{reportNode(*editor, item), {}};
        for (int i = 0; i < item->childCount(); ++i)
            section.children.emplace_back(reportNode(*editor, item->child(i)), item->child(i)->childCount() > 0);
        sections.push_back(std::move(section));
    });
    return sections;
}

// One report: the sections of the tree and the pictures they show.
class ReportWriter {
public:
    explicit ReportWriter(const QString& folder) : imagesFolder_(folder + ImagesFolder) {}

    QString body(const std::vector<ReportSection>& sections)
    {
        QString body;
        for (const ReportSection& one : sections)
            skip([&] { body += section(one); });
        return body;
    }

private:
    QString section(const ReportSection& section)
    {
        const ReportNode& head = section.head;
        copyPicture(head.imageKey);
        QString rows = CRLF + sectionHeadRow(head);
        WriteLog(logSeparator(), QString());
        WriteLog(log_category::Processing, head.name);
        const QString comment = sectionComment(head.name);
        for (const auto& [node, isGroup] : section.children) {
            copyPicture(node.imageKey);
            WriteLog(log_category::Processing, node.name);
            rows += CRLF + (isGroup ? groupRow(node) : leafRow(node));
        }
        return CRLF + comment + CRLF + comment + CRLF + comment
            + QStringLiteral("<table border=\"0\" width=\"900px\" cellpadding=\"5\" bgcolor=\"#C0C0C0\">") + rows
            + QStringLiteral("</table>") + QStringLiteral("<br><br>");
    }

    // Each picture is copied once; a missing picture leaves its reference without a file.
    void copyPicture(const QString& imageKey)
    {
        if (copied_.contains(imageKey))
            return;
        copied_.insert(imageKey);
        skip([&] { copyReportPicture(imageKey, imagesFolder_); });
    }

    const QString imagesFolder_;
    QSet<QString> copied_;
};

void writeReport(const QPointer<frmXMLEditor>& editor, QString& reportPath)
{
    reportPath = withSafeFileName(reportPath);
    const QString folder = folderWithSeparator(reportPath);
    skip([&] { QDir().mkpath(folder + ImagesFolder); });

    ShowLogWindow(true);
    WriteLog(log_category::Information, now() + QStringLiteral(" - Creating Document Report"));
    BusyCursor hourglass;
    ui::pumpMessages();

    const std::vector<ReportSection> sections = readSections(editor);
    ReportWriter writer(folder);
    const QString page = pageOf(vbstr::fileNameOf(reportPath), writer.body(sections));

    WriteLog(log_category::Information, QStringLiteral("Saving Document Report: ") + reportPath);
    if (const QString problem = saveReplacing(reportPath, page.toUtf8()); !problem.isEmpty()) {
        const QString message = QStringLiteral("The Document Report cannot be written to ") + reportPath
            + QStringLiteral(": ") + problem;
        WriteLog(log_category::Error, message);
        if (NoLogging)
            ui::msgBox(message, ui::Buttons::OK, ui::Icon::Critical);
        return;
    }
    WriteLog(log_category::Information, now() + QStringLiteral(" - Document Report Created"));
    ShellOpenFile(reportPath);
}

} // namespace

// Without a current editor the page holds no sections.
void CreateDocumentReport(QString& reportPath)
{
    frmMain* main = mainForm();
    writeReport(main ? qobject_cast<frmXMLEditor*>(main->SourceXMLEditor.data()) : nullptr, reportPath);
}

} // namespace veldra
