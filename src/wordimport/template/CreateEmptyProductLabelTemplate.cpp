#include "wordimport/template/CreateEmptyProductLabelTemplate.h"

#include "app/shared/SharedProcedures.h"
#include "platform/core/AppPaths.h"
#include "platform/core/VbError.h"
#include "platform/ui/Ui.h"
#include "splbuilder/LabelTemplates.h"

#include <QStandardPaths>

#include <optional>

namespace veldra {

namespace {

const QString notCreated = QStringLiteral("The Product Label Template was not created.");

std::optional<QString> askWhereToSave()
{
    ui::FileRequest request;
    request.title = QStringLiteral("Create Word Label Template");
    request.filter = QStringLiteral("Word Documents (*.docx)");
    request.fileName = QStringLiteral("ProductLabelTemplate.docx");
    request.initialFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    request.overwritePrompt = true;
    request.defaultSuffix = QStringLiteral("docx");
    return ui::backend().saveFile(request);
}

} // namespace

void CreateEmptyProductLabelTemplate(const label_template::SamplePick& pick)
{
    QStringList titles;
    try {
        titles = label_template::sectionTitles(labelTemplatePath(QStringLiteral("TEMPLATE_SPL.xml")));
    } catch (const VbError& error) {
        ui::showError(error, notCreated);
        return;
    }
    const std::optional<QString> target = askWhereToSave();
    if (!target)
        return;
    const QStringList samples = label_template::sampleSentences(app_paths::inProgram(QStringLiteral("DummyText.txt")));
    QString reason;
    if (!label_template::templateDocument(titles, samples, pick).save(*target, &reason)) {
        ui::showError(VbError(err::FileAccess, QStringLiteral("CreateEmptyProductLabelTemplate"), reason), notCreated);
        return;
    }
    ui::msgBox(QStringLiteral("Product Label Template generation completed."), ui::Buttons::OK, ui::Icon::Information);
    ShellOpenFile(*target);
}

} // namespace veldra
