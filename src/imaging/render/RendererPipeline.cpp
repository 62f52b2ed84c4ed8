#include "imaging/render/Renderer.h"

#include "imaging/model/Bitmap.h"
#include "imaging/model/Rounding.h"
#include "imaging/read/ImageSource.h"

#include <QPainter>
#include <algorithm>

namespace plenoria {

namespace {

std::optional<QImage> decodeStamp(const QByteArray& data)
{
    const std::optional<ImageSource> source = ImageSource::fromData(data);
    if (!source)
        return std::nullopt;
    return source->decodeFrame(0);
}

} // namespace

std::optional<QImage> Renderer::drawableCopy(const QImage& image)
{
    const qint64 width = std::max(1, image.width());
    const qint64 height = std::max(1, image.height());
    if (width > maxBitmapSide || height > maxBitmapSide || width * height > maxBitmapPixels)
        return std::nullopt;
    if (image.isNull())
        return makeBitmap(width, height);
    // Converting to the same format shares the pixels; the first write detaches them. Copying beats
    // clearing a fresh bitmap and drawing into it, which also spreads the blend over Qt's thread pool.
    QImage copy = image.convertToFormat(pixelFormat);
    if (copy.isNull() || copy.bits() == nullptr)
        return std::nullopt;
    return copy;
}

QImage Renderer::render(const QImage& image, std::span<const TreatmentEntry> record)
{
    QImage current = image;
    for (const TreatmentEntry& entry : record) {
        if (std::optional<QImage> next = applyTreatment(current, entry.treatment))
            current = std::move(*next);
    }
    return current;
}

std::optional<QImage> Renderer::applyTreatment(const QImage& image, const Treatment& treatment)
{
    switch (treatment.kind()) {
    case TreatmentKind::crop: {
        const CropSpec& crop = std::get<CropSpec>(treatment.spec);
        return cropOrPad(image, crop.x, crop.y, crop.width, crop.height);
    }
    case TreatmentKind::extend:
        return applyExtend(image, std::get<ExtendSpec>(treatment.spec));
    case TreatmentKind::resize:
        return applyResize(image, std::get<ResizeSpec>(treatment.spec));
    case TreatmentKind::ground:
        return applyGround(image, std::get<GroundSpec>(treatment.spec));
    case TreatmentKind::tone:
        return applyTone(image, std::get<ToneSpec>(treatment.spec));
    case TreatmentKind::text:
        return renderText(image, std::get<TextSpec>(treatment.spec));
    case TreatmentKind::stamp:
        return applyStamp(image, std::get<StampSpec>(treatment.spec));
    case TreatmentKind::frames:
        return std::nullopt;
    }
    return std::nullopt;
}

std::vector<FramePlan> Renderer::framePlan(std::span<const TreatmentEntry> record, const std::vector<qint64>& delays)
{
    std::vector<FramePlan> plan;
    plan.reserve(delays.size());
    for (size_t i = 0; i < delays.size(); ++i)
        plan.push_back({qint64(i), delays[i]});
    for (const TreatmentEntry& entry : record) {
        if (const FramesSpec* frames = std::get_if<FramesSpec>(&entry.treatment.spec))
            plan = frames->apply(plan);
    }
    return plan;
}

std::optional<QImage> Renderer::applyExtend(const QImage& image, const ExtendSpec& spec)
{
    const IntSize pad = spec.padding(QSizeF(image.size()));
    // The anchor grid only offers 0…2; anything else would push the image off the canvas.
    const qint64 h = std::clamp<qint64>(spec.anchor.h, 0, 2);
    const qint64 v = std::clamp<qint64>(spec.anchor.v, 0, 2);
    return cropOrPad(image, -((pad.width * h) / 2), -((pad.height * v) / 2), spec.width, spec.height);
}

std::optional<QImage> Renderer::applyResize(const QImage& image, const ResizeSpec& spec)
{
    const double w = image.width();
    const double h = image.height();
    const double longer = std::max(w, h);
    // The longer side comes out at longestEdge, so anything past the bitmap limit cannot be made.
    if (!(longer > 0) || spec.longestEdge > maxBitmapSide)
        return std::nullopt;
    const double s = double(spec.longestEdge) / longer;
    const qint64 width = std::max<qint64>(1, roundHalfAway(w * s));
    const qint64 height = std::max<qint64>(1, roundHalfAway(h * s));
    if (width == image.width() && height == image.height())
        return std::nullopt;
    return resampled(image, width, height);
}

std::optional<QImage> Renderer::applyStamp(const QImage& image, const StampSpec& spec)
{
    const std::optional<QImage> stamp = decodeStamp(spec.imageData);
    if (!stamp || stamp->isNull())
        return std::nullopt;
    std::optional<QImage> canvas = drawableCopy(image);
    if (!canvas)
        return std::nullopt;
    const double w = spec.width;
    const double h = stamp->width() > 0 ? w * stamp->height() / stamp->width() : w;
    QPainter painter(&*canvas);
    painter.setOpacity(std::clamp(spec.opacity, 0.0, 1.0));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(spec.center);
    painter.rotate(spec.rotation);
    painter.drawImage(QRectF(-w / 2, -h / 2, w, h), *stamp);
    painter.end();
    return canvas;
}

} // namespace plenoria
