#include "dialogs/FieldRowDialog.h"

#include "app/search/CodeSearch.h"
#include "app/shared/SharedProcedures.h"
#include "app/window/Twips.h"
#include "dialogs/DefinitionAttribute.h"
#include "dialogs/FieldRowLayout.h"
#include "platform/core/Skip.h"
#include "platform/ui/Ui.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QToolButton>

#include <algorithm>

// The help buttons at the right end of a row: a new id, a file, a folder, a code search.
namespace veldra {

namespace layout = field_layout;

namespace {

// Each file button keeps the file filter of its own row.
const char* const FileFilter = "ConstraintFileType";

void place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(twips::toPixels(left, top, width, height));
}

} // namespace

void FieldRowDialog::addRowButtons(FieldRow& r, const xml::Node& element)
{
    const QString dataType = definitionAttribute(element, "ConstraintDataType");
    if (element.hasAttribute(QStringLiteral("ConstraintDataType"))) {
        if (dataType == QLatin1String("GUID"))
            addRowButton(r, ButtonKind::CreateGUID, GUIDButtonCount);
        if (element.hasAttribute(QStringLiteral("ConstraintFileType"))) {
            const QString filter = definitionAttribute(element, "ConstraintFileType");
            addRowButton(r, ButtonKind::BrowseFile, FileButtonCount,
                         filter.isEmpty() ? QStringLiteral("All Files | *.*") : filter);
        }
    }
    if (dataType == QLatin1String("Folder"))
        addRowButton(r, ButtonKind::BrowseFolder, FolderButtonCount);

    const QString codeSystem = definitionAttribute(element, "ConstraintCodeSystem");
    if (codeSystem == QLatin1String("UNII"))
        addRowButton(r, ButtonKind::SearchUNIICode, UNIIButtonCount);
    else if (codeSystem == QLatin1String("NCI"))
        addRowButton(r, ButtonKind::SearchNCICode, NCIButtonCount);
    else if (codeSystem == QLatin1String("LOINC"))
        addRowButton(r, ButtonKind::SearchLOINCCode, LOINCButtonCount);
}

void FieldRowDialog::addRowButton(FieldRow& r, ButtonKind kind, int& count, const QString& fileFilter)
{
    count += 1;
    // At most ten buttons of a kind per window.
    if (count < 1 || count > 10)
        return;
    struct Kind {
        const char* prefix;
        const char* caption;
    };
    static const Kind kinds[] = {{"cmdCreateGUID", "..."},    {"cmdBrowseFile", "..."},     {"cmdBrowseFolder", "..."},
                                 {"cmdSearchUNIICode", "?"}, {"cmdSearchNCICode", "?"}, {"cmdSearchLOINCCode", "?"}};
    const Kind& k = kinds[static_cast<int>(kind)];

    auto* button = new QToolButton(FrameData);
    button->setObjectName(QLatin1String(k.prefix) + QString::number(count));
    button->setText(QLatin1String(k.caption));
    button->setFocusPolicy(Qt::ClickFocus);
    if (kind == ButtonKind::BrowseFile)
        button->setProperty(FileFilter, fileFilter);
    connect(button, &QToolButton::clicked, this, [this, button, kind] {
        skip([&] {
            switch (kind) {
            case ButtonKind::CreateGUID: CreateGUID(button); break;
            case ButtonKind::BrowseFile: BrowseFile(button); break;
            case ButtonKind::BrowseFolder: BrowseFolder(button); break;
            case ButtonKind::SearchUNIICode: SearchFDACode(button, QStringLiteral("UNII Codes")); break;
            case ButtonKind::SearchNCICode: SearchFDACode(button, QStringLiteral("NCI Thesaurus")); break;
            case ButtonKind::SearchLOINCCode: SearchFDACode(button, QStringLiteral("LOINC")); break;
            }
        });
    });

    r.fieldWidth = layout::fieldWidthWithButton;
    place(r.field, layout::fieldLeft, r.fieldTop, r.fieldWidth, r.fieldHeight);
    place(button, layout::buttonLeft, r.fieldTop, layout::buttonSize, layout::buttonSize);
    button->show();
}

QWidget* FieldRowDialog::GetControlFromCommandPosition(QAbstractButton* SourceCommand) const
{
    if (!SourceCommand)
        return nullptr;
    for (const FieldRow& r : rows_)
        if (r.field->y() == SourceCommand->y())
            return r.field;
    return nullptr;
}

void FieldRowDialog::CreateGUID(QAbstractButton* SourceCommand)
{
    if (QWidget* field = GetControlFromCommandPosition(SourceCommand))
        setFieldText(field, NewGUID());
}

void FieldRowDialog::BrowseFile(QAbstractButton* SourceCommand)
{
    QWidget* field = GetControlFromCommandPosition(SourceCommand);
    Dialog.dialogTitle = QStringLiteral("Open File for SPL");
    Dialog.cancelError = true;
    Dialog.filter = SourceCommand->property(FileFilter).toString();
    if (field)
        Dialog.fileName = fieldText(field);
    Dialog.showOpen();  // Cancel throws: the field stays as it is
    if (field)
        setFieldText(field, Dialog.fileName);
}

void FieldRowDialog::BrowseFolder(QAbstractButton* SourceCommand)
{
    QWidget* field = GetControlFromCommandPosition(SourceCommand);
    const QString current = field ? fieldText(field).trimmed() : QString();
    const QString start = !current.isEmpty() && QFileInfo(current).isDir() ? current : QDir::homePath();
    const std::optional<QString> chosen = ui::backend().chooseFolder(QStringLiteral("Select Folder"), start);
    if (field && chosen)
        setFieldText(field, *chosen);
}

void FieldRowDialog::SearchFDACode(QAbstractButton* SourceCommand, const QString& CodeSystem)
{
    QWidget* field = GetControlFromCommandPosition(SourceCommand);
    searchCodeSystem(field ? fieldText(field) : QString(), CodeSystem, true);
}

} // namespace veldra
