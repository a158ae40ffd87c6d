#pragma once

#include "buildform/BuildConverter.h"
#include "buildform/FormState.h"

#include <QStringList>

// The build run of the build form: check the required entries, ask, prepare the output
// folder, hand everything to the Word converter and say how it went.
namespace veldra::buildform {

// The text boxes a build needs, in the order they are checked.
const QStringList& requiredTextBoxes();

// True when none of the required boxes is empty (blanks count as an entry).
bool InputCheck(const FormState& state);

// The converter's arguments from the form's entries.
BuildRequest buildRequest(const FormState& state, const QString& targetFileName);

// Sets the converter's options from the form's entries; Cancel starts false.
void setConverterOptions(BuildConverter& converter, const FormState& state);

enum class BuildOutcome { NotStarted, NoOutput, Produced, Cancelled, Failed };

// The whole run with the form's entries. Every question and message goes through ui::; the
// main window holds the converter as its running Word job while it converts. Nothing in the
// target folder is deleted unless a converter will write there, and the folder is untouched
// when the source name gives no target name.
BuildOutcome runBuild(const FormState& state);

} // namespace veldra::buildform
