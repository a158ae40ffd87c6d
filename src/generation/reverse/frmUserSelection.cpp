#include "generation/reverse/frmUserSelection.h"

#include "app/window/frmMain.h"
#include "generation/FormHeader.h"
#include "generation/reverse/ReverseTransform.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

namespace veldra {

namespace {

std::function<void(frmUserSelection&)>& testAnswer()
{
    static std::function<void(frmUserSelection&)> answer;
    return answer;
}

} // namespace

frmUserSelection::frmUserSelection(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmUserSelection"));
    setWindowTitle(QStringLiteral("Select Data to Import"));
    setModal(true);

    picHeader = makeFormHeader(this, QStringLiteral("Select Data to Import")).picHeader;
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    lblUserInfo = new QLabel(QStringLiteral("Info"), Frame1);
    lblUserInfo->setObjectName(QStringLiteral("lblUserInfo"));
    lblUserInfo->setFont(QFont(QStringLiteral("Arial"), 9));
    lblUserInfo->setWordWrap(true);
    cboUserSelection = new QComboBox(Frame1);
    cboUserSelection->setObjectName(QStringLiteral("cboUserSelection"));
    cboUserSelection->setEditable(true);
    cboUserSelection->setInsertPolicy(QComboBox::NoInsert);
    auto* frameLayout = new QVBoxLayout(Frame1);
    frameLayout->addWidget(lblUserInfo);
    frameLayout->addWidget(cboUserSelection);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    for (QPushButton* button : {cmdOK, cmdCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(picHeader);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 0, 8, 0);
    body->addWidget(Frame1);
    body->addLayout(buttons);
    layout->addLayout(body);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    resize(480, 220);
}

void frmUserSelection::cmdOK_Click()
{
    UserSelection = cboUserSelection->currentText();
    hide();
    done(QDialog::Accepted);
}

void frmUserSelection::cmdCancel_Click()
{
    UserSelection.clear();
    hide();
    done(QDialog::Rejected);
}

void frmUserSelection::Form_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13)
        cmdOK_Click();
}

// Enter anywhere in the dialog (the combo box's text included) takes the choice; Esc closes it
// like the close box.
void frmUserSelection::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Form_KeyPress(13);
        return;
    }
    QDialog::keyPressEvent(event);
}

bool ShowUserSelection(const QString& info, const QStringList& choices)
{
    auto form = std::make_unique<frmUserSelection>(mainForm());
    form->cboUserSelection->clear();
    form->lblUserInfo->setText(info);
    form->cboUserSelection->addItems(choices);
    if (testAnswer())
        testAnswer()(*form);
    else
        form->exec();
    return form->result() == QDialog::Accepted && !UserSelection.isEmpty();
}

void setUserSelectionAnswerForTesting(std::function<void(frmUserSelection&)> answer)
{
    testAnswer() = std::move(answer);
}

} // namespace veldra
