#pragma once

#include <QLineEdit>

class QMimeData;

namespace veldra {

// A single-line text box that takes dropped text as its new value: the dropped text, without
// leading and trailing blanks, replaces what the box held (rather than being inserted).
class DropTextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit DropTextBox(QWidget* parent = nullptr);

    void OLEDragDrop(const QMimeData& data);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

} // namespace veldra
