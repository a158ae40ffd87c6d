#pragma once

#include <QByteArray>
#include <QColor>
#include <QRect>

#include <initializer_list>
#include <utility>

namespace veldra::test {

// Small metafiles written record by record: filled rectangles with no outline on a
// picture of the given pixel size (at 96 pixels per inch), which they need not fill.
QByteArray emfWithRectangles(QSize pixels, std::initializer_list<std::pair<QRect, QColor>> rectangles);
QByteArray wmfWithRectangles(QSize pixels, std::initializer_list<std::pair<QRect, QColor>> rectangles);

} // namespace veldra::test
