#pragma once

#include "CodeSystemsTestSupport.h"

namespace veldra::test {

// A small database whose rows exercise name order, NULL columns, equal names and
// the characters that mean something to SQL.
inline codedb::CodeLists lookupTestLists()
{
    codedb::CodeLists lists;
    lists.loinc = {
        row({"34067-9", "INDICATIONS & USAGE SECTION", "^Patient"}),
        row({"34068-7", "DOSAGE & ADMINISTRATION SECTION", "^Patient"}),
        row({"34071-1", "WARNINGS SECTION", "^Patient"}),
        row({"43685-7", "WARNINGS AND PRECAUTIONS SECTION", "^Patient"}),
        row({"42229-5", "SPL UNCLASSIFIED SECTION", "^Patient"}),
        row({"99999-1", nullptr, nullptr}),
    };
    lists.nci = {
        row({"C42998", "TABLET", "Dosage Form", "TABLET"}),
        row({"C42931", "TABLET, FILM COATED", "Dosage Form", "TABLET, FILM COATED"}),
        row({"C48348", "ROUND", "Shape", nullptr}),
        row({"C25158", "CAPSULE", "Dosage Form", "CAPSULE"}),
        row({"C48336", "CAPSULE", "Shape", "CAPSULE"}),
        row({nullptr, "NO CODE TERM", "Other", "NO CODE PREFERRED"}),
    };
    lists.unii = {
        row({"059QF0KO0R", "WATER"}),
        row({"AAA0000001", "O'BRIEN'S EXTRACT"}),
        row({"AAA0000002", "50% ALCOHOL SOLUTION"}),
        row({"AAA0000003", "5000 ALCOHOL SOLUTION"}),
        row({"AAA0000004", "A_B COMPOUND"}),
        row({"AAA0000005", "AXB COMPOUND"}),
        row({"AAA0000006", "BACK\\SLASH SALT"}),
    };
    return lists;
}

} // namespace veldra::test
