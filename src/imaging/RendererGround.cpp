#include "Renderer.h"

#include "Bitmap.h"
#include "Rounding.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace plenoria {

namespace {

// The pixel cleared by a key: premultiplied transparent black.
void clearPixel(uchar* p)
{
    p[0] = p[1] = p[2] = p[3] = 0;
}

// Channel distances for every byte value of an opaque pixel, which most emoji pixels are: one table
// lookup replaces the division per channel.
std::array<std::array<float, 256>, 3> opaqueDistanceTables(const RGB& key)
{
    std::array<std::array<float, 256>, 3> tables{};
    const double keys[3] = {key.red, key.green, key.blue};
    for (int channel = 0; channel < 3; ++channel) {
        for (int value = 0; value < 256; ++value) {
            RGB grey{value / 255.0, value / 255.0, value / 255.0};
            RGB k{keys[channel], keys[channel], keys[channel]};
            tables[size_t(channel)][size_t(value)] = float(keyDistance(grey, k));
        }
    }
    return tables;
}

void keyOutEverywhere(QByteArray& bytes, const std::vector<float>& distances, const RGB& key, double threshold,
                      double softness)
{
    const double keys[3] = {key.red, key.green, key.blue};
    uchar* data = reinterpret_cast<uchar*>(bytes.data());
    const qint64 count = std::min<qint64>(qint64(distances.size()), bytes.size() / 4);
    for (qint64 i = 0; i < count; ++i) {
        uchar* p = data + 4 * i;
        if (p[3] == 0)
            continue;
        const double d = distances[size_t(i)];
        if (d <= threshold) {
            clearPixel(p);
            continue;
        }
        double w = 1;
        if (softness >= 0.001)
            w = std::min(1.0, (d - threshold) / softness);
        const double a = p[3] / 255.0;
        double alpha = a;
        double colour[3];
        for (int c = 0; c < 3; ++c)
            colour[c] = (p[c] / 255.0) / a;
        if (w < 1) {
            alpha = a * w;
            if (!(alpha > 0)) {
                clearPixel(p);
                continue;
            }
            // The edge pixel is a blend of subject and key; taking the key out recovers the subject's colour.
            if (w > 0.004) {
                for (int c = 0; c < 3; ++c)
                    colour[c] = (colour[c] - keys[c]) / w + keys[c];
            }
        }
        for (int c = 0; c < 3; ++c)
            p[c] = uchar(clampByte(std::clamp(colour[c], 0.0, 1.0) * alpha * 255.0));
        p[3] = uchar(clampByte(alpha * 255.0));
    }
}

} // namespace

std::vector<float> Renderer::keyDistances(const QByteArray& bytes, const RGB& key)
{
    const qint64 count = bytes.size() / 4;
    std::vector<float> distances(size_t(count), 0.0f);
    const auto tables = opaqueDistanceTables(key);
    const uchar* data = reinterpret_cast<const uchar*>(bytes.constData());
    for (qint64 i = 0; i < count; ++i) {
        const uchar* p = data + 4 * i;
        if (p[3] == 255) {
            distances[size_t(i)] = std::max({tables[0][p[0]], tables[1][p[1]], tables[2][p[2]]});
        } else if (p[3] > 0) {
            const double a = p[3] / 255.0;
            const RGB colour{(p[0] / 255.0) / a, (p[1] / 255.0) / a, (p[2] / 255.0) / a};
            distances[size_t(i)] = float(keyDistance(colour, key));
        }
    }
    return distances;
}

