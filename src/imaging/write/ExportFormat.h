#pragma once

#include "imaging/model/GIFPalette.h"
#include "imaging/read/Filmstrip.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <array>
#include <functional>
#include <optional>

namespace plenoria {

// A format that export writes: lossy WebP, GIF or PNG. The raw value ("webp", "gif", "png") is its
// identity and the extension of the exported file. A value type usable in switch statements.
class ExportFormat {
public:
    enum Value { webp, gif, png };

    constexpr ExportFormat(Value value)
        : m_value(value)
    { }
    constexpr operator Value() const { return m_value; }

    // Every format, in the order the export panel shows them.
    static constexpr std::array<Value, 3> allCases() { return {webp, gif, png}; }
    // The format of a raw value, compared exactly ("WEBP" is none).
    [[nodiscard]] static std::optional<ExportFormat> fromRawValue(QStringView raw);

    QString rawValue() const;
    QString id() const { return rawValue(); }

    // The strip (at least one frame, one delay per frame) as file bytes: `webp` animated when more than
    // one frame remains, frames above 1024 pixels scaled down; `gif` every frame with `palette`; `png`
    // the first frame only. `quality` (0 … 100) matters only for `webp`. None when the writer fails.
    // Reentrant: the export panel's size estimate calls it on worker threads.
    [[nodiscard]] std::optional<QByteArray> encode(
        const Filmstrip& strip, const GIFPalette& palette, double quality) const;

private:
    Value m_value;
};

} // namespace plenoria

template <> struct std::hash<plenoria::ExportFormat> {
    std::size_t operator()(plenoria::ExportFormat format) const noexcept
    {
        return std::hash<int>()(int(plenoria::ExportFormat::Value(format)));
    }
};
