#include "imaging/read/GIFTiming.h"

#include "imaging/read/FrameDelay.h"
#include "imaging/read/ImageSource.h"

#include <QHash>

namespace plenoria {

QString GIFTiming::label() const
{
    if (!animated)
        return QStringLiteral("\u2014");
    const QString delay = QString::number(animated->delayMs) + QStringLiteral(" ms");
    return animated->healthy ? delay : QStringLiteral("! ") + delay;
}

GIFTiming GIFTiming::read(const ImageSource& source)
{
    const qint64 count = source.frameCount();
    if (count < 2)
        return still();
    std::vector<double> delays;
    delays.reserve(size_t(count));
    bool healthy = false;
    for (qint64 index = 0; index < count; ++index) {
        const double delay = frameDelay(source, index).value_or(0);
        healthy = healthy || delay > 0.01;
        delays.push_back(delay);
    }
    return makeAnimated(delayMode(delays), healthy);
}

size_t qHash(const GIFTiming& timing, size_t seed)
{
    if (!timing.animated)
        return qHashMulti(seed, 0);
    return qHashMulti(seed, 1, timing.animated->delayMs, timing.animated->healthy);
}

} // namespace plenoria
