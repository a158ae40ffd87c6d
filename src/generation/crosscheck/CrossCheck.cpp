#include "generation/crosscheck/CrossCheck.h"

#include "app/log/Log.h"
#include "app/log/LoggedProblems.h"
#include "generation/crosscheck/ComparisonCost.h"
#include "platform/core/AppPaths.h"
#include "platform/core/Skip.h"
#include "platform/core/VbError.h"
#include "platform/ui/Ui.h"
#include "platform/xml/query/QueryLiteral.h"
#include "platform/xml/tree/Document.h"

#include <QFileInfo>
#include <QHash>

namespace veldra {

namespace {

const QString Source = QStringLiteral("CompareSPLFiles");

void separator()
{
    WriteLog(logSeparator(), QString());
}

QString instructionFile()
{
    return app_paths::inProgram(QStringLiteral("SPLR4Definitions/CrossCheckInstruction.xml"));
}

bool fileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

QString documentTypeOf(const xml::Document& spl)
{
    QString type;
    skip([&] { type = spl.selectSingleNode(QStringLiteral("document/code/@displayName")).text(); });
    return type;
}

// The first Setup whose Header lists the document type, or a null node.
xml::Node setupFor(const xml::Document& instructions, const QString& documentType)
{
    for (const xml::Node& setup : instructions.selectNodes(QStringLiteral("SPLCrossCheckInstruction/Setup")))
        for (const xml::Node& type : setup.selectNodes(QStringLiteral("Header/DocumentType")))
            if (type.text() == documentType)
                return setup;
    return {};
}

// An attribute that must be present; its absence fails the check.
QString requiredAttribute(const xml::Node& element, const QString& name)
{
    const QString value = element.getAttribute(name);
    if (value.isNull())
        throw VbError(err::XmlNode, Source,
                      QStringLiteral("%1 has no attribute %2.").arg(element.nodeName(), name));
    return value;
}

QString summaryMessage(int differences)
{
    if (differences == 1)
        return QStringLiteral("There is 1 difference between the SPL Files in the compared sections.");
    if (differences > 1)
        return QStringLiteral("There are %1 differences between the SPL Files in the compared sections.").arg(differences);
    return QStringLiteral("There are no differences between SPL Files in the compared sections.");
}

// How the texts of a process are matched (its DataType).
enum class TextMatch { Exact, Name, DisplayName };

// One comparison of two SPL files.
class CrossCheckRun {
public:
    CrossCheckRun(const QString& file1, const QString& dn1, const QString& file2, const QString& dn2,
                  bool differencesOnly)
        : file1_(file1), file2_(file2), dn1_(dn1), dn2_(dn2), differencesOnly_(differencesOnly)
    {
    }

    // Why the comparison was not run, when it would have cost more than it may.
    const QString& refusal() const { return refusal_; }

    // False when the run ended before its summary, with its reason in the log.
    bool run()
    {
        writeStart();
        if (!filesReady() || !loadDocuments())
            return false;
        const xml::Node setup = comparableSetup();
        if (setup.isNull())
            return false;
        try {
            const std::vector<Check> checks = plannedChecks(setup);
            if (refused(checks))
                return false;
            for (const Check& check : checks)
                runCheck(check);
        } catch (const std::exception& e) {
            writeFatalError(toVbError(e, Source));
            return false;
        }
        writeSummary();
        return true;
    }

private:
    void writeStart()
    {
        ShowLogWindow(true);
        WriteLog(log_category::Information, QStringLiteral("Starting SPL File Comparison"), true);
        WriteLog(log_category::Information, QStringLiteral("Processing Instructions: ") + instructionFile());
        separator();
        WriteLog(log_category::Information, dn1_, true);
        WriteLog(log_category::Information, QStringLiteral("File 1: ") + file1_);
        separator();
        WriteLog(log_category::Information, dn2_, true);
        WriteLog(log_category::Information, QStringLiteral("File 2: ") + file2_);
        separator();
    }

    bool filesReady() const
    {
        if (file1_.isEmpty() || file2_.isEmpty()) {
            WriteLog(log_category::Error, QStringLiteral("SPL Files to be compared are not correctly setup"));
            return false;
        }
        if (!fileExists(file1_)) {
            WriteLog(log_category::Error, dn1_ + QStringLiteral(" SPL File not found"));
            return false;
        }
        if (!fileExists(file2_)) {
            WriteLog(log_category::Error, dn2_ + QStringLiteral(" SPL File not found"));
            return false;
        }
        return true;
    }

