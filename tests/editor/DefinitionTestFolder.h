#pragma once

#include "support/TempDir.h"

#include <QString>
#include <memory>

namespace veldra {
class frmXMLEditor;
}

namespace veldra::test {

// A program folder holding the small test definition set of tests/data/SPLR4Definitions
// (DefinitionSPLR4.xml, TransformSPLR4.xml), for one test.
class DefinitionTestFolder {
public:
    DefinitionTestFolder();
    ~DefinitionTestFolder();
    QString file(const QString& relative) const;
    // Writes a file into the temporary folder and gives its path.
    QString write(const QString& name, const QString& text) const;

private:
    TempDir dir_;
};

// An editor window in mode "SPLR4" holding the settings document `xml` as opened from a
// file (definition attributes refreshed), with its tree built. Deleted at the end of the test.
std::unique_ptr<frmXMLEditor> openSettings(const DefinitionTestFolder& folder, const QString& xml);

// An editor window with a new document made from the test definition.
std::unique_ptr<frmXMLEditor> newSettings();

} // namespace veldra::test
