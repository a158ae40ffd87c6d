#pragma once

#include "buildform/StructuredList.h"

#include <QHash>
#include <QString>

namespace veldra::buildform {

// Everything the user entered in the build form, without widgets: the text of every text box
// and combo, the state of every check box (0 unchecked, 1 checked, 2 grayed) and the rows of
// the six lists, each by its control name. A control missing from a map is empty (unchecked).
struct FormState {
    QHash<QString, QString> texts;   // text boxes and combos
    QHash<QString, int> checks;
    QHash<QString, StructuredList> lists;

    QString text(const QString& name) const { return texts.value(name); }
    int check(const QString& name) const { return checks.value(name); }
    StructuredList list(const QString& name) const { return lists.value(name); }

    bool operator==(const FormState&) const = default;
};

} // namespace veldra::buildform
