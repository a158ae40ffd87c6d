#include "generation/crosscheck/CrossCheck.h"

#include "app/log/Log.h"
#include "app/log/LoggedProblems.h"
#include "generation/crosscheck/CheckResultLog.h"
#include "generation/crosscheck/ComparisonWork.h"
#include "generation/crosscheck/CrossCheckInstructions.h"
#include "generation/crosscheck/TextMatching.h"
#include "platform/core/VbError.h"
#include "platform/ui/Ui.h"
#include "platform/ui/WorkProgress.h"
#include "platform/xml/query/QueryLiteral.h"
#include "platform/xml/tree/Document.h"

#include <QFileInfo>
#include <QHash>

#include <optional>

namespace veldra {

namespace {

const QString Source = QStringLiteral("CompareSPLFiles");

void separator()
{
    WriteLog(logSeparator(), QString());
}

bool fileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

QString summaryMessage(int differences)
{
    if (differences == 1)
        return QStringLiteral("There is 1 difference between the SPL Files in the compared sections.");
    if (differences > 1)
        return QStringLiteral("There are %1 differences between the SPL Files in the compared sections.").arg(differences);
    return QStringLiteral("There are no differences between SPL Files in the compared sections.");
}

// One comparison of two SPL files.
class CrossCheckRun {
public:
    CrossCheckRun(const QString& file1, const QString& dn1, const QString& file2, const QString& dn2,
                  bool differencesOnly)
        : file1_(file1), file2_(file2), dn1_(dn1), dn2_(dn2), differencesOnly_(differencesOnly)
    {
    }

    // Why the comparison ended before its summary when it was stopped: by the user, or at the
    // cap of its work.
    const QString& stopReason() const { return stopReason_; }
    // True when the user stopped it: no failure, so it is said as information.
    bool stoppedByUser() const { return stoppedByUser_; }

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
            if (!runChecks(checks)) {
                separator();
                WriteLog(stoppedByUser_ ? log_category::Information : log_category::Error, stopReason_);
                return false;
            }
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
        WriteLog(log_category::Information, QStringLiteral("Processing Instructions: ") + crossCheckInstructionFile());
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
        loadSpl(spl1_, file1_, dn1_);
        loadSpl(spl2_, file2_, dn2_);
        work_.emplace(elementCount(spl1_), elementCount(spl2_));
        if (!instructions_.load(crossCheckInstructionFile())) {
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

    // Comments and processing instructions match no query of a check, so they are left out.
    static void loadSpl(xml::Document& spl, const QString& file, const QString& displayName)
    {
        if (!spl.load(file, xml::OutsideFileWithoutComments))
            WriteLog(log_category::Error, displayName + spl.parseError().reason);
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
            checkName_ = check.name = requiredAttribute(element, QStringLiteral("Name"), Source);
            const xml::Node control = element.selectSingleNode(QStringLiteral("XPathControl"));
            controlQuery_ = check.controlQuery = control.isNull() ? QString() : control.text();
            if (check.controlQuery.isEmpty()) {
                check.controlValues << QString();
            } else {
                const xml::NodeList values = spl1_.selectNodes(check.controlQuery);
                work_->startCheck(check.name);
                work_->addControlQuery(values.length());
                for (const xml::Node& node : values)
                    check.controlValues << node.text();
            }
            checks.push_back(std::move(check));
        }
        return checks;
    }

    // Runs the checks, each query between values that the user may stop at, within the cap of
    // the work. False when the run was stopped, with the reason in stopReason_.
    bool runChecks(const std::vector<Check>& checks)
    {
        qint64 values = 0;
        for (const Check& check : checks)
            values += check.controlValues.size();
        ui::WorkProgress progress(QStringLiteral("Comparing the SPL Files..."), values);
        qint64 done = 0;
        for (const Check& check : checks)
            if (!runCheck(check, progress, done))
                return false;
        return true;
    }

    // What a process found for one control value: each text of file 1 with the text of file 2
    // it matched, or with what stands for it when none did.
    struct Outcome {
        bool different = false;
        QString text1;
        QString text2;
    };
    struct Found {
        QString label;
        bool block = false;
        std::vector<Outcome> outcomes;
    };

