#include "bench/model/BenchModel.h"

#include "imaging/model/HexColor.h"
#include "imaging/render/Renderer.h"

#include <QTimer>
#include <algorithm>

namespace plenoria {

void BenchModel::resizeText(qint64 index, double width)
{
    const TextSpec* current = specAt<TextSpec>(index);
    if (!current || !(current->size > 0))
        return;
    const double boxWidth = Renderer::textBoxSize(*current).width();
    if (!(boxWidth > 0))
        return;
    const double ratio = width / boxWidth;
    TextSpec spec = *current;
    spec.size = std::max(spec.size * ratio, 4.0);
    // The outline keeps its share of the glyphs, even while the size is held at its floor.
    spec.outlineWidth = spec.outlineWidth * ratio;
    setTreatment(index, spec);
}

void BenchModel::resizeStamp(qint64 index, double width)
{
    const StampSpec* current = specAt<StampSpec>(index);
    if (!current)
        return;
    StampSpec spec = *current;
    spec.width = width;
    setTreatment(index, spec);
}

void BenchModel::pickGroundColor()
{
    setSamplingGroundColor(true);
    // After the click that asked for it has been handled, so that click picks nothing.
    QTimer::singleShot(0, this, [this] {
        if (m_samplingGroundColor)
            emit samplerRequested();
    });
}

void BenchModel::applySampledColor(const std::optional<QColor>& color)
{
    transact([&] {
        setSamplingGroundColor(false);
        const std::optional<qint64> index = selectedIndex(TreatmentKind::ground);
        if (!color || !index)
            return;
        GroundSpec spec = *specAt<GroundSpec>(*index);
        ColorKey key;
        if (const ColorKey* previous = std::get_if<ColorKey>(&spec.key))
            key = *previous;
        key.hex = hexString(*color);
        spec.key = key;
        setTreatment(*index, spec);
    });
}

} // namespace plenoria
