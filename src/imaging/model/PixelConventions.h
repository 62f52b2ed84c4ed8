#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

namespace plenoria {

// The pixel convention (see Bitmap.h) as every encoder, writer and the renderer meet it: conversion
// into it, its raw bytes, and the scaling, cutting and padding they share. Every operation returns a
// new image; the only shared state is the one-entry normalisation cache, safe from several threads.
class PixelConventions {
public:
    PixelConventions() = delete;

    // The image redrawn in the pixel convention at its own size (at least 1 × 1); none when no bitmap
    // can be made. The same image (by QImage::cacheKey) normalised twice gives the same result object.
    [[nodiscard]] static std::optional<QImage> normalized(const QImage& image);

    // The first 4 × width × height bytes of an image already in the convention; none when its rows
    // are not exactly 4 × width bytes or the data is short.
    [[nodiscard]] static std::optional<QByteArray> pixelBytes(const QImage& image);

    // `image` resampled to exactly width × height with high-quality interpolation; none when the
    // bitmap cannot be made.
    [[nodiscard]] static std::optional<QImage> resampled(const QImage& image, qint64 width, qint64 height);

    // Scaled with high-quality interpolation so that the longer side is `longestEdge`; the input
    // itself when the size would not change or no bitmap can be made.
    [[nodiscard]] static std::optional<QImage> scaledToFit(const QImage& image, qint64 longestEdge);

    // The rectangle (top-left origin, may reach outside the image) cut out or padded with transparency.
    [[nodiscard]] static std::optional<QImage> cropOrPad(
        const QImage& image, qint64 x, qint64 y, qint64 width, qint64 height);
};

} // namespace plenoria
