#include "PreviewTestSupport.h"

#include "GifBuilder.h"
#include "SyntheticImages.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QWidget>
#include <cstdlib>

namespace plenoria::test {

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

QByteArray solidFramesGif(QSize size, const std::vector<std::pair<QColor, int>>& frames)
{
    std::vector<GifFrame> gifFrames;
    for (const auto& [color, delay] : frames) {
        GifFrame frame;
        frame.image = solidImage(size.width(), size.height(), color);
        frame.delayCentiseconds = delay;
        gifFrames.push_back(frame);
    }
    GifOptions options;
    options.loopCount = 0;
    return makeGif(gifFrames, options);
}

QDateTime afterReferenceDate(double seconds)
{
    const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    return reference.addMSecs(qint64(seconds * 1000.0));
}

QImage rendered(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

bool near(const QColor& a, const QColor& b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace plenoria::test
