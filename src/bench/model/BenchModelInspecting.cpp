#include "bench/model/BenchModel.h"

#include "imaging/render/Renderer.h"

#include <algorithm>

namespace plenoria {

QSizeF BenchModel::inputSizeAt(qint64 row) const
{
    const qint64 count = std::clamp<qint64>(row, 0, qint64(m_session.record.size()));
    return inputSize(TreatmentRecord(m_session.record.begin(), m_session.record.begin() + count));
}

Binding<qint64> BenchModel::cropFieldBinding(qint64 row, qint64 CropSpec::*field)
{
    const QPointer<BenchModel> model(this);
    return Binding<qint64>(
        [model, row, field]() -> qint64 {
            const CropSpec* crop = model ? model->specAt<CropSpec>(row) : nullptr;
            return crop ? crop->*field : 0;
        },
        [model, row, field](const qint64& value) {
            const CropSpec* crop = model ? model->specAt<CropSpec>(row) : nullptr;
            if (!crop)
                return;
            CropSpec changed = *crop;
            changed.*field = value;
            model->setTreatment(row, changed.clamped(model->inputSizeAt(row)));
        });
}

void BenchModel::setFullCrop(qint64 row)
{
    const QSizeF input = inputSizeAt(row);
    setTreatment(row, CropSpec{0, 0, qint64(input.width()), qint64(input.height())});
}

void BenchModel::setSquareCrop(qint64 row)
{
    const QSizeF input = inputSizeAt(row);
    const qint64 width = qint64(input.width());
    const qint64 height = qint64(input.height());
    const qint64 side = std::min(width, height);
    setTreatment(row, CropSpec{(width - side) / 2, (height - side) / 2, side, side});
}

void BenchModel::trimTransparentBorder(qint64 row)
{
    const CropSpec* crop = specAt<CropSpec>(row);
    if (!crop)
        return;
    const std::optional<QImage> input = renderPrefix(row);
    if (!input)
        return;
    CropSpec trimmed = *crop;
    if (const std::optional<QRect> content = Renderer::contentBounds(*input)) {
        const qint64 left = std::max<qint64>(crop->x, content->x());
        const qint64 top = std::max<qint64>(crop->y, content->y());
        const qint64 right = std::min<qint64>(crop->x + crop->width, qint64(content->x()) + content->width());
        const qint64 bottom
            = std::min<qint64>(crop->y + crop->height, qint64(content->y()) + content->height());
        if (right - left >= 1 && bottom - top >= 1)
            trimmed = CropSpec{left, top, right - left, bottom - top};
    }
    setTreatment(row, trimmed.clamped(QSizeF(input->size())));
}

Binding<qint64> BenchModel::extendSideBinding(qint64 row, Qt::Orientation side)
{
    const QPointer<BenchModel> model(this);
    return Binding<qint64>(
        [model, row, side]() -> qint64 {
            const ExtendSpec* extend = model ? model->specAt<ExtendSpec>(row) : nullptr;
            if (!extend)
                return 0;
            return side == Qt::Horizontal || model->m_extendSquareLocked ? extend->width : extend->height;
        },
        [model, row, side](const qint64& value) {
            const ExtendSpec* extend = model ? model->specAt<ExtendSpec>(row) : nullptr;
            if (!extend)
                return;
            const QSizeF input = model->inputSizeAt(row);
            if (model->m_extendSquareLocked) {
                model->setTreatment(row, extend->squared(value, input));
                return;
            }
            ExtendSpec changed = *extend;
            (side == Qt::Horizontal ? changed.width : changed.height) = value;
            model->setTreatment(row, changed.clamped(input));
        });
}

void BenchModel::extendCameIntoView(qint64 row)
{
    const ExtendSpec* extend = specAt<ExtendSpec>(row);
    setExtendSquareLocked(extend && extend->width == extend->height);
}

void BenchModel::toggleSquareLock(qint64 row)
{
    transact([&] {
        setExtendSquareLocked(!m_extendSquareLocked);
        const ExtendSpec* extend = specAt<ExtendSpec>(row);
        if (m_extendSquareLocked && extend)
            setTreatment(row, extend->squared(std::max(extend->width, extend->height), inputSizeAt(row)));
    });
}

void BenchModel::setExtendAnchor(qint64 row, Anchor anchor)
{
    if (const ExtendSpec* extend = specAt<ExtendSpec>(row))
        setTreatment(row, ExtendSpec{extend->width, extend->height, anchor});
}

void BenchModel::setLongestEdge(qint64 row, qint64 longestEdge)
{
    setTreatment(row, ResizeSpec{std::clamp<qint64>(longestEdge, 1, maxLongestEdge)});
}

void BenchModel::replaceStampImage(qint64 row)
{
    if (!specAt<StampSpec>(row))
        return;
    const std::optional<PickedStamp> picked = pickStamp();
    // The picker is modal, but the row is read again after it all the same.
    const StampSpec* stamp = specAt<StampSpec>(row);
    if (!picked || !stamp)
        return;
    StampSpec changed = *stamp;
    changed.imageData = picked->imageData;
    changed.name = picked->name;
    setTreatment(row, changed);
}

} // namespace plenoria
