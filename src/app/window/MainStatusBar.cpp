#include "app/window/MainStatusBar.h"

#include "app/window/Twips.h"

#include <QLabel>

namespace veldra {

MainStatusBar::MainStatusBar(QWidget* parent)
    : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(this);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        addPermanentWidget(panel, i == 2 ? 1 : 0);
        panels_ << panel;
    }
}

QLabel* MainStatusBar::Panels(int index) const
{
    return panels_.value(index - 1, nullptr);
}

void MainStatusBar::setPanelWidths(int first, int second)
{
    panels_[0]->setFixedWidth(twips::toPixels(first));
    panels_[1]->setFixedWidth(twips::toPixels(second));
}

void MainStatusBar::describe(QWidget* window)
{
    if (described_ == window)
        return;
    if (described_)
        disconnect(described_, nullptr, this, nullptr);
    described_ = window;
    if (window)
        connect(window, &QObject::destroyed, this, &MainStatusBar::clearPanels);
}

void MainStatusBar::forget(const QWidget* window)
{
    if (window && described_ == window) {
        disconnect(described_, nullptr, this, nullptr);
        described_ = nullptr;
        clearPanels();
    }
}

void MainStatusBar::clearPanels()
{
    for (QLabel* panel : panels_)
        panel->clear();
}

} // namespace veldra
