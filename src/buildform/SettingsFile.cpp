#include "buildform/SettingsFile.h"

#include "app/log/Log.h"
#include "buildform/SettingsSnapshot.h"
#include "buildform/frmBuildSPL.h"
#include "platform/core/AppPaths.h"
#include "platform/core/VbError.h"
#include "platform/ui/Ui.h"

#include <QDateTime>
#include <QFileInfo>

namespace veldra::buildform {

namespace {

const QString loadSource = QStringLiteral("LoadSettingsFile");

// The state the snapshot at `path` restores; a missing file restores an empty form.
// Throws VbError for a file that is not a readable, well-formed snapshot.
FormState snapshotState(const QString& path)
{
    xml::Document document;
    if (!QFileInfo::exists(path))
        return readSnapshot(document);
    if (!document.load(path, xml::OutsideFile))
        throw VbError(err::XmlParse, loadSource,
                      QStringLiteral("%1 is not a valid settings file: %2").arg(path, document.parseError().reason));
    if (document.documentElement().isNull() || document.documentElement().nodeName() != QLatin1String("File"))
        throw VbError(err::XmlParse, loadSource, QStringLiteral("%1 is not a valid settings file").arg(path));
    return readSnapshot(document);
}

} // namespace

QString userLastSettingsFile()
{
    return app_paths::inUserData(QStringLiteral("LastSettings.xml"));
}

void SaveSettingsFile(frmBuildSPL& form, const QString& path)
{
    try {
        const QString templateFile = app_paths::inProgram(QStringLiteral("LabelDefinitions/WORD_2_SPL_SETUP_TEMPLATE.xml"));
        xml::Document snapshotTemplate;
        if (!snapshotTemplate.load(templateFile))
            throw VbError(err::FileNotFound, QStringLiteral("SaveSettingsFile"),
                          QStringLiteral("Cannot read the template %1: %2")
                              .arg(templateFile, snapshotTemplate.parseError().reason));
        writeSnapshot(snapshotTemplate, form.state(), path, QDateTime::currentDateTime()).save(path);
    } catch (const std::exception& e) {
        ui::showError(toVbError(e, QStringLiteral("SaveSettingsFile")));
    }
}

void SaveSettingsFile(const QString& path)
{
    SaveSettingsFile(*buildForm(), path);
}

void LoadSettingsFile(frmBuildSPL& form, const QString& path)
{
    try {
        form.applyState(snapshotState(path));
    } catch (const std::exception& e) {
        ui::showError(toVbError(e, loadSource));
    }
}

void LoadSettingsFile(const QString& path)
{
    LoadSettingsFile(*buildForm(), path);
}

void RestoreLastSettings(frmBuildSPL& form, const QString& programFolderFile)
{
    const QString userFile = userLastSettingsFile();
    const QString path = QFileInfo::exists(userFile) ? userFile : programFolderFile;
    try {
        form.applyState(snapshotState(path));
    } catch (const std::exception& e) {
        WriteLog(log_category::Error, QStringLiteral("The last settings were not restored: %1").arg(toVbError(e, loadSource).text()));
    }
}

} // namespace veldra::buildform
