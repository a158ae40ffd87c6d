#pragma once

#include "platform/xml/tree/Node.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace veldra::xml {
class Document;
}

// The wizard definitions file SPLR4Definitions/Wizards.xml. Each Wizard element (at any depth)
// has a Name, a UI whose children are the fields of its dialog (element name = field name,
// text = default value, attributes = definition attributes as on settings elements), and
// Instructions holding, per field, the Target paths its value is written to.
//
// Wizards are found by the exact text of their Name, compared here rather than put into a
// query, so that any name works, apostrophes and quotes included.
namespace veldra {

QString wizardDefinitionsFile();

// The names of the wizards whose Enabled is 1, in document order.
QStringList enabledWizardNames(const xml::Document& wizards);

// Every Wizard whose Name is `name`, in document order.
std::vector<xml::Node> wizardsNamed(const xml::Document& wizards, const QString& name);

// The first UI of a wizard of that name (null when none).
xml::Node wizardUI(const xml::Document& wizards, const QString& name);

// The Target elements for field `fieldName` in the Instructions of the wizards of that name,
// in document order.
std::vector<xml::Node> wizardTargets(const xml::Document& wizards, const QString& name, const QString& fieldName);

// The elements that become the rows of a wizard's dialog: the UI itself when it is empty or
// holds text; otherwise each child element that is empty or holds text (a child holding
// elements, and anything that is not an element, gives no row).
std::vector<xml::Node> wizardRowElements(const xml::Node& ui);

} // namespace veldra
