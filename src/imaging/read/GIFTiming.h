#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace plenoria {

class ImageSource;

// Timing summary of an animation: animated(delayMs, healthy) or still.
struct GIFTiming {
    struct Animated {
        qint64 delayMs = 0; // the most common frame delay
        bool healthy = false; // some frame delay exceeds 0.01 s
        bool operator==(const Animated&) const = default;
    };
    std::optional<Animated> animated; // none: still

    static GIFTiming still() { return {}; }
    static GIFTiming makeAnimated(qint64 delayMs, bool healthy) { return {Animated{delayMs, healthy}}; }
    bool isStill() const { return !animated.has_value(); }

    // "—" for a still, "70 ms" for a healthy animation, "! 0 ms" for an unhealthy one.
    QString label() const;

    static GIFTiming read(const ImageSource& source);

    bool operator==(const GIFTiming&) const = default;
};

size_t qHash(const GIFTiming& timing, size_t seed = 0);

} // namespace plenoria
