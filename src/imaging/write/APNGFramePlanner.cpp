#include "imaging/write/APNGFramePlanner.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace plenoria {

namespace {

// Pixels are compared and tested as 32-bit words holding R, G, B, A in memory order.
static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "alpha is read from the top byte of a pixel");

using Base = APNGFramePlanner::Plan::Base;
using FrameRows = APNGFramePlanner::FrameRows;

// The rows of one candidate base beside the frame to store, compared without copying the base
// except on the rows it clears.
class Comparison {
public:
    Comparison(const FrameRows& rows, QSize canvas, const Base& base, qint64 target)
        : m_rows(rows)
        , m_canvas(canvas)
        , m_base(base)
        , m_target(target)
        , m_scratch(size_t(canvas.width()))
    { }

    const quint32* base(int y) { return APNGFramePlanner::baseRow(m_rows, m_canvas, m_base, y, m_scratch); }
    const quint32* target(int y) const { return m_rows(m_target, y); }
    bool rowDiffers(int y)
    {
        return std::memcmp(base(y), target(y), size_t(m_canvas.width()) * sizeof(quint32)) != 0;
    }

    // The bounding box of the pixels that differ; empty when none does.
    QRect changedRect()
    {
        const int width = m_canvas.width();
        int top = 0;
        while (top < m_canvas.height() && !rowDiffers(top))
            ++top;
        if (top == m_canvas.height())
            return {};
        int bottom = m_canvas.height() - 1;
        while (bottom > top && !rowDiffers(bottom))
            --bottom;
        int left = width;
        int right = -1;
        for (int y = top; y <= bottom; ++y) {
            const quint32* b = base(y);
            const quint32* t = target(y);
            for (int x = 0; x < left; ++x) {
                if (b[x] != t[x]) {
                    left = x;
                    break;
                }
            }
            for (int x = width - 1; x > right; --x) {
                if (b[x] != t[x]) {
                    right = x;
                    break;
                }
            }
        }
        return QRect(left, top, right - left + 1, bottom - top + 1);
    }

    // Whether every pixel of `rect` that changes becomes opaque: only then does blending over the
    // canvas give exactly the frame.
    bool changesAreOpaque(const QRect& rect)
    {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            const quint32* b = base(y);
            const quint32* t = target(y);
            for (int x = rect.left(); x <= rect.right(); ++x) {
                if (b[x] != t[x] && (t[x] >> 24) != 255)
                    return false;
            }
        }
        return true;
    }

private:
    const FrameRows& m_rows;
    QSize m_canvas;
    Base m_base;
    qint64 m_target;
    std::vector<quint32> m_scratch;
};

} // namespace

const quint32* APNGFramePlanner::baseRow(
    const FrameRows& rows, QSize canvas, const Plan::Base& base, int y, std::vector<quint32>& scratch)
{
    const size_t width = size_t(canvas.width());
    if (base.frame < 0) {
        std::fill(scratch.begin(), scratch.begin() + qsizetype(width), 0u);
        return scratch.data();
    }
    const quint32* row = rows(base.frame, y);
    if (base.cleared.isEmpty() || y < base.cleared.top() || y > base.cleared.bottom())
        return row;
    std::memcpy(scratch.data(), row, width * sizeof(quint32));
    std::fill(scratch.begin() + base.cleared.left(), scratch.begin() + base.cleared.right() + 1, 0u);
    return scratch.data();
}

void APNGFramePlanner::planNext(Plan& plan, const FrameRows& rows, QSize canvas, bool overAllowed)
{
    const size_t i = plan.frames.size();
    plan.frames.emplace_back();
    plan.bases.emplace_back();
    if (i == 0) {
        plan.frames[0] = {QRect(QPoint(0, 0), canvas), none, source};
        return;
    }
    // The previous frame's dispose operation decides what this frame is stored against: that
    // frame as it stands, that frame with its rectangle cleared, or the canvas from before it.
    // The smallest rectangle wins; a tie keeps the earlier, simpler operation.
    const Frame& before = plan.frames[i - 1];
    std::array<std::pair<Dispose, Base>, 3> candidates{{{none, {qint64(i - 1), {}}},
        {background, {qint64(i - 1), before.rect}}, {previous, plan.bases[i - 1]}}};
    // The format takes a first frame's "previous" as "background"; ours never asks for it.
    const size_t candidateCount = i == 1 ? 2 : 3;
    size_t best = 0;
    QRect bestRect;
    qint64 bestArea = -1;
    for (size_t c = 0; c < candidateCount; ++c) {
        const QRect rect = Comparison(rows, canvas, candidates[c].second, qint64(i)).changedRect();
        const qint64 area = qint64(rect.width()) * rect.height();
        if (bestArea < 0 || area < bestArea) {
            best = c;
            bestRect = rect;
            bestArea = area;
        }
    }
    plan.frames[i - 1].dispose = candidates[best].first;
    plan.bases[i] = candidates[best].second;
    // A frame equal to the canvas still needs a rectangle; one pixel is the least there is.
    const QRect rect = bestRect.isEmpty() ? QRect(0, 0, 1, 1) : bestRect;
    const bool over
        = overAllowed && Comparison(rows, canvas, plan.bases[i], qint64(i)).changesAreOpaque(rect);
    plan.frames[i] = {rect, none, over ? Blend::over : Blend::source};
}

} // namespace plenoria
