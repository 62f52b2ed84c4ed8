#include "imaging/render/Renderer.h"

#include "imaging/model/Bitmap.h"
#include "imaging/render/ToneCurve.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>

namespace plenoria {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

constexpr Matrix identity = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

Matrix multiply(const Matrix& a, const Matrix& b)
{
    Matrix m{};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            m[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c];
    return m;
}

// Warmth as a colour matrix: positive raises red and lowers blue by up to 35 %.
Matrix warmthMatrix(double warmth)
{
    const double b = warmth * 0.35;
    return {{{1 + b, 0, 0}, {0, 1, 0}, {0, 0, 1 - b}}};
}

// A rotation about the grey axis, so greys stay grey and lightness is roughly kept.
Matrix hueMatrix(double angle)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle) / std::numbers::sqrt3;
    const double t = (1 - c) / 3;
    return {{{c + t, t - s, t + s}, {t + s, c + t, t - s}, {t - s, t + s, c + t}}};
}

// Saturation blends each colour with its luma (Rec. 709 weights).
Matrix saturationMatrix(double saturation)
{
    const double k = 1 + saturation;
    const double luma[3] = {0.2126, 0.7152, 0.0722};
    Matrix m{};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            m[r][c] = (1 - k) * luma[c] + (r == c ? k : 0);
    return m;
}

// The colour controls as one affine map: brightness added, contrast about 0.5, then saturation.
struct Affine {
    Matrix matrix = identity;
    std::array<double, 3> offset{};
};

Affine colorControls(const ToneSpec& spec)
{
    Affine affine;
    if (!ToneSpec::isActive(spec.brightness) && !ToneSpec::isActive(spec.contrast)
        && !ToneSpec::isActive(spec.saturation))
        return affine;
    // Once any of the three is on, all three take their values: (v + brightness − 0.5) × contrast + 0.5,
    // then the saturation matrix.
    const double contrast = 1 + spec.contrast;
    const double shift = (spec.brightness - 0.5) * contrast + 0.5;
    const Matrix saturation = saturationMatrix(spec.saturation);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c)
            affine.matrix[r][c] = saturation[r][c] * contrast;
        affine.offset[r] = (saturation[r][0] + saturation[r][1] + saturation[r][2]) * shift;
    }
    return affine;
}

struct TonePlan {
    Matrix before = identity; // warmth and hue
    std::optional<ToneCurve> curve; // shadows and highlights
    Affine after; // brightness, contrast, saturation
};

TonePlan planFor(const ToneSpec& spec)
{
    TonePlan plan;
    if (ToneSpec::isActive(spec.warmth))
        plan.before = warmthMatrix(spec.warmth);
    if (ToneSpec::isActive(spec.hue))
        plan.before = multiply(hueMatrix(spec.hue * std::numbers::pi), plan.before);
    if (ToneSpec::isActive(spec.shadows) || ToneSpec::isActive(spec.highlights))
        plan.curve = ToneCurve({{0, 0}, {0.25, 0.25 + 0.2 * spec.shadows}, {0.5, 0.5},
            {0.75, 0.75 + 0.2 * spec.highlights}, {1, 1}});
    plan.after = colorControls(spec);
    if (!plan.curve) {
        // Without the curve every stage is linear: fold them into one map per pixel.
        plan.after.matrix = multiply(plan.after.matrix, plan.before);
        plan.before = identity;
    }
    return plan;
}

} // namespace

QImage Renderer::applyTone(const QImage& image, const ToneSpec& spec)
{
    if (spec.activeAdjustments().empty())
        return image;
    std::optional<QImage> copy = drawableCopy(image);
    if (!copy || copy->bytesPerLine() != 4 * copy->width())
        return image;
    QImage result = std::move(*copy);

    const TonePlan plan = planFor(spec);
    float before[3][3];
    float after[3][3];
    float offset[3];
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            before[r][c] = float(plan.before[r][c]);
            after[r][c] = float(plan.after.matrix[r][c]);
        }
        offset[r] = float(plan.after.offset[r]);
    }
    const ToneCurve* curve = plan.curve ? &*plan.curve : nullptr;

    // Un-premultiplying is one multiplication: the reciprocal of every alpha byte, times 1/255.
    float unpremultiply[256];
    unpremultiply[0] = 0;
    for (int a = 1; a < 256; ++a)
        unpremultiply[a] = 1.0f / float(a);

    uchar* data = result.bits();
    const qint64 count = qint64(result.width()) * result.height();
    // Emoji are mostly flat colour: a pixel equal to the one before takes its result.
    quint32 lastIn = 0;
    quint32 lastOut = 0;
    for (qint64 i = 0; i < count; ++i) {
        uchar* p = data + 4 * i;
        const int alpha = p[3];
        if (alpha == 0)
            continue;
        quint32 in;
        std::memcpy(&in, p, 4);
        if (in == lastIn && i > 0) {
            std::memcpy(p, &lastOut, 4);
            continue;
        }
        const float k = unpremultiply[alpha];
        float v[3] = {p[0] * k, p[1] * k, p[2] * k};
        if (curve) {
            const float m0 = before[0][0] * v[0] + before[0][1] * v[1] + before[0][2] * v[2];
            const float m1 = before[1][0] * v[0] + before[1][1] * v[1] + before[1][2] * v[2];
            const float m2 = before[2][0] * v[0] + before[2][1] * v[1] + before[2][2] * v[2];
            v[0] = curve->at(m0);
            v[1] = curve->at(m1);
            v[2] = curve->at(m2);
        }
        const float scale = float(alpha);
        uchar out[4] = {0, 0, 0, uchar(alpha)};
        for (int c = 0; c < 3; ++c) {
            const float value = after[c][0] * v[0] + after[c][1] * v[1] + after[c][2] * v[2] + offset[c];
            // Non-negative after the clamp, so adding a half and truncating rounds half away from zero.
            out[c] = uchar(std::clamp(value, 0.0f, 1.0f) * scale + 0.5f);
        }
        // Written as one word: re-reading bytes just stored one by one would stall the loop.
        lastIn = in;
        std::memcpy(&lastOut, out, 4);
        std::memcpy(p, out, 4);
    }
    return result;
}

} // namespace plenoria
