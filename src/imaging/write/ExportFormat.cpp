#include "imaging/write/ExportFormat.h"

#include "imaging/gif/GIFWriter.h"
#include "imaging/write/ImageWriter.h"
#include "imaging/write/WebPWriter.h"

namespace plenoria {

std::optional<ExportFormat> ExportFormat::fromRawValue(QStringView raw)
{
    for (const Value value : allCases()) {
        if (ExportFormat(value).rawValue() == raw)
            return ExportFormat(value);
    }
    return std::nullopt;
}

QString ExportFormat::rawValue() const
{
    switch (m_value) {
    case webp:
        return QStringLiteral("webp");
    case gif:
        return QStringLiteral("gif");
    case png:
        break;
    }
    return QStringLiteral("png");
}

std::optional<QByteArray> ExportFormat::encode(
    const Filmstrip& strip, const GIFPalette& palette, double quality) const
{
    if (strip.frames.empty())
        return std::nullopt;
    switch (m_value) {
    case gif:
        return GIFWriter::encodeGIF(strip, palette);
    case png:
        return ImageWriter::encode(strip.frames.front(), ImageType::PNG);
    case webp:
        break;
    }
    const Filmstrip fitted = WebPWriter::fitFramesForWebP(strip);
    if (fitted.frames.size() > 1)
        return WebPWriter::encodeAnimatedWebP(fitted.frames, fitted.delays, fitted.loopCount, quality);
    return WebPWriter::encodeStillWebP(fitted.frames.front(), quality);
}

} // namespace plenoria
