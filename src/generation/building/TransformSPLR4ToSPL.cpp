#include "generation/building/TransformSPLR4ToSPL.h"

#include "app/log/Log.h"
#include "app/log/LoggedProblems.h"
#include "generation/building/AddSPLFromFile.h"
#include "generation/building/DefinitionFiles.h"
#include "generation/building/CharacteristicOrder.h"
#include "generation/building/CopyCleaning.h"
#include "generation/building/DocumentCleaning.h"
#include "generation/building/FinishSPLDocument.h"
#include "generation/building/MediaFileCheck.h"
#include "generation/building/PathSteps.h"
#include "generation/building/PostProcessing.h"
#include "generation/building/SchemaErrorTrace.h"
#include "generation/building/TargetModifications.h"
#include "generation/building/TransformRecurse.h"
#include "platform/core/VbError.h"
#include "platform/ui/Ui.h"
#include "platform/xml/tree/Document.h"
#include "splbuilder/ValidateAgainstSchema.h"

#include <QDate>
#include <QLocale>
#include <QScopedValueRollback>
#include <QTime>

namespace veldra {

namespace {

const QString source = QStringLiteral("TransformSPLR4ToSPL");

QString completedLine()
{
    const QLocale locale = QLocale::system();
    return QStringLiteral("Operation Completed ") + locale.toString(QDate::currentDate(), QLocale::ShortFormat)
        + QLatin1Char(' ') + locale.toString(QTime::currentTime(), QLocale::LongFormat);
}

bool postProcessingRequested(const xml::Document& settings)
{
    const xml::Node option =
        settings.selectSingleNode(QStringLiteral("SPLR4/ProductLabel/WordDocument/PostprocessProductLabel"));
    return !option.isNull() && option.text() == QLatin1String("Yes");
}

// The ProductLabelFromExistingSPL element when it names an SPL file, else null.
xml::Node existingSPLToMerge(const xml::Document& settings, const SettingsSurvey& survey)
{
    if (!survey.mayNameExistingSPL)
        return {};
    const QList<xml::Node> merges = elementsNamed(settings, QStringLiteral("ProductLabelFromExistingSPL"));
    if (merges.isEmpty())
        return {};
    const xml::Node merge = merges.first();
    const xml::Node fileName = merge.selectSingleNode(QStringLiteral("SPLFileName"));
    return fileName.isNull() || fileName.text().isEmpty() ? xml::Node() : merge;
}

void transformSettings(const xml::Document& settings, const xml::Document& transformation,
                       const xml::Document& templateDoc, const xml::Document& target, const QString& outFile,
                       CopyCleaning& copyCleaning)
{
    for (const xml::Node& child : settings.childNodes()) {
        QString path = child.nodeName();
        TransformRecurse(child, transformation, templateDoc, target, path, outFile, copyCleaning);
    }
}

class BuildRun {
public:
    BuildRun(const xml::Document& settings, const QString& outFile) : settings_(settings), outFile_(outFile) {}

    void run()
    {
        const SettingsSurvey survey = surveySettings(settings_);
        const TransformPair pair = transformPairFor(survey);
        WriteLog(log_category::Information, QStringLiteral("Loading SPL Template"));
        const xml::Document templateDoc = loadDefinitionFile(pair.templateFile, source);
        WriteLog(log_category::Information, QStringLiteral("Loading Transformation"));
        const xml::Document transformation = loadDefinitionFile(pair.transformationFile, source);
        WriteLog(log_category::Information, QStringLiteral("Initializing Target File"));
        // The template's patterns are copied into the target many times over: sharing its
        // names spares a lookup for each name and text copied.
        xml::Document target;
        target.loadCopySharingNames(templateDoc);

        CopyCleaning copyCleaning(transformation, settings_);
        transformSettings(settings_, transformation, templateDoc, target, outFile_, copyCleaning);
        if (postProcessingRequested(settings_)) {
            WriteLog(logSeparator(), QString());
            RunPostProcessing(settings_, transformation, target);
        }
        CleanTargetDocument(settings_, transformation, target, copyCleaning.cleaned());
        ApplyTargetModifications(transformation, target);
        OrderCharacteristicsAsListed(settings_, target);
        const xml::Node merge = existingSPLToMerge(settings_, survey);
        if (!merge.isNull() && !AddSPLFromFile(merge, target, outFile_)) {
            WriteLog(log_category::Information, QStringLiteral("The build was stopped before the SPL File was saved. "
                                                               "The SPL File is not changed: ")
                                                    + outFile_);
            return;
        }
        FinishSPLDocument(target);
        missingPictures_ = WarnMissingMediaFiles(target, settings_, outFile_);

        WriteLog(logSeparator(), QString());
        WriteLog(log_category::Information, QStringLiteral("Saving SPL File: ") + outFile_);
        const QByteArray saved = target.save(outFile_, xml::Layout::Indented);
        saved_ = true;

        xml::SchemaCheck check;
        const QString schemaError = ValidateAgainstSchema(outFile_, target, saved, &check);
        invalid_ = check.validationFailed() || check.parseFailed();
        if (!schemaError.isEmpty())
            TraceSchemaError(schemaError, check.reason, transformation);
        WriteLog(log_category::Information, completedLine());
        WriteDisclaimer();
    }

    bool saved() const { return saved_; }
    bool invalid() const { return invalid_; }
    int missingPictures() const { return missingPictures_; }

private:
    const xml::Document& settings_;
    const QString outFile_;
    bool saved_ = false;
    bool invalid_ = false;
    int missingPictures_ = 0;
};

} // namespace

BuildOutcome TransformSPLR4ToSPL(const xml::Document& settingsDOM, const QString& outFile)
{
    // The build lets pending events through; one of them may ask for another build (the
    // build command or the quick preview again). That one is refused: it would clear the
    // log of the running build and could write the same file.
    static bool running = false;
    if (running) {
        ui::msgBox(QStringLiteral("An SPL build is running. Please wait until it has finished."), ui::Buttons::OK,
                   ui::Icon::Warning);
        return {};
    }
    const QScopedValueRollback<bool> busy(running, true);
    const LoggedProblemsSince problems;
    ShowLogWindow(true);
    BuildRun build(settingsDOM, outFile);
    BuildOutcome outcome;
    try {
        build.run();
    } catch (const std::exception& e) {
        outcome.failure = toVbError(e, source).text();
        WriteLog(log_category::Error, outcome.failure);
        if (build.saved())
            WriteLog(log_category::Information, completedLine());
    }
    outcome.written = build.saved();
    outcome.invalid = build.invalid();
    outcome.missingPictures = build.missingPictures();
    outcome.problems = problems.count();
    return outcome;
}

} // namespace veldra
