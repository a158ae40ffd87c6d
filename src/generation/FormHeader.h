#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace veldra {

// The white band at the top of the checking dialogs: an info text on the left and the
// program's logo on the right.
struct FormHeader {
    QWidget* picHeader = nullptr;
    QLabel* lblInfo = nullptr;
    QLabel* picLogo = nullptr;
};

FormHeader makeFormHeader(QWidget* parent, const QString& info);

} // namespace veldra
