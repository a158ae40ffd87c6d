#include "generation/CheckingTestSupport.h"

#include "app/log/Log.h"
#include "app/log/LogFormat.h"
#include "app/log/frmLog.h"
#include "app/window/frmMain.h"
#include "editor/tree/TreeView.h"
#include "platform/xml/resources/ResourceResolver.h"
#include "support/EditorTree.h"
#include "support/Fixtures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTextEdit>

namespace veldra::test {

void prepareBrowserForTests()
{
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
}

CheckingProgramFolder::CheckingProgramFolder()
{
    const QDir source(QStringLiteral(VELDRA_SOURCE_DIR "/tests/data/checking/SPLR4Definitions"));
    for (const QString& name : source.entryList(QDir::Files)) {
        const QString target = copy_.file(QStringLiteral("SPLR4Definitions/") + name);
        QFile::remove(target);
        QFile::copy(source.filePath(name), target);
    }
}

void CheckingProgramFolder::useShippedDefinitions() const
{
    const QDir source(sourceDataDir() + QStringLiteral("/SPLR4Definitions"));
    for (const QString& name : source.entryList(QDir::Files)) {
        const QString target = copy_.file(QStringLiteral("SPLR4Definitions/") + name);
        QFile::remove(target);
        QFile::copy(source.filePath(name), target);
    }
}

void CheckingProgramFolder::write(const QString& relative, const QString& text) const
{
    const QString path = copy_.file(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeTextFile(path, text);
}

SettingsStoreRedirect::SettingsStoreRedirect()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, store_.path());
}

SettingsStoreRedirect::~SettingsStoreRedirect()
{
    const QString standard = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, standard);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, standard);
}

// The SPL schema and stylesheet resolve to the shared fixtures (as the test program sets them
// up), whatever an earlier test left; so no test of ours ever downloads them.
static void useFixtureResources()
{
    xml::setLocalRootForTesting(xml::ResourceKind::Schema, fixture(QStringLiteral("spl-schema")));
    xml::setLocalRootForTesting(xml::ResourceKind::Stylesheet, fixture(QStringLiteral("spl-stylesheet-6.2")));
}

CheckingTest::CheckingTest() : main(std::make_unique<frmMain>())
{
    useFixtureResources();
    closeLog();
    NoLogging = false;
}

CheckingTest::~CheckingTest()
{
    closeLog();
    NoLogging = false;
    main.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString CheckingTest::writeFile(const QString& name, const QString& text) const
{
    const QString path = dir.file(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeTextFile(path, text);
    return path;
}

frmXMLEditor* CheckingTest::openEditor(const QString& xmlText, const QString& name, const QString& mode)
{
    auto* editor = new frmXMLEditor;
    editor->Mode = mode;
    const QString path = writeFile(name, xmlText);
    main->showChildWindow(editor);
    editor->XMLOnTreeView(editor->TreeView, path, QStringLiteral("Edit SPLR4"), false);
    editor->setWindowTitle(QStringLiteral("Edit SPLR4 [") + name + QLatin1Char(']'));
    main->SourceXMLEditor = editor;
    return editor;
}

QTreeWidgetItem* CheckingTest::node(const frmXMLEditor* editor, const QString& caption)
{
    return nodeByCaption(editor, caption);
}

QTreeWidgetItem* CheckingTest::select(frmXMLEditor* editor, const QString& caption)
{
    return selectNode(editor, node(editor, caption));
}

QStringList CheckingTest::captions(const frmXMLEditor* editor)
{
    return allCaptions(editor);
}

QString CheckingTest::logText()
{
    return logWindow() ? logWindow()->txtLog->toPlainText() : QString();
}

bool CheckingTest::logHas(const QString& category, const QString& message)
{
    QString line = log_format::line(category, message);
    if (line.endsWith(QLatin1Char('\n')))
        line.chop(1);
    return logText().contains(line);
}

void CheckingTest::closeLog()
{
    if (frmLog* log = logWindow())
        log->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList messageTexts(const ScriptedUi& ui)
{
    QStringList texts;
    for (const ui::MessageRequest& request : ui.messages)
        texts << request.text;
    return texts;
}

} // namespace veldra::test
