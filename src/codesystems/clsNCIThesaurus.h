#pragma once

#include "codesystems/CodeLookup.h"

namespace veldra {

// Lookup of an NCI Thesaurus code and its preferred name in the NCIThesaurus table
// (Field1 code, Field2 the name searched, Field3 its subset, Field4 the preferred name).
class clsNCIThesaurus : public CodeLookup {
public:
    // Closes the connection; does nothing without one.
    void Destroy();
    // Opens the code-system database; a missing or unreadable file throws.
    void Initialize();
    // Finds SearchText among the names and codes. A single hit fills the code and
    // the preferred name (the searched name when the row has none); no hit or
    // several hits leave the outputs empty and go to the log.
    void GetCodeAndName(QString SearchText, QString& NCICode, QString& NCIName);
};

} // namespace veldra
