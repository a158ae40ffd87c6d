#include "generation/crosscheck/CrossCheck.h"

#include "app/log/Log.h"
#include "app/log/LoggedProblems.h"
#include "generation/crosscheck/CheckResultLog.h"
#include "generation/crosscheck/ComparedValues.h"
#include "generation/crosscheck/ComparisonWork.h"
#include "generation/crosscheck/CrossCheckInstructions.h"
#include "generation/crosscheck/TextMatching.h"
#include "platform/core/VbError.h"
#include "platform/ui/Ui.h"
#include "platform/ui/WorkProgress.h"
#include "platform/xml/query/QueryLiteral.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/SubtreeSize.h"

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
            if (!runChecks(enabledChecks(setup))) {
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

    // An enabled check; its control query (empty when it has none) gives the values of file 1
    // its process queries run for.
    struct Check {
        QString name;
        QString controlQuery;
        xml::NodeList processes;
    };

    std::vector<Check> enabledChecks(const xml::Node& setup)
    {
        std::vector<Check> checks;
        for (const xml::Node& element : setup.selectNodes(QStringLiteral("Details/CrossCheck"))) {
            if (element.getAttribute(QStringLiteral("Enabled")) != QLatin1String("1"))
                continue;
            Check check{{}, {}, element.selectNodes(QStringLiteral("XPathProcess"))};
            checkName_ = check.name = requiredAttribute(element, QStringLiteral("Name"), Source);
            const xml::Node control = element.selectSingleNode(QStringLiteral("XPathControl"));
            check.controlQuery = control.isNull() ? QString() : control.text();
            checks.push_back(std::move(check));
        }
        return checks;
    }

    // Each check has an equal share of the progress bar, which its values advance.
    static constexpr qint64 ProgressPerCheck = 1000;

    // Runs the checks, each query and each node's value between points that the user may stop
    // at, within the cap of the work. False when the run was stopped, with the reason in
    // stopReason_.
    bool runChecks(const std::vector<Check>& checks)
    {
        ui::WorkProgress progress(QStringLiteral("Comparing the SPL Files..."), qint64(checks.size()) * ProgressPerCheck);
        progress_ = &progress;
        bool ranAll = true;
        for (size_t k = 0; k < checks.size() && ranAll; ++k) {
            done_ = qint64(k) * ProgressPerCheck;
            ranAll = runCheck(checks[k]);
        }
        progress_ = nullptr;
        return ranAll;
    }

    // What a process found for one control value: each text of file 1, as the log shows it,
    // with the text of file 2 it matched, or with what stands for it when none did, and the
    // characters of both.
    struct Outcome {
        bool different = false;
        QString text1;
        QString text2;
        qint64 characters = 0;
    };
    struct Found {
        QString label;
        bool block = false;
        std::vector<Outcome> outcomes;
    };
    // What the queries gave for one control value, and what giving it again costs.
    struct Known {
        std::vector<Found> found;
        qint64 results = 0;
        qint64 characters = 0;
    };

    bool runCheck(const Check& check)
    {
        label_.clear();
        processText_.clear();
        checkName_ = check.name;
        controlQuery_ = check.controlQuery;
        work_->startCheck(checkName_);
        WriteLog(log_category::Processing, checkName_, true);
        separator();
        QStringList values;
        if (!controlValues(check.controlQuery, values))
            return false;
        CheckResultLog results(dn1_, dn2_, checkName_);
        const qint64 base = done_;
        // A control value that repeats (the title of a section in each of its copies) gives what
        // it gave before: its queries run once.
        QHash<QString, Known> knownByValue;
        for (qsizetype i = 0; i < values.size(); ++i) {
            done_ = base + i * ProgressPerCheck / values.size();
            auto known = knownByValue.constFind(values.at(i));
            if (known == knownByValue.cend()) {
                Known found;
                if (!findAll(check, values.at(i), found))
                    return false;
                known = knownByValue.insert(values.at(i), std::move(found));
            } else {
                work_->addReplay(known->results, known->characters);
                if (!mayGoOn() || !withinCap())
                    return false;
            }
            for (const Found& found : known->found)
                report(found, results);
            const bool last = i + 1 == values.size();
            if (!last && results.showing() && (!differencesOnly_ || lastWasDifference_))
                separator();
        }
        results.writeLeftOut();
        separator();
        return true;
    }

    // The values of file 1 the check's queries run for: one empty value when it has no
    // control query. Their characters are counted before they are taken.
    bool controlValues(const QString& controlQuery, QStringList& values)
    {
        if (controlQuery.isEmpty()) {
            values << QString();
            return true;
        }
        work_->addControlQuery(comparedCharacters(spl1_, compared1_, controlQuery));
        if (!withinCap())
            return false;
        const xml::NodeList nodes = spl1_.selectNodes(controlQuery);
        work_->addSelected(nodes.length());
        if (!withinCap() || !countValues(nodes))
            return false;
        for (const xml::Node& node : nodes) {
            if (!mayGoOn())
                return false;
            values << node.text();
        }
        return true;
    }

    bool findAll(const Check& check, const QString& value, Known& known)
    {
        for (const xml::Node& process : check.processes) {
            Found found;
            if (!mayGoOn() || !find(process, value, found))
                return false;
            for (const Outcome& outcome : found.outcomes)
                known.characters += outcome.characters;
            known.results += qint64(found.outcomes.size());
            known.found.push_back(std::move(found));
        }
        return true;
    }

    bool mayGoOn()
    {
        if (progress_->keepGoing(done_))
            return true;
        stopReason_ = QStringLiteral("The comparison was stopped before its end; the results above are those of the "
                                     "checks it ran. The files are not changed.");
        stoppedByUser_ = true;
        return false;
    }

    // False once the work passed its cap.
    bool withinCap()
    {
        if (!work_->overCap())
            return true;
        stopReason_ = work_->refusal();
        return false;
    }

    // Counts the characters of the nodes' values before they are taken; false past the cap.
    bool countValues(const xml::NodeList& nodes)
    {
        work_->addCharacters(valuesLength(nodes, comparisonWorkCap()));
        return withinCap();
    }

    // The characters of the values that the comparisons of the query take in a file, counted
    // once for each file and each set of nodes compared.
    static qint64 comparedCharacters(const xml::Document& spl, QHash<QString, qint64>& known, const QString& query)
    {
        qint64 characters = 0;
        for (const QString& nodes : comparedNodesQueries(query)) {
            auto length = known.constFind(nodes);
            if (length == known.cend())
                length = known.insert(nodes, valuesLength(spl.selectNodes(nodes), comparisonWorkCap()));
            characters += *length;
        }
        return characters;
    }

    // Runs the process for the control value on both files and matches what they select;
    // false when the run is to stop.
    bool find(const xml::Node& process, const QString& controlValue, Found& found)
    {
        processText_ = process.text();
        label_ = requiredAttribute(process, QStringLiteral("Name"), Source);
        const QString kind = process.getAttribute(QStringLiteral("DataType"));
        found = Found{label_, kind == QLatin1String("Text"), {}};
        work_->addProcessQuery(comparedCharacters(spl1_, compared1_, processText_)
                               + comparedCharacters(spl2_, compared2_, processText_));
        if (!withinCap())
            return false;
        // The value comes from file 1, which may come from anyone: it is compared as one text.
        const QString query = xml::withLiteral(processText_, QStringLiteral("$ControlValue$"), controlValue);
        const xml::NodeList set1 = spl1_.selectNodes(query);
        const xml::NodeList set2 = spl2_.selectNodes(query);
        work_->addSelected(set1.length() + set2.length());
        if (!withinCap() || !countValues(set1) || !countValues(set2))
            return false;
        const TextMatch match = textMatchOf(kind);
        QHash<QString, xml::Node> textsOf2;
        QString only; // the value of file 2's one node, which stands for any text it does not match
        for (const xml::Node& node : set2) {
            if (!mayGoOn())
                return false;
            const QString text = node.text();
            if (set2.length() == 1)
                only = text;
            const QString key = matchKey(text, match);
            if (!textsOf2.contains(key))
                textsOf2.insert(key, node);
        }
        for (const xml::Node& a : set1)
            if (!mayGoOn() || !match1(a, textsOf2, match, only, found))
                return false;
        return true;
    }

    // The outcome for one node of file 1; false when the run is to stop. `only` is null unless
    // file 2 selected one node.
    bool match1(const xml::Node& a, const QHash<QString, xml::Node>& textsOf2, TextMatch match,
                const QString& only, Found& found)
    {
        const QString text = a.text();
        // A name's text of nothing but blanks is the file's layout around its parts.
        if (match != TextMatch::Exact && text.simplified().isEmpty())
            return true;
        const xml::Node b = textsOf2.value(matchKey(text, match));
        if (b.isNull()) {
            const QString standIn = only.isNull() ? QStringLiteral("Not Found") : loggedValue(only);
            found.outcomes.push_back({true, loggedValue(text), standIn, text.size() + only.size()});
        } else if (differencesOnly_) {
            found.outcomes.push_back({false, {}, {}, text.size()}); // counted, never shown
        } else {
            work_->addCharacters(xml::valueBytesWithin(b));
            if (!withinCap())
                return false;
            const QString text2 = b.text();
            found.outcomes.push_back({false, loggedValue(text), loggedValue(text2), text.size() + text2.size()});
        }
        return true;
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
    // The characters each set of compared nodes holds, per file.
    QHash<QString, qint64> compared1_;
    QHash<QString, qint64> compared2_;
    ui::WorkProgress* progress_ = nullptr;
    qint64 done_ = 0;
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
