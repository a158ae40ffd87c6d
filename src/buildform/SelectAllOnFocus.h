#pragma once

#include <QObject>

class QLineEdit;

namespace veldra::buildform {

// Selects a text box's whole text whenever it gets the focus, so that typing replaces the
// entry. The selection is made once the focus event is over: a mouse press that brought the
// focus would otherwise clear it again.
class SelectAllOnFocus : public QObject {
public:
    using QObject::QObject;
    void watch(QLineEdit* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace veldra::buildform
