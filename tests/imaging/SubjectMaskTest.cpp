#include "imaging/render/Renderer.h"
#include "imaging/subjects/ConnectedParts.h"
#include "imaging/subjects/MaskMorphology.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <algorithm>

using namespace plenoria;

namespace {

// Random masks of every shape that stresses the run joining: one row, one column, squares, with
// sparse noise (many diagonal-only contacts) and dense noise (long runs).
struct Field {
    qint64 width;
    qint64 height;
    std::vector<float> values; // 0 … 1
};

std::vector<Field> randomFields()
{
    QRandomGenerator random(7);
    std::vector<Field> fields;
    for (const auto& [w, h] : std::vector<std::pair<qint64, qint64>>{
             {1, 1}, {1, 40}, {40, 1}, {2, 2}, {17, 9}, {64, 64}, {100, 37}}) {
        for (int round = 0; round < 6; ++round) {
            Field field{w, h, std::vector<float>(size_t(w * h))};
            for (float& v : field.values)
                v = float(random.bounded(1000)) / 1000.0f;
            fields.push_back(std::move(field));
        }
    }
    return fields;
}

std::vector<quint8> above(const Field& field, float threshold)
{
    std::vector<quint8> mask(field.values.size());
    for (size_t i = 0; i < mask.size(); ++i)
        mask[i] = field.values[i] > threshold ? 1 : 0;
    return mask;
}

// Areas of the 8-connected parts, found pixel by pixel.
std::vector<qint64> referenceAreas(const std::vector<quint8>& mask, qint64 width, qint64 height)
{
    std::vector<bool> seen(mask.size(), false);
    std::vector<qint64> areas;
    for (qint64 start = 0; start < width * height; ++start) {
        if (!mask[size_t(start)] || seen[size_t(start)])
            continue;
        std::vector<qint64> stack{start};
        seen[size_t(start)] = true;
        qint64 area = 0;
        while (!stack.empty()) {
            const qint64 p = stack.back();
            stack.pop_back();
            ++area;
            for (qint64 dy = -1; dy <= 1; ++dy)
                for (qint64 dx = -1; dx <= 1; ++dx) {
                    const qint64 x = p % width + dx, y = p / width + dy;
                    if (x < 0 || y < 0 || x >= width || y >= height)
                        continue;
                    const qint64 n = y * width + x;
                    if (mask[size_t(n)] && !seen[size_t(n)]) {
                        seen[size_t(n)] = true;
                        stack.push_back(n);
                    }
                }
        }
        areas.push_back(area);
    }
    return areas;
}

} // namespace

TEST(SubjectMasks, PartsJoinThroughDiagonalsInReadingOrder)
{
    for (const Field& field : randomFields()) {
        for (float threshold : {0.3f, 0.7f}) {
            const std::vector<quint8> mask = above(field, threshold);
            const ConnectedParts parts
                = ConnectedParts::of(mask, field.width, field.height, ConnectedParts::Side::inside);
            const std::vector<qint64> expected = referenceAreas(mask, field.width, field.height);
            ASSERT_EQ(parts.count(), int(expected.size())) << field.width << "×" << field.height;
            for (int part = 1; part <= parts.count(); ++part)
                EXPECT_EQ(parts.area(part), expected[size_t(part - 1)]);
        }
    }
}

TEST(SubjectMasks, FilledHolesAreWhatTheBorderFloodLeaves)
{
    for (const Field& field : randomFields()) {
        for (float threshold : {0.3f, 0.5f, 0.7f}) {
            std::vector<quint8> filled = above(field, threshold);
            MaskMorphology::fillHoles(filled, field.width, field.height);
            const std::vector<quint8> flooded
                = Renderer::borderFloodMask(field.values, field.width, field.height, threshold);
            for (size_t i = 0; i < filled.size(); ++i)
                ASSERT_EQ(filled[i], flooded[i] ? 0 : 1) << field.width << "×" << field.height << " at " << i;
        }
    }
}

TEST(SubjectMasks, SmoothingBridgesGapsDropsSpecksAndKeepsEdges)
{
    // Two 6 × 6 blocks one pixel apart, a lone speck, and a block flush with the right edge.
    const qint64 w = 24, h = 12;
    std::vector<quint8> mask(size_t(w * h), 0);
    const auto fill = [&](qint64 x0, qint64 y0, qint64 x1, qint64 y1) {
        for (qint64 y = y0; y < y1; ++y)
            for (qint64 x = x0; x < x1; ++x)
                mask[size_t(y * w + x)] = 1;
    };
    fill(2, 3, 8, 9);
    fill(9, 3, 15, 9);
    fill(2, 0, 3, 1);
    fill(18, 2, 24, 8);
    MaskMorphology::closeThenOpen(mask, w, h);
    EXPECT_EQ(mask[size_t(5 * w + 8)], 1); // the gap is bridged
    EXPECT_EQ(mask[size_t(0 * w + 2)], 0); // the speck is gone
    EXPECT_EQ(mask[size_t(4 * w + 23)], 1); // the edge block is not worn away at the edge
    EXPECT_EQ(mask[size_t(3 * w + 2)], 1);
    EXPECT_EQ(std::count(mask.begin(), mask.end(), 1), 6 * 13 + 6 * 6);
}