    // The SPL files are compared whatever their load says (a file that does not load has no
    // document type); an instruction file that does not load ends the run with its reason.
    bool loadDocuments()
    {
        spl1_.load(file1_);
        spl2_.load(file2_);
        if (!instructions_.load(instructionFile())) {
            WriteLog(log_category::Error, QStringLiteral("Cannot load the instruction file: ") + instructions_.parseError().reason);
            return false;
        }
        type1_ = documentTypeOf(spl1_);
        type2_ = documentTypeOf(spl2_);
        if (type1_.isEmpty() || type2_.isEmpty()) {
            WriteLog(log_category::Error, QStringLiteral("The Document Type of at least one SPL File could not be read. Please make "
                                           "sure that both files are SPL Files in the format of the FDA."));
            writeTypes();
            return false;
        }
        return true;
    }

    void writeTypes() const
    {
        WriteLog(log_category::Error, dn1_ + type1_);
        WriteLog(log_category::Error, dn2_ + type2_);
    }

    // Setup A, when the types of both files are listed in it (or in an identical Setup).
    xml::Node comparableSetup() const
    {
        const xml::Node setupA = setupFor(instructions_, type1_);
        const xml::Node setupB = setupFor(instructions_, type2_);
        if (setupA.isNull() || setupB.isNull() || setupA.xml() != setupB.xml()) {
            WriteLog(log_category::Error, QStringLiteral("The SPL Files have Document Types that can't be compared."), true);
            writeTypes();
            return {};
        }
        return setupA;
    }

    // An enabled check with the values of file 1 its queries run for (one empty value when it
    // has no control query).
    struct Check {
        QString name;
        QString controlQuery;
        QStringList controlValues;
        xml::NodeList processes;
    };

    std::vector<Check> plannedChecks(const xml::Node& setup)
    {
        std::vector<Check> checks;
        for (const xml::Node& element : setup.selectNodes(QStringLiteral("Details/CrossCheck"))) {
            if (element.getAttribute(QStringLiteral("Enabled")) != QLatin1String("1"))
                continue;
            Check check{{}, {}, {}, element.selectNodes(QStringLiteral("XPathProcess"))};
            checkName_ = check.name = requiredAttribute(element, QStringLiteral("Name"));
            const xml::Node control = element.selectSingleNode(QStringLiteral("XPathControl"));
            controlQuery_ = check.controlQuery = control.isNull() ? QString() : control.text();
            if (check.controlQuery.isEmpty())
                check.controlValues << QString();
            else
                for (const xml::Node& node : spl1_.selectNodes(check.controlQuery))
                    check.controlValues << node.text();
            checks.push_back(std::move(check));
        }
        return checks;
    }

    // Whether the comparison would cost more than it may; the log then says why.
    bool refused(const std::vector<Check>& checks)
    {
        ComparisonCost cost;
        cost.elements = elementCount(spl1_) + elementCount(spl2_);
        for (const Check& check : checks)
            cost.checks.push_back({check.name, check.controlQuery.isEmpty() ? 0 : check.controlValues.size(),
                                   check.processes.length()});
        refusal_ = comparisonRefusal(cost);
        if (refusal_.isEmpty())
            return false;
        WriteLog(log_category::Error, refusal_);
        return true;
    }

    void runCheck(const Check& check)
    {
        processText_.clear();
        label_.clear();
        checkName_ = check.name;
        controlQuery_ = check.controlQuery;
        WriteLog(log_category::Processing, checkName_, true);
        separator();
        for (qsizetype i = 0; i < check.controlValues.size(); ++i) {
            for (const xml::Node& process : check.processes)
                compare(process, check.controlValues.at(i));
            const bool last = i + 1 == check.controlValues.size();
            if (!last && (!differencesOnly_ || lastWasDifference_))
                separator();
        }
        separator();
    }

    void compare(const xml::Node& process, const QString& controlValue)
    {
        processText_ = process.text();
        label_ = requiredAttribute(process, QStringLiteral("Name"));
        const QString kind = process.getAttribute(QStringLiteral("DataType"));
        const bool block = kind == QLatin1String("Text");
        const TextMatch match = kind == QLatin1String("DisplayName") ? TextMatch::DisplayName
                                : kind == QLatin1String("Name")      ? TextMatch::Name
                                                                     : TextMatch::Exact;
        // The value comes from file 1, which may come from anyone: it is compared as one text.
        const QString query = xml::withLiteral(processText_, QStringLiteral("$ControlValue$"), controlValue);
        const xml::NodeList set1 = spl1_.selectNodes(query);
        const xml::NodeList set2 = spl2_.selectNodes(query);
        const QHash<QString, xml::Node> textsOf2 = firstOfEachText(set2, match);
        for (const xml::Node& a : set1) {
            // A name's text of nothing but blanks is the file's layout around its parts.
            if (match != TextMatch::Exact && a.text().simplified().isEmpty())
                continue;
            const xml::Node b = textsOf2.value(matchKey(a.text(), match));
            lastWasDifference_ = b.isNull();
            if (b.isNull()) {
                WriteLog(log_category::Warning, label_ + QStringLiteral(" is different"), true);
                ++differences_;
                const QString other = set2.length() == 1 ? set2.item(0).text() : QStringLiteral("Not Found");
                writeDetails(block, log_category::Warning, a.text(), other);
            } else if (!differencesOnly_) {
                WriteLog(log_category::Information, label_ + QStringLiteral(" is identical"), true);
                if (block)
                    writeDetails(block, log_category::Information, b.text(), a.text());
                else
                    writeDetails(block, log_category::Information, a.text(), b.text());
            }
        }
    }

