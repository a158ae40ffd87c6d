#include "codesystems/CodeSearches.h"

#include "app/log/Log.h"
#include "app/window/frmMain.h"
#include "codesystems/clsLOINC.h"
#include "codesystems/clsNCIThesaurus.h"
#include "codesystems/clsUNII.h"
#include "platform/ui/Ui.h"

#include <memory>

namespace veldra {

namespace {

using JobSlot = std::shared_ptr<CancellableJob> frmMain::*;

void writeHeader(const QString& category)
{
    WriteLog(QString(), QString());
    WriteLog(logSeparator(), QString());
    WriteLog(category, QStringLiteral("\tSearch Result"));
    WriteLog(logSeparator(), QString());
    WriteLog(QString(), QString());
}

// Holds the lookup in the main window while it runs, so that Esc in the log window
// reaches it, and gives the reference back however the search ends: to the lookup
// it held before (a LOINC coding run waiting in the picker keeps being reachable
// for Esc and for its own Cancel checks), or to nothing.
class RunningLookup {
public:
    RunningLookup(JobSlot slot, std::shared_ptr<CancellableJob> job) : slot_(slot), job_(std::move(job))
    {
        if (frmMain* main = mainForm()) {
            previous_ = main->*slot_;
            main->*slot_ = job_;
        }
    }
    ~RunningLookup()
    {
        frmMain* main = mainForm();
        if (main && main->*slot_ == job_)
            main->*slot_ = std::move(previous_);
    }
    RunningLookup(const RunningLookup&) = delete;
    RunningLookup& operator=(const RunningLookup&) = delete;

private:
    JobSlot slot_;
    std::shared_ptr<CancellableJob> job_;
    std::shared_ptr<CancellableJob> previous_;
};

// A database that cannot be opened is reported as one line of the log (or, with
// logging switched off, in a message box) instead of a message box per search.
void reportUnavailableDatabase(const VbError& error)
{
    if (NoLogging)
        ui::showError(error);
    else
        WriteLog(log_category::Error, error.text());
}

// The steps every search shares; `lookUp` runs the lookup and logs a hit.
template <class Lookup, class LookUp>
void runSearch(const QString& term, const QString& headerCategory, JobSlot slot, LookUp lookUp)
{
    if (term.isEmpty())
        return;
    ShowLogWindow(false);
    writeHeader(headerCategory);
    auto lookup = std::make_shared<Lookup>();
    RunningLookup running(slot, lookup);
    try {
        lookup->Initialize();
    } catch (const std::exception& e) {
        reportUnavailableDatabase(toVbError(e, headerCategory));
        return;
    }
    try {
        lookUp(*lookup);
    } catch (const std::exception& e) {
        lookup->Destroy();
        ui::showError(toVbError(e, headerCategory));
        return;
    }
    lookup->Destroy();
}

void logHit(const QString& message)
{
    WriteLog(log_category::Information, message);
}

} // namespace

void SearchLOINCCodes(const QString& term)
{
    runSearch<clsLOINC>(term, QStringLiteral("LOINC"), &frmMain::TargetLOINC, [&](clsLOINC& lookup) {
        QString code, name, system;
        lookup.GetCodeAndName(term, code, name, system, false);
        if (!code.isEmpty() || !name.isEmpty())
            logHit(QString(5, QLatin1Char(' ')) + QStringLiteral("Code>>> ") + code + QStringLiteral(" <<<Text>>> ") + name
                   + QStringLiteral(" <<<System>>> ") + system);
    });
}

void SearchNCIThesaurusCodes(const QString& term)
{
    runSearch<clsNCIThesaurus>(term, QStringLiteral("NCI"), &frmMain::TargetNCI, [&](clsNCIThesaurus& lookup) {
        QString code, name;
        lookup.GetCodeAndName(term, code, name);
        if (!code.isEmpty() || !name.isEmpty())
            logHit(QStringLiteral("NCI - ") + term + QStringLiteral(" <<<Code>>> ") + code
                   + QStringLiteral(" <<<Preferred Name>>>> ") + name);
    });
}

void SearchUNIICodes(const QString& term)
{
    runSearch<clsUNII>(term, QStringLiteral("UNII"), &frmMain::TargetUNII, [&](clsUNII& lookup) {
        QString code, name;
        lookup.GetCodeAndName(term, code, name);
        if (!code.isEmpty() || !name.isEmpty())
            logHit(QStringLiteral("UNII - ") + term + QStringLiteral(" <<<Code>>> ") + code + QStringLiteral(" <<<Name>>> ")
                   + name);
    });
}

} // namespace veldra