    bool runCheck(const Check& check, ui::WorkProgress& progress, qint64& done)
    {
        label_.clear();
        processText_.clear();
        checkName_ = check.name;
        controlQuery_ = check.controlQuery;
        work_->startCheck(checkName_);
        CheckResultLog results(dn1_, dn2_, checkName_);
        WriteLog(log_category::Processing, checkName_, true);
        separator();
        // A control value that repeats (the title of a section in each of its copies) gives what
        // it gave before: its queries run once.
        QHash<QString, std::vector<Found>> foundByValue;
        for (qsizetype i = 0; i < check.controlValues.size(); ++i) {
            const QString& value = check.controlValues.at(i);
            auto known = foundByValue.constFind(value);
            if (known == foundByValue.cend()) {
                std::vector<Found> found;
                if (!findAll(check, value, progress, done, found))
                    return false;
                known = foundByValue.insert(value, std::move(found));
            } else if (!mayGoOn(progress, done) || !withinCap(replayed(*known))) {
                return false;
            }
            for (const Found& found : *known)
                report(found, results);
            const bool last = i + 1 == check.controlValues.size();
            if (!last && results.showing() && (!differencesOnly_ || lastWasDifference_))
                separator();
            ++done;
        }
        results.writeLeftOut();
        separator();
        return true;
    }

    bool findAll(const Check& check, const QString& value, ui::WorkProgress& progress, qint64 done,
                 std::vector<Found>& found)
    {
        for (const xml::Node& process : check.processes) {
            if (!mayGoOn(progress, done))
                return false;
            found.push_back(find(process, value));
            if (!withinCap(0))
                return false;
        }
        return true;
    }

    static qint64 replayed(const std::vector<Found>& found)
    {
        qint64 outcomes = 0;
        for (const Found& one : found)
            outcomes += qint64(one.outcomes.size());
        return outcomes;
    }

    bool mayGoOn(ui::WorkProgress& progress, qint64 done)
    {
        if (progress.keepGoing(done))
            return true;
        stopReason_ = QStringLiteral("The comparison was stopped before its end; the results above are those of the "
                                     "checks it ran. The files are not changed.");
        stoppedByUser_ = true;
        return false;
    }

    // Adds results given again to the work; false once it passed its cap.
    bool withinCap(qint64 replayedOutcomes)
    {
        work_->addMatches(replayedOutcomes);
        if (!work_->overCap())
            return true;
        stopReason_ = work_->refusal();
        return false;
    }

    Found find(const xml::Node& process, const QString& controlValue)
    {
        processText_ = process.text();
        label_ = requiredAttribute(process, QStringLiteral("Name"), Source);
        const QString kind = process.getAttribute(QStringLiteral("DataType"));
        const TextMatch match = textMatchOf(kind);
        // The value comes from file 1, which may come from anyone: it is compared as one text.
        const QString query = xml::withLiteral(processText_, QStringLiteral("$ControlValue$"), controlValue);
        const xml::NodeList set1 = spl1_.selectNodes(query);
        const xml::NodeList set2 = spl2_.selectNodes(query);
        work_->addProcessQuery(set1.length(), set2.length());
        const QHash<QString, xml::Node> textsOf2 = firstOfEachText(set2, match);
        Found found{label_, kind == QLatin1String("Text"), {}};
        for (const xml::Node& a : set1) {
            const QString text = a.text();
            // A name's text of nothing but blanks is the file's layout around its parts.
            if (match != TextMatch::Exact && text.simplified().isEmpty())
                continue;
            const xml::Node b = textsOf2.value(matchKey(text, match));
            if (b.isNull())
                found.outcomes.push_back(
                    {true, text, set2.length() == 1 ? set2.item(0).text() : QStringLiteral("Not Found")});
            else if (differencesOnly_)
                found.outcomes.push_back({false, {}, {}}); // counted, never shown
            else
                found.outcomes.push_back({false, text, b.text()});
        }
        return found;
    }

    void report(const Found& found, CheckResultLog& results)
    {
        for (const Outcome& outcome : found.outcomes) {
            lastWasDifference_ = outcome.different;
            if (outcome.different) {
                ++differences_;
                results.different(found.label, found.block, outcome.text1, outcome.text2);
            } else if (!differencesOnly_) {
                results.identical(found.label, found.block, outcome.text1, outcome.text2);
            }
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
    QString stopReason_;
    bool stoppedByUser_ = false;
    std::optional<ComparisonWork> work_;
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
        ui::msgBox(run.stopReason().isEmpty() ? QStringLiteral("The SPL Files could not be compared. ")
                                                    + problems.count().sentence(QStringLiteral("comparison"))
                                              : run.stopReason(),
                   ui::Buttons::OK, run.stoppedByUser() ? ui::Icon::Information : ui::Icon::Critical);
}

} // namespace veldra
