#include "imaging/render/Renderer.h"

#include "imaging/model/Bitmap.h"

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

// Distances of pixels to one key colour. Opaque pixels, which most emoji pixels are, take one table
// lookup per channel instead of a division.
class KeyMeter {
public:
    explicit KeyMeter(const RGB& key)
        : m_key(key)
    {
        const double keys[3] = {key.red, key.green, key.blue};
        for (size_t channel = 0; channel < 3; ++channel) {
            const RGB k{keys[channel], keys[channel], keys[channel]};
            for (size_t value = 0; value < 256; ++value) {
                const double v = double(value) / 255.0;
                m_opaque[channel][value] = float(keyDistance(RGB{v, v, v}, k));
            }
        }
    }

    float operator()(const uchar* p) const
    {
        if (p[3] == 255)
            return std::max({m_opaque[0][p[0]], m_opaque[1][p[1]], m_opaque[2][p[2]]});
        if (p[3] == 0)
            return 0;
        const double a = p[3] / 255.0;
        return float(keyDistance(RGB{(p[0] / 255.0) / a, (p[1] / 255.0) / a, (p[2] / 255.0) / a}, m_key));
    }

private:
    RGB m_key;
    std::array<std::array<float, 256>, 3> m_opaque{};
};

// Round half away from zero for the non-negative values of a pixel, without a library call per channel.
uchar toByte(double value)
{
    return uchar(std::min(255.0, std::max(0.0, value) + 0.5));
}

// One pixel keyed with feathering: cleared within the threshold, faded and un-mixed in the soft band.
void keyOutPixel(uchar* p, double d, const double key[3], double threshold, double softness)
{
    if (d <= threshold) {
        clearPixel(p);
        return;
    }
    double w = 1;
    if (softness >= 0.001)
        w = std::min(1.0, (d - threshold) / softness);
    // Outside the band a well-formed pixel would be written back as it is.
    if (w >= 1 && p[0] <= p[3] && p[1] <= p[3] && p[2] <= p[3])
        return;
    const double a = p[3] / 255.0;
    double alpha = a;
    double colour[3];
    for (int c = 0; c < 3; ++c)
        colour[c] = (p[c] / 255.0) / a;
    if (w < 1) {
        alpha = a * w;
        if (!(alpha > 0)) {
            clearPixel(p);
            return;
        }
        // The edge pixel is a blend of subject and key; taking the key out recovers the subject's colour.
        if (w > 0.004) {
            for (int c = 0; c < 3; ++c)
                colour[c] = (colour[c] - key[c]) / w + key[c];
        }
    }
    for (int c = 0; c < 3; ++c)
        p[c] = toByte(std::clamp(colour[c], 0.0, 1.0) * alpha * 255.0);
    p[3] = toByte(alpha * 255.0);
}

std::vector<float> distancesOf(const uchar* data, qint64 count, const RGB& key)
{
    const KeyMeter meter(key);
    std::vector<float> distances(static_cast<size_t>(count));
    for (qint64 i = 0; i < count; ++i)
        distances[size_t(i)] = meter(data + 4 * i);
    return distances;
}

void keyOutPixels(uchar* data, KeyReach reach, qint64 width, qint64 height, const RGB& key, double threshold,
    double softness)
{
    const qint64 count = width * height;
    const double t = std::clamp(threshold, 0.0, 1.0);
    if (reach == KeyReach::fromTheBorder) {
        const std::vector<quint8> mask
            = Renderer::borderFloodMask(distancesOf(data, count, key), width, height, t);
        for (size_t i = 0; i < mask.size(); ++i) {
            if (mask[i])
                clearPixel(data + 4 * i);
        }
        return;
    }
    const double s = std::clamp(softness, 0.0, 1.0);
    const double keys[3] = {key.red, key.green, key.blue};
    const KeyMeter meter(key);
    // Past this distance a pixel is outside the soft band and, when well formed, stays as it is.
    const double untouched = s >= 0.001 ? t + s : t;
    for (qint64 i = 0; i < count; ++i) {
        uchar* p = data + 4 * i;
        if (p[3] == 0)
            continue;
        const double d = meter(p);
        if (d <= t)
            clearPixel(p);
        else if (d < untouched || p[0] > p[3] || p[1] > p[3] || p[2] > p[3])
            keyOutPixel(p, d, keys, t, s);
    }
}

void fillBehindPixels(uchar* data, qint64 count, const RGB& color)
{
    const double fill[3] = {color.red * 255.0, color.green * 255.0, color.blue * 255.0};
    for (qint64 i = 0; i < count; ++i) {
        uchar* p = data + 4 * i;
        if (p[3] == 255)
            continue;
        const double uncovered = 1.0 - p[3] / 255.0;
        for (int c = 0; c < 3; ++c)
            p[c] = toByte(fill[c] * uncovered + p[c]);
        p[3] = 255;
    }
}

} // namespace

std::vector<float> Renderer::keyDistances(const QByteArray& bytes, const RGB& key)
{
    return distancesOf(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size() / 4, key);
}

std::vector<quint8> Renderer::borderFloodMask(
    const std::vector<float>& distances, qint64 width, qint64 height, double threshold)
{
    const qint64 count = width > 0 && height > 0 ? width * height : 0;
    std::vector<quint8> marked(size_t(count), 0);
    if (count == 0 || qint64(distances.size()) < count)
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
    if (width <= 0 || height <= 0 || bytes.size() < 4 * width * height)
        return;
    keyOutPixels(reinterpret_cast<uchar*>(bytes.data()), reach, width, height, key, threshold, softness);
}

void Renderer::fillBehind(QByteArray& bytes, const RGB& color)
{
    fillBehindPixels(reinterpret_cast<uchar*>(bytes.data()), bytes.size() / 4, color);
}

std::optional<QImage> Renderer::applyGround(const QImage& image, const GroundSpec& spec)
{
    const std::optional<QImage> normal = normalized(image);
    if (!normal || normal->bytesPerLine() != 4 * qint64(normal->width()))
        return std::nullopt;
    const qint64 width = normal->width();
    const qint64 height = normal->height();

    std::optional<RGB> fillColour;
    if (const ColorFill* fill = std::get_if<ColorFill>(&spec.fill))
        fillColour = RGB::fromHex(fill->hex); // an unreadable fill only skips the fill

    std::optional<QImage> result;
    if (const SubjectKey* subject = std::get_if<SubjectKey>(&spec.key)) {
        const std::optional<QByteArray> bytes = subjectPixels(*normal, subject->included);
        if (!bytes)
            return std::nullopt;
        result = makeBitmap(width, height);
        if (!result)
            return std::nullopt;
        const qint64 length
            = std::min<qint64>(qint64(result->bytesPerLine()) * result->height(), bytes->size());
        std::memcpy(result->bits(), bytes->constData(), size_t(length));
    } else {
        std::optional<RGB> keyColour;
        if (const ColorKey* key = std::get_if<ColorKey>(&spec.key)) {
            keyColour = RGB::fromHex(key->hex);
            if (!keyColour)
                return std::nullopt;
        }
        // Keyed in a private copy of the normalised pixels: the cached image is never written.
        result = *normal;
        uchar* data = result->bits();
        if (data == nullptr)
            return std::nullopt;
        if (const ColorKey* key = std::get_if<ColorKey>(&spec.key))
            keyOutPixels(data, key->reach, width, height, *keyColour, key->threshold, key->softness);
    }
    if (fillColour)
        fillBehindPixels(result->bits(), width * height, *fillColour);
    return result;
}

} // namespace plenoria
