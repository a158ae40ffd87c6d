#pragma once

#include <QList>
#include <QPointer>
#include <QStatusBar>

class QLabel;

namespace veldra {

// The main window's status bar: three panels, which the editor window fills with
// the parent name, the node name and an example value of the selected node.
class MainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit MainStatusBar(QWidget* parent = nullptr);

    // Panel 1, 2 or 3.
    QLabel* Panels(int index) const;
    // Widths of panels 1 and 2 in twips; panel 3 takes the rest of the bar.
    void setPanelWidths(int first, int second);

    // The window whose texts the panels are about to show. When it closes (or goes), the
    // panels are emptied: they never describe a window that is no longer there.
    void describe(QWidget* window);
    // Empties the panels when they describe `window`.
    void forget(const QWidget* window);

private:
    void clearPanels();

    QList<QLabel*> panels_;
    QPointer<QWidget> described_;
};

} // namespace veldra
