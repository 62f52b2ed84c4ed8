#include "imaging/gif/ColorQuantization.h"

#include <algorithm>
#include <array>

namespace plenoria {

namespace {

int channelShift(ColorQuantization::Channel channel)
{
    switch (channel) {
    case ColorQuantization::Channel::red:
        return 16;
    case ColorQuantization::Channel::green:
        return 8;
    case ColorQuantization::Channel::blue:
        break;
    }
    return 0;
}

RGB8 weightedMean(const ColorList& colors, const ColorQuantization::Box& box)
{
    qint64 total = 0, r = 0, g = 0, b = 0;
    for (qint64 i = box.begin; i < box.end; ++i) {
        const ColorCount& c = colors[std::size_t(i)];
        total += c.count;
        r += c.count * ((c.color >> 16) & 0xFF);
        g += c.count * ((c.color >> 8) & 0xFF);
        b += c.count * (c.color & 0xFF);
    }
    if (total == 0)
        total = 1;
    return {r / total, g / total, b / total};
}

} // namespace

ColorQuantization::Box ColorQuantization::Box::over(const ColorList& colors, qint64 begin, qint64 end)
{
    Box box;
    box.begin = begin;
    box.end = end;
    for (qint64 i = begin; i < end; ++i) {
        const qint64 color = colors[std::size_t(i)].color;
        const qint64 r = (color >> 16) & 0xFF, g = (color >> 8) & 0xFF, b = color & 0xFF;
        box.minR = std::min(box.minR, r);
        box.minG = std::min(box.minG, g);
        box.minB = std::min(box.minB, b);
        box.maxR = std::max(box.maxR, r);
        box.maxG = std::max(box.maxG, g);
        box.maxB = std::max(box.maxB, b);
    }
    return box;
}

qint64 ColorQuantization::Box::range() const
{
    return std::max({maxR - minR, maxG - minG, maxB - minB});
}

Palette ColorQuantization::medianCut(ColorList colors, qint64 target)
{
    std::vector<Box> boxes{Box::over(colors, 0, qint64(colors.size()))};
    if (target >= 2) {
        while (qint64(boxes.size()) < target) {
            std::size_t chosen = boxes.size();
            for (std::size_t i = 0; i < boxes.size(); ++i) {
                if (boxes[i].size() > 1
                    && (chosen == boxes.size() || boxes[i].range() > boxes[chosen].range()))
                    chosen = i;
            }
            if (chosen == boxes.size())
                break;
            const auto [lower, upper] = splitBox(colors, boxes[chosen]);
            boxes[chosen] = lower;
            boxes.push_back(upper);
        }
    }
    Palette palette;
    palette.reserve(boxes.size());
    for (const Box& box : boxes)
        palette.push_back(weightedMean(colors, box));
    return palette;
}

ColorQuantization::Channel ColorQuantization::splitAxis(const Box& box)
{
    const qint64 dR = box.maxR - box.minR, dG = box.maxG - box.minG, dB = box.maxB - box.minB;
    const qint64 m = std::max({dR, dG, dB});
    if (dR == m)
        return Channel::red;
    if (dG == m)
        return Channel::green;
    return Channel::blue;
}

std::pair<ColorQuantization::Box, ColorQuantization::Box> ColorQuantization::splitBox(
    ColorList& colors, const Box& box)
{
    // A counting sort on the channel's byte: linear, and exactly the order of a stable sort, which the
    // cut relies on when several colours share the channel's value. A box cut along the same channel as
    // its parent is often in order already and is left as it is.
    const int shift = channelShift(splitAxis(box));
    const auto first = colors.begin() + box.begin;
    const auto last = colors.begin() + box.end;
    std::array<std::size_t, 257> start{};
    qint64 total = 0;
    bool ordered = true;
    qint64 previous = 0;
    for (auto it = first; it != last; ++it) {
        const qint64 value = (it->color >> shift) & 0xFF;
        ++start[std::size_t(value) + 1];
        total += it->count;
        ordered = ordered && value >= previous;
        previous = value;
    }
    if (!ordered) {
        for (std::size_t i = 1; i < start.size(); ++i)
            start[i] += start[i - 1];
        const ColorList unsorted(first, last);
        for (const ColorCount& c : unsorted)
            *(first + qint64(start[std::size_t((c.color >> shift) & 0xFF)]++)) = c;
    }

    const qint64 half = total / 2;
    const qint64 n = box.size();
    qint64 k = n;
    qint64 running = 0;
    for (qint64 i = 0; i < n; ++i) {
        running += (first + i)->count;
        if (running >= half) {
            k = i + 1;
            break;
        }
    }
    const qint64 cut = box.begin + std::max<qint64>(1, std::min(k, n - 1));
    return {Box::over(colors, box.begin, cut), Box::over(colors, cut, box.end)};
}

} // namespace plenoria
