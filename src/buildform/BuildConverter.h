#pragma once

#include "app/CancellableJob.h"
#include "splbuilder/StructuredDataInput.h"

#include <QString>
#include <functional>
#include <memory>

namespace veldra::buildform {

// What the build form hands the Word converter for one build. Texts are copies of the form's
// boxes (what the converter changes here does not reach the form); check states are
// 0 unchecked, 1 checked, 2 grayed. The product, its lists, its conditions of use and its
// dosage characteristics are held as the section builder's finishing pass takes them, the
// lists' rows as they stood at the start of the run.
struct BuildRequest {
    int TestBuild = 0;
    QString SetID;
    QString VersionNumber;
    QString Title;
    QString TitleEffectiveTime;
    QString TitleAvailabiltyTime;
    QString CompanyName;
    QString CompanyAddress;
    QString InitialApprovalCompanyName;
    QString InitialApprovalCompanyAddress;
    QString InitialApprovaYear;
    QString AdverseEffectCompanyName;
    QString LegalAuthenticatorFirstName;
    QString LegalAuthenticatorLastName;
    QString AdverseEffectPhoneNumber;
    QString AdverseEffectWebAddress;
    QString SourceFileName;
    QString TargetFileName;
    QString SectionStyle;
    QString SubSectionStyle;
    QString ExcerptHeaderStyle;
    StructuredDataInput StructuredData;
};

// The Word converter of one build run. The run sets the options, then calls ProcessDocument
// once; while it runs, the main window's Esc sets Cancel, which the converter honours where it
// lets events run and leaves set when the user stopped it.
class BuildConverter : public CancellableJob {
public:
    bool Cancel = false;
    QString CheckChars;
    int CheckCrossReferences = 0;
    int CheckSubscriptSuperscript = 0;
    int IgnoreTableCellBorders = 0;
    int SPLOutputBoxedWarning = 0;

    void requestCancel() override { Cancel = true; }

    // Converts the request's Word document; true when it wrote request.TargetFileName.
    virtual bool ProcessDocument(BuildRequest& request) = 0;
    // Whether ProcessDocument can write a file at all. A converter that cannot must not have
    // the output folder emptied for it: nothing would replace what is deleted.
    virtual bool writesOutput() const { return true; }
};

// Makes the converter of a build run. The Word import fills it; while it is empty a build
// run produces no SPL file and says so.
using BuildConverterFactory = std::function<std::shared_ptr<BuildConverter>()>;
BuildConverterFactory& buildConverterFactory();

} // namespace veldra::buildform
