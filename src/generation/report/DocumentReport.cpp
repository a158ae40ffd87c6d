#include "generation/report/DocumentReport.h"

#include "app/Captions.h"
#include "app/Log.h"
#include "app/SharedProcedures.h"
#include "app/WebAddresses.h"
#include "app/frmMain.h"
#include "editor/BusyCursor.h"
#include "editor/TreePaths.h"
#include "editor/TreeView.h"
#include "editor/frmXMLEditor.h"
#include "generation/report/DocumentReportRows.h"
#include "generation/FileCopy.h"
#include "generation/report/ReportPictures.h"
#include "platform/core/AppInfo.h"
#include "platform/core/Skip.h"
#include "platform/core/VbString.h"
#include "platform/ui/Ui.h"

#include <QDate>
#include <QDir>
#include <QLocale>
#include <QSaveFile>
#include <QSet>
#include <QTime>

namespace veldra {

namespace {

const QString Information = QStringLiteral("Information");
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

ReportNode reportNode(const frmXMLEditor& editor, QTreeWidgetItem* item)
{
    ReportNode node;
    skip([&] { node.name = SplitCamelCase(GetNodeNameFromCaption(item)); });
    node.imageKey = item->data(0, TreeImageList::ImageKeyRole).toString();
    node.nodeKey = nodeKey(item);
    if (editor.XMLDoc)
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

// One report: the sections of the tree and the pictures they show.
class ReportWriter {
public:
    ReportWriter(const frmXMLEditor* editor, const QString& folder) : editor_(editor), imagesFolder_(folder + ImagesFolder)
    {
    }

    QString body()
    {
        QString body;
        if (!editor_)
            return body;
        editor_->TreeView->forEachNode([&](QTreeWidgetItem* item) {
            if (item->childCount() > 0)
                skip([&] { body += section(item); });
        });
        return body;
    }

private:
    QString section(QTreeWidgetItem* item)
    {
        const ReportNode head = reportNode(*editor_, item);
        copyPicture(head.imageKey);
        QString rows = CRLF + sectionHeadRow(head);
        WriteLog(logSeparator(), QString());
        WriteLog(QStringLiteral("Processing"), head.name);
        const QString comment = sectionComment(head.name);
        for (int i = 0; i < item->childCount(); ++i) {
            QTreeWidgetItem* child = item->child(i);
            const ReportNode node = reportNode(*editor_, child);
            copyPicture(node.imageKey);
            WriteLog(QStringLiteral("Processing"), node.name);
            rows += CRLF + (child->childCount() > 0 ? groupRow(node) : leafRow(node));
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

    const frmXMLEditor* editor_;
    const QString imagesFolder_;
    QSet<QString> copied_;
};

// Writes the page beside a temporary file renamed over the target; false with the reason.
bool writePage(const QString& path, const QString& page, QString& problem)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        problem = file.errorString();
        return false;
    }
    file.write(page.toUtf8());
    if (!file.commit()) {
        problem = file.errorString();
        return false;
    }
    return true;
}

void writeReport(const frmXMLEditor* editor, QString& reportPath)
{
    reportPath = withSafeFileName(reportPath);
    const QString folder = folderWithSeparator(reportPath);
    skip([&] { QDir().mkpath(folder + ImagesFolder); });

    ShowLogWindow(true);
    WriteLog(Information, now() + QStringLiteral(" - Creating Document Report"));
    BusyCursor hourglass;
    ui::pumpMessages();

    ReportWriter writer(editor, folder);
    const QString page = pageOf(vbstr::fileNameOf(reportPath), writer.body());

    WriteLog(Information, QStringLiteral("Saving Document Report: ") + reportPath);
    QString problem;
    if (!writePage(reportPath, page, problem)) {
        const QString message = QStringLiteral("The Document Report cannot be written to ") + reportPath
            + QStringLiteral(": ") + problem;
        WriteLog(QStringLiteral("Error"), message);
        if (NoLogging)
            ui::msgBox(message, ui::Buttons::OK, ui::Icon::Critical);
        return;
    }
    WriteLog(Information, now() + QStringLiteral(" - Document Report Created"));
    ShellOpen(reportPath);
}

} // namespace

// Without a current editor the page holds no sections.
void CreateDocumentReport(QString& reportPath)
{
    frmMain* main = mainForm();
    writeReport(main ? qobject_cast<frmXMLEditor*>(main->SourceXMLEditor.data()) : nullptr, reportPath);
}

} // namespace veldra
