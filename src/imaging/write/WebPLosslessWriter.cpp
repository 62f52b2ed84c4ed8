#include "imaging/write/WebPLosslessWriter.h"

#include "imaging/write/WebPFramePicture.h"

namespace plenoria {

std::optional<QByteArray> WebPLosslessWriter::encode(const QImage& image)
{
    // libwebp's one-call lossless encoder's settings, with the pixels read straight into its picture.
    constexpr float effort = 70.0f;
    WebPConfig config;
    if (!WebPConfigPreset(&config, WEBP_PRESET_DEFAULT, effort))
        return std::nullopt;
    config.lossless = 1;
    if (!WebPValidateConfig(&config))
        return std::nullopt;
    WebPFramePicture picture(image.size());
    if (!picture.load(image))
        return std::nullopt;
    return picture.encode(config);
}

} // namespace plenoria
