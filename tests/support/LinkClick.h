#pragma once

#include "platform/web/BrowserControl.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

namespace veldra::test {

// The first link whose text is `text`, clicked with the mouse button and keys; what it starts
// is given time to happen. False when the page has no such link.
inline bool clickLink(web::BrowserControl* browser, const char* text, Qt::MouseButton button,
                      Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    const QVariantList centre = browser->runScriptAndWait(
        QStringLiteral("(function () { var a = Array.from(document.querySelectorAll('a')).find(e => e.textContent == '%1'); "
                       "if (!a) return null; a.scrollIntoView(); var r = a.getBoundingClientRect(); "
                       "return [r.left + r.width / 2, r.top + r.height / 2]; })()")
            .arg(QLatin1String(text))).toList();
    QWidget* target = browser->widget()->focusProxy();
    if (centre.size() != 2 || !target)
        return false;
    const QPoint point(qRound(centre[0].toDouble()), qRound(centre[1].toDouble()));
    QTest::qWait(100);
    QMouseEvent press(QEvent::MouseButtonPress, point, target->mapToGlobal(point), button, button, keys);
    QMouseEvent release(QEvent::MouseButtonRelease, point, target->mapToGlobal(point), button, Qt::NoButton, keys);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
    QTest::qWait(500);
    return true;
}

} // namespace veldra::test
