#include "bench/canvas/CanvasOverlays.h"

#include "bench/canvas/CanvasGeometry.h"
#include "bench/canvas/ExtendOverlay.h"
#include "imaging/read/ImageSource.h"
#include "imaging/render/Renderer.h"

namespace plenoria {

CanvasOverlays::CanvasOverlays(BenchModel& model)
    : m_model(model)
{ }

void CanvasOverlays::refresh(QSizeF canvasSize)
{
    const std::optional<QImage>& rendered = m_model.rendered();
    const std::optional<qint64> index = m_model.selectedIndex();
    const std::optional<QUuid> row = index ? m_model.selection() : std::nullopt;
    if (!rendered || row != m_boundRow) {
        hideAll();
        m_boundRow = row;
    }
    if (!rendered) {
        m_displayRect = QRectF();
        return;
    }
    const QSizeF imageSize(rendered->size());
    const std::optional<qint64> extend = m_model.selectedExtendIndex();
    std::optional<ExtendSpec> extendSpec;
    if (extend)
        extendSpec = m_model.record()[size_t(*extend)].treatment.extendSpec();
    const std::optional<QRectF> grown
        = extendSpec ? std::optional(extendCanvasRect(imageSize, *extendSpec)) : std::nullopt;
    m_displayRect = canvasImageRect(grown, imageSize.width(), imageSize.height(), canvasSize);
    m_extendOutline = extendSpec
        ? std::optional(ExtendOverlay::outlineRect(imageSize, m_displayRect, *extendSpec))
        : std::nullopt;

    showCrop(m_model.selectedCropIndex(), imageSize);
    showPlacement(m_model.selectedPlacementIndex(), imageSize);
}

void CanvasOverlays::showCrop(std::optional<qint64> index, QSizeF imageSize)
{
    if (!index) {
        m_crop.reset();
        m_showsCrop = false;
        return;
    }
    m_showsCrop = true;
    const CropSpec spec = *m_model.record()[size_t(*index)].treatment.cropSpec();
    m_crop.setGeometry(imageSize, m_displayRect);
    m_crop.setSpec(m_model.specBinding<CropSpec>(*index, spec));
}

void CanvasOverlays::showPlacement(std::optional<qint64> row, QSizeF imageSize)
{
    if (!row) {
        m_placement.reset();
        m_showsPlacement = false;
        return;
    }
    m_showsPlacement = true;
    const qint64 index = *row;
    const Treatment& treatment = m_model.record()[size_t(index)].treatment;
    m_placement.setGeometry(imageSize, m_displayRect, placementBox(treatment));
    BenchModel* model = &m_model;
    if (const std::optional<TextSpec> text = treatment.textSpec()) {
        const Binding<TextSpec> spec = m_model.specBinding<TextSpec>(index, *text);
        m_placement.setBindings(spec.projected<QPointF>([](const TextSpec& s) { return s.center; },
                                    [](TextSpec& s, const QPointF& center) { s.center = center; }),
            spec.projected<double>([](const TextSpec& s) { return s.rotation; },
                [](TextSpec& s, double rotation) { s.rotation = rotation; }),
            [model, index](double width) { model->resizeText(index, width); });
    } else if (const std::optional<StampSpec> stamp = treatment.stampSpec()) {
        const Binding<StampSpec> spec = m_model.specBinding<StampSpec>(index, *stamp);
        m_placement.setBindings(spec.projected<QPointF>([](const StampSpec& s) { return s.center; },
                                    [](StampSpec& s, const QPointF& center) { s.center = center; }),
            spec.projected<double>([](const StampSpec& s) { return s.rotation; },
                [](StampSpec& s, double rotation) { s.rotation = rotation; }),
            [model, index](double width) { model->resizeStamp(index, width); });
    }
}

QSizeF CanvasOverlays::placementBox(const Treatment& treatment)
{
    if (const std::optional<TextSpec> text = treatment.textSpec())
        return Renderer::textBoxSize(*text);
    const StampSpec stamp = treatment.stampSpec().value_or(StampSpec{});
    if (!m_stampAspect || m_stampAspect->first != stamp.imageData)
        m_stampAspect.emplace(stamp.imageData, stampAspect(stamp.imageData));
    return QSizeF(stamp.width, stamp.width * m_stampAspect->second);
}

double CanvasOverlays::stampAspect(const QByteArray& imageData)
{
    const std::optional<ImageSource> source = ImageSource::fromData(imageData);
    const std::optional<QImage> image = source ? source->decodeFrame(0) : std::nullopt;
    if (!image || image->width() < 1)
        return 1;
    return double(image->height()) / double(image->width());
}

void CanvasOverlays::hideAll()
{
    showCrop(std::nullopt, {});
    showPlacement(std::nullopt, {});
    m_extendOutline.reset();
}

bool CanvasOverlays::press(QPointF location)
{
    if (m_showsCrop)
        return m_crop.press(location);
    if (m_showsPlacement)
        return m_placement.press(location);
    return false;
}

void CanvasOverlays::drag(QPointF location)
{
    if (m_showsCrop)
        m_crop.drag(location);
    else if (m_showsPlacement)
        m_placement.drag(location);
}

void CanvasOverlays::release()
{
    m_crop.release();
    m_placement.release();
}

bool CanvasOverlays::isDragging() const
{
    return (m_showsCrop && m_crop.grip()) || (m_showsPlacement && m_placement.grip());
}

} // namespace plenoria
