#include "generation/crosscheck/frmSPLCrossCheck.h"

#include "editor/window/SharedDialog.h"
#include "generation/crosscheck/CrossCheck.h"
#include "generation/FileDialogChoice.h"
#include "generation/FormHeader.h"
#include "generation/ProgramWindows.h"
#include "platform/core/Skip.h"
#include "platform/ui/CommonDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <utility>

namespace veldra {

namespace {

template <class T>
T* named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

frmSPLCrossCheck::frmSPLCrossCheck(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmSPLCrossCheck"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Compare SPL Files"));

    const FormHeader header = makeFormHeader(this, QStringLiteral("Compare SPL Files"));
    picHeader = header.picHeader;
    lblInfo = header.lblInfo;
    picLogo = header.picLogo;

    Frame1 = named(buildFileFrame(QStringLiteral("Compare this SPL File"), QStringLiteral("SPL File 1"),
                                  QStringLiteral("Short Description for SPL File 1"), Label2, txtFile1,
                                  cmdBrowseFile1, Label1, txtDisplayName1),
                   "Frame1");
    Frame2 = named(buildFileFrame(QStringLiteral("With this SPL File"), QStringLiteral("SPL File 2"),
                                  QStringLiteral("Short Description for SPL File 2"), Label3, txtFile2,
                                  cmdBrowseFile2, Label4, txtDisplayName2),
                   "Frame2");
    const std::pair<QWidget*, const char*> frameControls[] = {
        {Label2, "Label2"}, {txtFile1, "txtFile1"}, {cmdBrowseFile1, "cmdBrowseFile1"}, {Label1, "Label1"},
        {txtDisplayName1, "txtDisplayName1"}, {Label3, "Label3"}, {txtFile2, "txtFile2"},
        {cmdBrowseFile2, "cmdBrowseFile2"}, {Label4, "Label4"}, {txtDisplayName2, "txtDisplayName2"}};
    for (const auto& [control, name] : frameControls)
        named(control, name);

    cmdSwapFiles = named(new QPushButton(QStringLiteral("Swap SPL Files"), this), "cmdSwapFiles");
    Frame3 = named(new QGroupBox(QStringLiteral("Options"), this), "Frame3");
    chkShowDifferencesOnly = named(new QCheckBox(QStringLiteral("Show differences only"), Frame3), "chkShowDifferencesOnly");
    auto* options = new QHBoxLayout(Frame3);
    options->addWidget(chkShowDifferencesOnly);
    cmdCompare = named(new QPushButton(QStringLiteral("Compare"), this), "cmdCompare");
    cmdClose = named(new QPushButton(QStringLiteral("Close"), this), "cmdClose");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdSwapFiles);
    buttons->addStretch(1);
    buttons->addWidget(cmdCompare);
    buttons->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(picHeader);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 0, 8, 0);
    body->addWidget(Frame1);
    body->addWidget(Frame2);
    body->addWidget(Frame3);
    body->addLayout(buttons);
    layout->addLayout(body);
    layout->addStretch(1);

    connect(cmdBrowseFile1, &QPushButton::clicked, this, [this] { skip([this] { cmdBrowseFile1_Click(); }); });
    connect(cmdBrowseFile2, &QPushButton::clicked, this, [this] { skip([this] { cmdBrowseFile2_Click(); }); });
    connect(cmdSwapFiles, &QPushButton::clicked, this, [this] { skip([this] { cmdSwapFiles_Click(); }); });
    connect(cmdCompare, &QPushButton::clicked, this, [this] { skip([this] { cmdCompare_Click(); }); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { skip([this] { cmdClose_Click(); }); });
    resize(640, 420);
}

QGroupBox* frmSPLCrossCheck::buildFileFrame(const QString& caption, const QString& fileLabel,
                                            const QString& descriptionLabel, QLabel*& fileCaption, QLineEdit*& file,
                                            QPushButton*& browse, QLabel*& descriptionCaption, QLineEdit*& description)
{
    auto* frame = new QGroupBox(caption, this);
    fileCaption = new QLabel(fileLabel, frame);
    file = new QLineEdit(frame);
    browse = new QPushButton(frame);
    browse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    descriptionCaption = new QLabel(descriptionLabel, frame);
    description = new QLineEdit(frame);

    auto* grid = new QGridLayout(frame);
    grid->addWidget(fileCaption, 0, 0);
    grid->addWidget(file, 0, 1);
    grid->addWidget(browse, 0, 2);
    grid->addWidget(descriptionCaption, 1, 0);
    grid->addWidget(description, 1, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    return frame;
}

// The chosen path shows its end (the file name) even when it is longer than the box.
void frmSPLCrossCheck::browse(const QString& title, QLineEdit* file, QLineEdit* description)
{
    ui::CommonDialog& dialog = sharedDialog();
    dialog.prepareFile(title, QStringLiteral("SPL XML Files | *.xml"), file->text());
    if (!chooseFileToOpen(dialog))
        return;
    const QString path = dialog.fileName;
    file->setText(path);
    file->setCursorPosition(int(path.size()));
    skip([&] { description->setText(GetSPLDisplayName(path)); });
}

void frmSPLCrossCheck::cmdBrowseFile1_Click()
{
    browse(QStringLiteral("Select SPL File 1"), txtFile1, txtDisplayName1);
}

void frmSPLCrossCheck::cmdBrowseFile2_Click()
{
    browse(QStringLiteral("Select SPL File 2"), txtFile2, txtDisplayName2);
}

void frmSPLCrossCheck::cmdSwapFiles_Click()
{
    const QString file = txtFile1->text();
    txtFile1->setText(txtFile2->text());
    txtFile2->setText(file);
    const QString description = txtDisplayName1->text();
    txtDisplayName1->setText(txtDisplayName2->text());
    txtDisplayName2->setText(description);
}

void frmSPLCrossCheck::cmdCompare_Click()
{
    CompareSPLFiles(txtFile1->text(), txtDisplayName1->text(), txtFile2->text(), txtDisplayName2->text(),
                    chkShowDifferencesOnly->isChecked());
}

void frmSPLCrossCheck::cmdClose_Click()
{
    hide();
    closeProgramWindow(this);
}

} // namespace veldra
