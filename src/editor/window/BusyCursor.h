#pragma once

#include <QApplication>
#include <QCursor>

namespace veldra {

// The hourglass for the span of one command; the pointer returns to normal on every way
// out, a failure included.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace veldra
