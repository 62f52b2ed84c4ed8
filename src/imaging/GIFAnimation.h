#pragma once

#include <QDateTime>
#include <QImage>
#include <QUrl>
#include <optional>
#include <vector>

namespace plenoria {

// The decoded frames a preview tile plays. Always at least one frame when loaded.
struct GIFAnimation {
    std::vector<QImage> frames;   // Format_RGBA8888_Premultiplied, file order, only frames that decoded
    std::vector<double> durations; // seconds, each at least 0.02
    double totalDuration = 0;

    // Runs on a background thread; none when the file does not open or no frame decodes.
    [[nodiscard]] static std::optional<GIFAnimation> load(const QUrl& url);

    // The frame to show at a moment, from the wall clock alone, so every tile agrees.
    const QImage& frame(const QDateTime& at) const;
    const QImage& frameAtSecondsSinceReferenceDate(double seconds) const;
};

} // namespace plenoria
