#include "imaging/model/FramesSpec.h"

#include "imaging/model/PixelConventions.h"
#include "imaging/model/Rounding.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <map>

namespace plenoria {

qint64 delayInSteps(qint64 milliseconds)
{
    return std::max<qint64>(roundHalfAway(double(milliseconds) / 10.0) * 10, 0);
}

FramesSpec FramesSpec::fromDelays(const std::vector<qint64>& delays)
{
    FramesSpec spec;
    spec.edits.reserve(delays.size());
    for (size_t i = 0; i < delays.size(); ++i)
        spec.edits.push_back({qint64(i), delayInSteps(delays[i]), false});
    return spec;
}

std::vector<FramePlan> FramesSpec::apply(const std::vector<FramePlan>& plan) const
{
    std::vector<FramePlan> out;
    out.reserve(edits.size());
    qint64 carried = 0;
    const qint64 length = qint64(plan.size());
    for (const FrameEdit& edit : edits) {
        if (edit.input < 0 || edit.input >= length)
            continue;
        if (edit.isSkipped) {
            if (out.empty())
                carried += edit.delay;
            else
                out.back().delay += edit.delay;
            continue;
        }
        out.push_back({plan[size_t(edit.input)].source, edit.delay + carried});
        carried = 0;
    }
    return out.empty() ? plan : out;
}

std::vector<FrameEdit> FramesSpec::keptEdits() const
{
    std::vector<FrameEdit> kept;
    for (const FrameEdit& edit : edits) {
        if (!edit.isSkipped)
            kept.push_back(edit);
    }
    return kept;
}

FrameSelection FramesSpec::positionsWithin(const FrameSelection& selection) const
{
    return FrameSelection(selection.lower_bound(0), selection.lower_bound(qint64(edits.size())));
}

std::vector<FrameEdit> FramesSpec::settingDelay(qint64 milliseconds, const FrameSelection& selection) const
{
    // Whatever was typed: a huge number would overflow the rounding, and no format keeps it anyway.
    const qint64 delay = delayInSteps(std::clamp<qint64>(milliseconds, 0, longestDelay));
    std::vector<FrameEdit> result = edits;
    for (size_t i = 0; i < result.size(); ++i) {
        if (selection.contains(qint64(i)))
            result[i].delay = delay;
    }
    return result;
}

std::vector<FrameEdit> FramesSpec::settingSkipped(bool skipped, const FrameSelection& selection) const
{
    std::vector<FrameEdit> result = edits;
    for (size_t i = 0; i < result.size(); ++i) {
        if (selection.contains(qint64(i)))
            result[i].isSkipped = skipped;
    }
    return result;
}

FrameSelection FramesSpec::duplicateSelection(const std::vector<QImage>& frames, const FramesSpec& spec)
{
    // Normalising is the costly part, so each input's bytes are read once however often it repeats.
    std::map<qint64, std::optional<QByteArray>> bytesByInput;
    const auto bytesOf = [&](qint64 input) -> const std::optional<QByteArray>& {
        auto found = bytesByInput.find(input);
        if (found != bytesByInput.end())
            return found->second;
        std::optional<QByteArray> bytes;
        if (input >= 0 && input < qint64(frames.size())) {
            if (auto normalized = PixelConventions::normalized(frames[size_t(input)]))
                bytes = PixelConventions::pixelBytes(*normalized);
        }
        return bytesByInput.emplace(input, std::move(bytes)).first->second;
    };

    FrameSelection duplicates;
    bool haveKept = false;
    std::optional<QByteArray> previous;
    for (size_t position = 0; position < spec.edits.size(); ++position) {
        const FrameEdit& edit = spec.edits[position];
        if (edit.isSkipped)
            continue;
        const std::optional<QByteArray>& current = bytesOf(edit.input);
        if (haveKept && previous && current && *previous == *current)
            duplicates.insert(qint64(position));
        previous = current;
        haveKept = true;
    }
    return duplicates;
}

QString FramesSpec::summary() const
{
    const std::vector<FrameEdit> kept = keptEdits();
    const qint64 skipped = qint64(edits.size() - kept.size());
    if (skipped > 0)
        return QString::number(skipped) + QStringLiteral(" skipped");
    std::set<qint64> delays;
    for (const FrameEdit& edit : kept)
        delays.insert(edit.delay);
    if (delays.size() == 1)
        return QStringLiteral("all ") + QString::number(*delays.begin()) + QStringLiteral(" ms");
    return QString::number(kept.size()) + QStringLiteral(" frames");
}

} // namespace plenoria
