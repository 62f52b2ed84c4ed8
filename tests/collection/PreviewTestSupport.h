#pragma once

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QSize>
#include <functional>
#include <utility>
#include <vector>

class QWidget;

namespace plenoria::test {

// Runs the event loop until `done` holds; false when `timeoutMs` passed first.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 10000);

// A GIF of solid frames, each a colour with its delay in centiseconds.
QByteArray solidFramesGif(QSize size, const std::vector<std::pair<QColor, int>>& frames);

// The moment `seconds` after the animation clock's reference date (2001-01-01 00:00 UTC).
QDateTime afterReferenceDate(double seconds);

// The widget as drawn now.
QImage rendered(QWidget& widget);

// Whether two colours agree within `tolerance` per channel.
bool near(const QColor& a, const QColor& b, int tolerance = 3);

} // namespace plenoria::test
