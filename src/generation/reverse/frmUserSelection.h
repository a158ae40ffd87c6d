#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QPushButton;

namespace veldra {

// "Select Data to Import": the pick-one-value dialog of the reverse transform. OK (also Enter)
// sets UserSelection to the combo box's text; Cancel and the close box leave no choice.
class frmUserSelection : public QDialog {
    Q_OBJECT
public:
    explicit frmUserSelection(QWidget* parent = nullptr);

    QWidget* picHeader;
    QGroupBox* Frame1;
    QLabel* lblUserInfo;
    QComboBox* cboUserSelection;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void cmdOK_Click();
    void cmdCancel_Click();
    void Form_KeyPress(int KeyAscii);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Shows frmUserSelection modally with `info` as its label and one combo item per text of
// `choices` (duplicates and empty texts included); returns when it has closed, true when a
// value was picked (OK with a text), false for Cancel, the close box, Esc or an empty text.
bool ShowUserSelection(const QString& info, const QStringList& choices);

// Test seam: the dialog is handed to `answer` instead of waiting for the user, who would use
// its controls. An empty function restores the user's part.
void setUserSelectionAnswerForTesting(std::function<void(frmUserSelection&)> answer);

} // namespace veldra
