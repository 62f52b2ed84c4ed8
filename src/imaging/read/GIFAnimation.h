#pragma once

#include <QDateTime>
#include <QImage>
#include <QUrl>
#include <functional>
#include <optional>
#include <stop_token>
#include <vector>

namespace plenoria {

// The decoded frames a preview tile plays. Always at least one frame when loaded.
struct GIFAnimation {
    std::vector<QImage> frames;   // Format_RGBA8888_Premultiplied, file order, only frames that decoded
    std::vector<double> durations; // seconds, each at least 0.02
    double totalDuration = 0;

    // Runs on a background thread; none when the file does not open or no frame decodes. For a
    // file of several frames, `firstFrame` receives the first frame that decodes as soon as it has
    // (on the same thread), so that it can be shown while the rest are decoded. A stop requested on
    // `stop` ends the reading before the next frame, and gives none.
    [[nodiscard]] static std::optional<GIFAnimation> load(const QUrl& url,
        const std::function<void(const QImage&)>& firstFrame = {}, std::stop_token stop = {});

    // The frame to show at a moment, from the wall clock alone, so every tile agrees.
    const QImage& frame(const QDateTime& at) const;
    const QImage& frameAtSecondsSinceReferenceDate(double seconds) const;
};

} // namespace plenoria
