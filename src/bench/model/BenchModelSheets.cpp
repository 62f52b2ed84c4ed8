#include "bench/model/BenchModel.h"

#include "imaging/read/ImageSource.h"
#include "imaging/render/Renderer.h"

#include <QFileInfo>

namespace plenoria {

void BenchModel::openSaveGate()
{
    if (!m_showingExport)
        setShowingSaveGate(true);
}

void BenchModel::openExport()
{
    if (!m_showingSaveGate)
        setShowingExport(true);
}

void BenchModel::keepEditing()
{
    setShowingSaveGate(false);
}

void BenchModel::switchToExport()
{
    transact([this] {
        setShowingSaveGate(false);
        setShowingExport(true);
    });
}

void BenchModel::cancelExport()
{
    setShowingExport(false);
}

bool BenchModel::saveLosesTransparency() const
{
    const std::optional<ImageSource> source = ImageSource::fromData(m_session.originalData);
    if (!source)
        return false;
    const std::optional<QImage>& first = firstImage();
    if (!first)
        return false;
    // Frames rows take no part: an animation is judged by its first frame.
    const QImage rendered = Renderer::render(*first, m_session.record);
    return !Renderer::keepsTransparency(rendered, source->type(), *m_encoder);
}

void BenchModel::setEncoder(std::shared_ptr<const ImageEncoder> encoder)
{
    m_encoder = encoder ? std::move(encoder) : std::make_shared<ImageEncoder>();
}

std::optional<Filmstrip> BenchModel::exportStrip() const
{
    return Renderer::renderFilmstrip(m_session.originalData, m_session.record);
}

QString BenchModel::baseName() const
{
    return QFileInfo(fileName()).completeBaseName();
}

} // namespace plenoria
