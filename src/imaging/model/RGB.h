#pragma once

#include <QString>
#include <optional>

namespace plenoria {

// A colour as red, green and blue fractions, nominally 0…1, as the renderer parses and writes hex text.
struct RGB {
    double red = 0;
    double green = 0;
    double blue = 0;

    // "#00FF00", " 00ff00 " and "0x00FF" style text: trimmed of whitespace and "#", exactly six
    // characters, read as hexadecimal up to the first non-hex character; none unless a digit is read.
    [[nodiscard]] static std::optional<RGB> fromHex(const QString& text);

    // "#" and six upper-case hexadecimal digits, each channel rounded half away from zero.
    [[nodiscard]] QString hexString() const;

    bool operator==(const RGB&) const = default;
};

// How far a colour is from a key colour toward white or black, the largest over the channels, 0…1.
// Both colours un-premultiplied. A pixel is near the key only when every channel is.
double keyDistance(const RGB& color, const RGB& key);

} // namespace plenoria
