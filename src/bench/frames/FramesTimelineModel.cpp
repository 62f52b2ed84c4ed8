#include "bench/frames/FramesTimelineModel.h"

#include <map>

namespace plenoria {

qint64 FramesTimelineModel::totalDelay(const FramesSpec& spec)
{
    qint64 total = 0;
    for (const FrameEdit& edit : spec.edits)
        total += edit.delay;
    return total;
}

std::optional<qint64> FramesTimelineModel::dominantDelay(const FramesSpec& spec)
{
    std::map<qint64, qint64> counts;
    qint64 kept = 0;
    for (const FrameEdit& edit : spec.edits) {
        if (!edit.isSkipped) {
            ++counts[edit.delay];
            ++kept;
        }
    }
    if (kept < 3)
        return std::nullopt;
    for (const auto& [delay, count] : counts) {
        if (count * 2 > kept)
            return delay;
    }
    return std::nullopt;
}

qint64 FramesTimelineModel::fastDelayCount(const FramesSpec& spec)
{
    qint64 count = 0;
    for (const FrameEdit& edit : spec.edits) {
        if (!edit.isSkipped && edit.delay >= 1 && edit.delay < fastDelayLimit)
            ++count;
    }
    return count;
}

QString FramesTimelineModel::summaryText(const FramesSpec& spec, qint64 loopCount)
{
    const qint64 kept = qint64(spec.keptEdits().size());
    const QString loops = loopCount == 0 ? QStringLiteral("\u221E") : QString::number(loopCount);
    // A point in every locale: the strip reads like a technical readout.
    return QString::number(kept) + QStringLiteral(" frames \u00B7 ")
        + QString::number(double(totalDelay(spec)) / 1000.0, 'f', 2) + QStringLiteral(" s \u00B7 loops ")
        + loops;
}

QString FramesTimelineModel::skippedText(const FramesSpec& spec)
{
    const qint64 skipped = qint64(spec.edits.size() - spec.keptEdits().size());
    if (skipped == 0)
        return {};
    return QStringLiteral("\u00B7 ") + QString::number(skipped) + QStringLiteral(" skipped");
}

QString FramesTimelineModel::selectionText(const FramesSpec& spec, const FrameSelection& selection)
{
    const FrameSelection within = spec.positionsWithin(selection);
    if (within.empty())
        return {};
    const qint64 lo = *within.begin();
    const qint64 hi = *within.rbegin();
    const qint64 count = qint64(within.size());
    QString part;
    if (count == hi - lo + 1) {
        part = QString::number(lo + 1);
        if (hi != lo)
            part += QStringLiteral("\u2013") + QString::number(hi + 1);
    } else {
        part = QString::number(count);
    }
    return QStringLiteral("selected \u00B7 ") + part + QStringLiteral(" of ")
        + QString::number(spec.edits.size());
}

QString FramesTimelineModel::fastDelayWarning(const FramesSpec& spec)
{
    if (fastDelayCount(spec) == 0)
        return {};
    return QStringLiteral("! delays under ") + QString::number(fastDelayLimit)
        + QStringLiteral(" ms play at ~10 fps in browsers");
}

bool FramesTimelineModel::delayStandsOut(const FrameEdit& edit, const std::optional<qint64>& dominant)
{
    return edit.isSkipped || (dominant && edit.delay != *dominant);
}

QString FramesTimelineModel::cellToolTip(const FrameEdit& edit, qint64 position)
{
    if (edit.isSkipped) {
        return QStringLiteral("Skipped \u2014 its ") + QString::number(edit.delay)
            + QStringLiteral(" ms folds into the frame before it");
    }
    return QStringLiteral("Frame ") + QString::number(position + 1) + QStringLiteral(" \u00B7 ")
        + QString::number(edit.delay) + QStringLiteral(" ms");
}

FrameSelection FramesTimelineModel::clicked(
    const FramesSpec& spec, const FrameSelection& selection, qint64 position, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ControlModifier) {
        FrameSelection toggled = selection;
        if (!toggled.erase(position))
            toggled.insert(position);
        return toggled;
    }
    const FrameSelection within = spec.positionsWithin(selection);
    if ((modifiers & Qt::ShiftModifier) && !within.empty()) {
        const qint64 from = std::min(position, *within.begin());
        const qint64 to = std::max(position, *within.rbegin());
        FrameSelection range;
        for (qint64 i = from; i <= to; ++i)
            range.insert(range.end(), i);
        return range;
    }
    return {position};
}

} // namespace plenoria