std::vector<quint8> Renderer::borderFloodMask(const std::vector<float>& distances, qint64 width, qint64 height,
                                              double threshold)
{
    const qint64 count = width > 0 && height > 0 ? width * height : 0;
    std::vector<quint8> marked(size_t(std::max<qint64>(count, 0)), 0);
    if (count <= 0 || qint64(distances.size()) < count)
        return marked;
    std::vector<qint64> queue;
    queue.reserve(size_t(count / 4));
    const auto tryPixel = [&](qint64 index) {
        if (!marked[size_t(index)] && threshold >= distances[size_t(index)]) {
            marked[size_t(index)] = 1;
            queue.push_back(index);
        }
    };
    for (qint64 x = 0; x < width; ++x) {
        tryPixel(x);
        tryPixel((height - 1) * width + x);
    }
    for (qint64 y = 0; y < height; ++y) {
        tryPixel(y * width);
        tryPixel(y * width + width - 1);
    }
    for (size_t next = 0; next < queue.size(); ++next) {
        const qint64 index = queue[next];
        const qint64 x = index % width;
        const qint64 y = index / width;
        if (x > 0)
            tryPixel(index - 1);
        if (x < width - 1)
            tryPixel(index + 1);
        if (y > 0)
            tryPixel(index - width);
        if (y < height - 1)
            tryPixel(index + width);
    }
    return marked;
}

void Renderer::keyOut(QByteArray& bytes, KeyReach reach, qint64 width, qint64 height, const RGB& key,
                      double threshold, double softness)
{
    const std::vector<float> distances = keyDistances(bytes, key);
    const double t = std::clamp(threshold, 0.0, 1.0);
    if (reach == KeyReach::fromTheBorder) {
        const std::vector<quint8> mask = borderFloodMask(distances, width, height, t);
        uchar* data = reinterpret_cast<uchar*>(bytes.data());
        for (size_t i = 0; i < mask.size(); ++i) {
            if (mask[i])
                clearPixel(data + 4 * i);
        }
        return;
    }
    keyOutEverywhere(bytes, distances, key, t, std::clamp(softness, 0.0, 1.0));
}

void Renderer::fillBehind(QByteArray& bytes, const RGB& color)
{
    const double fill[3] = {color.red * 255.0, color.green * 255.0, color.blue * 255.0};
    uchar* data = reinterpret_cast<uchar*>(bytes.data());
    const qint64 count = bytes.size() / 4;
    for (qint64 i = 0; i < count; ++i) {
        uchar* p = data + 4 * i;
        if (p[3] == 255)
            continue;
        const double uncovered = 1.0 - p[3] / 255.0;
        for (int c = 0; c < 3; ++c)
            p[c] = uchar(clampByte(fill[c] * uncovered + p[c]));
        p[3] = 255;
    }
}

std::optional<QImage> Renderer::applyGround(const QImage& image, const GroundSpec& spec)
{
    const std::optional<QImage> normal = normalized(image);
    if (!normal)
        return std::nullopt;
    const qint64 width = normal->width();
    const qint64 height = normal->height();

    std::optional<QByteArray> bytes;
    if (const ColorKey* key = std::get_if<ColorKey>(&spec.key)) {
        const std::optional<RGB> keyColour = RGB::fromHex(key->hex);
        if (!keyColour)
            return std::nullopt;
        bytes = pixelBytes(*normal);
        if (bytes)
            keyOut(*bytes, key->reach, width, height, *keyColour, key->threshold, key->softness);
    } else if (const SubjectKey* subject = std::get_if<SubjectKey>(&spec.key)) {
        bytes = subjectPixels(*normal, subject->included);
    } else {
        bytes = pixelBytes(*normal);
    }
    if (!bytes)
        return std::nullopt;

    if (const ColorFill* fill = std::get_if<ColorFill>(&spec.fill)) {
        if (const std::optional<RGB> fillColour = RGB::fromHex(fill->hex))
            fillBehind(*bytes, *fillColour);
    }

    std::optional<QImage> result = makeBitmap(width, height);
    if (!result)
        return std::nullopt;
    const qint64 length = std::min<qint64>(qint64(result->bytesPerLine()) * result->height(), bytes->size());
    std::memcpy(result->bits(), bytes->constData(), size_t(length));
    return result;
}

} // namespace plenoria
