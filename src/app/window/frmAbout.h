#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace veldra {

// The About box: the program's title, version and maker, and a way to its web site.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    QGroupBox* frameAbout = nullptr;
    QLabel* lblInfo = nullptr;
    QLineEdit* txtCompanyInfo = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdVisitWebSite = nullptr;

    // Fills the title and the texts; runs each time the box is shown.
    void Form_Activate();
    void cmdOK_Click();
    void cmdVisitWebSite_Click();

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace veldra
