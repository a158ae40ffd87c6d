#pragma once

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace veldra {

// "Compare SPL Files": the user names two SPL files and a short description of each, and
// Compare writes the cross-check to the log. Each use of the command opens a new window;
// it lives until Close or its close box.
class frmSPLCrossCheck : public QWidget {
    Q_OBJECT
public:
    explicit frmSPLCrossCheck(QWidget* parent = nullptr);

    QWidget* picHeader;
    QLabel* picLogo;
    QLabel* lblInfo;
    QGroupBox* Frame1;
    QLabel* Label2;
    QLineEdit* txtFile1;
    QPushButton* cmdBrowseFile1;
    QLabel* Label1;
    QLineEdit* txtDisplayName1;
    QGroupBox* Frame2;
    QLabel* Label3;
    QLineEdit* txtFile2;
    QPushButton* cmdBrowseFile2;
    QLabel* Label4;
    QLineEdit* txtDisplayName2;
    QPushButton* cmdSwapFiles;
    QGroupBox* Frame3;
    QCheckBox* chkShowDifferencesOnly;
    QPushButton* cmdCompare;
    QPushButton* cmdClose;

    void cmdBrowseFile1_Click();
    void cmdBrowseFile2_Click();
    void cmdSwapFiles_Click();
    void cmdCompare_Click();
    void cmdClose_Click();

private:
    QGroupBox* buildFileFrame(const QString& caption, const QString& fileLabel, const QString& descriptionLabel,
                              QLabel*& fileCaption, QLineEdit*& file, QPushButton*& browse,
                              QLabel*& descriptionCaption, QLineEdit*& description);
    void browse(const QString& title, QLineEdit* file, QLineEdit* description);
};

} // namespace veldra
