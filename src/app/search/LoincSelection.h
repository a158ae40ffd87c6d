#pragma once

namespace veldra {

// The LOINC lookup held in frmMain::TargetLOINC offers the code and name the user
// picks in the LOINC picker; the picker's launcher empties them before it shows it.
class LoincSelection {
public:
    virtual ~LoincSelection() = default;
    virtual void clearSelectedLOINC() = 0;
};

} // namespace veldra