    // Names match after whitespace normalisation; display names, the readable side of a code,
    // which labels write in differing letter case, also whatever their case. Every other
    // text (codes among them) must match exactly.
    static QString matchKey(const QString& text, TextMatch match)
    {
        if (match == TextMatch::Exact)
            return text;
        return match == TextMatch::DisplayName ? text.simplified().toCaseFolded() : text.simplified();
    }

    // The first node of file 2 for each text it holds, as matched: one pass, so that files of
    // thousands of such nodes are not compared pair by pair.
    static QHash<QString, xml::Node> firstOfEachText(const xml::NodeList& nodes, TextMatch match)
    {
        QHash<QString, xml::Node> first;
        for (const xml::Node& node : nodes) {
            const QString key = matchKey(node.text(), match);
            if (!first.contains(key))
                first.insert(key, node);
        }
        return first;
    }

    // Line layout: the display name stands in the category column beside the value. Block
    // layout (long texts): the display name and the check's name above each text. The values
    // are written on one line each, their line breaks and runs of blanks made single blanks,
    // so that a value never splits the log's lines.
    void writeDetails(bool block, const QString& category, const QString& value1, const QString& value2) const
    {
        const QString text1 = value1.simplified();
        const QString text2 = value2.simplified();
        if (block) {
            WriteLog(category, dn1_ + checkName_, true);
            WriteLog(QString(), text1);
            WriteLog(category, dn2_ + checkName_, true);
            WriteLog(QString(), text2);
        } else {
            WriteLog(dn1_, text1);
            WriteLog(dn2_, text2);
        }
    }

    void writeFatalError(const VbError& error) const
    {
        separator();
        WriteLog(log_category::Error, QStringLiteral("Fatal Error"), true);
        WriteLog(log_category::Error, error.source() + QLatin1Char(' ') + QString::number(error.number()));
        WriteLog(log_category::Error, error.description());
        WriteLog(QString(), QString());
        WriteLog(log_category::Error, QStringLiteral("XPathControl: ") + controlQuery_);
        WriteLog(log_category::Error, QStringLiteral("XPathProcess: ") + processText_);
        WriteLog(QString(), QString());
        WriteLog(log_category::Error, QStringLiteral("CrossCheck Name: ") + checkName_);
        WriteLog(log_category::Error, QStringLiteral("XPathProcess Name: ") + label_);
    }

    void writeSummary() const
    {
        const QString summary = summaryMessage(differences_);
        WriteLog(differences_ > 0 ? log_category::Warning : log_category::Information, summary);
        WriteDisclaimer();
        separator();
        if (NoLogging)
            ui::msgBox(summary, ui::Buttons::OK, differences_ > 0 ? ui::Icon::Warning : ui::Icon::Information);
    }

    const QString file1_;
    const QString file2_;
    const QString dn1_;
    const QString dn2_;
    const bool differencesOnly_;

    xml::Document spl1_;
    xml::Document spl2_;
    xml::Document instructions_;
    QString type1_;
    QString type2_;

    int differences_ = 0;
    bool lastWasDifference_ = false;
    // What the fatal-error block names.
    QString checkName_;
    QString controlQuery_;
    QString processText_;
    QString label_;
    QString refusal_;
};

// A description on one line: line breaks and runs of blanks become single blanks.
QString displayNameOrDefault(const QString& displayName, const QString& fallback)
{
    const QString oneLine = displayName.simplified();
    return (oneLine.isEmpty() ? fallback : oneLine) + QStringLiteral(": ");
}

} // namespace

void CompareSPLFiles(const QString& file1, const QString& displayName1, const QString& file2,
                     const QString& displayName2, bool differencesOnly)
{
    CrossCheckRun run(file1, displayNameOrDefault(displayName1, QStringLiteral("SPL File 1")), file2,
                      displayNameOrDefault(displayName2, QStringLiteral("SPL File 2")), differencesOnly);
    const LoggedProblemsSince problems;
    // With logging off the summary box is the only report, so a run that ends without one
    // says so too.
    if (!run.run() && NoLogging)
        ui::msgBox(run.refusal().isEmpty() ? QStringLiteral("The SPL Files could not be compared. ")
                                                 + problems.count().sentence(QStringLiteral("comparison"))
                                           : run.refusal(),
                   ui::Buttons::OK, ui::Icon::Critical);
}

} // namespace veldra
