#pragma once

#include "codesystems/CodeLookup.h"

namespace veldra {

// Lookup of a substance's UNII code and name in the UNII table.
class clsUNII : public CodeLookup {
public:
    // Closes the connection; does nothing without one.
    void Destroy();
    // Opens the code-system database; a missing or unreadable file throws.
    void Initialize();
    // Finds SearchText among the names and codes. A single hit fills the outputs;
    // no hit or several hits leave them empty and go to the log.
    void GetCodeAndName(QString SearchText, QString& UNIICode, QString& UNIIName);
};

} // namespace veldra
