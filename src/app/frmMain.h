#pragma once

#include "app/CancellableJob.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class QMdiArea;

namespace veldra {

// The single MDI main window. Other windows reach the shared state through its
// public members.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    QMdiArea* mdiArea() const { return mdiArea_; }

    // Long jobs in progress; Esc in the log cancels them through these.
    std::shared_ptr<CancellableJob> TargetWord;
    std::shared_ptr<CancellableJob> TargetLOINC;
    std::shared_ptr<CancellableJob> TargetNCI;
    std::shared_ptr<CancellableJob> TargetUNII;

private:
    QMdiArea* mdiArea_ = nullptr;
};

// The main window while it exists, else nullptr (for example in tests of a
// window on its own).
frmMain* mainForm();

} // namespace veldra
