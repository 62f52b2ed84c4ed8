#include "collection/preview/PreviewColumnController.h"

#include "collection/controller/ContentController.h"
#include "imaging/model/Theme.h"

namespace plenoria {

PreviewColumnController::PreviewColumnController(ContentController& content, QObject* parent)
    : QObject(parent)
    , m_content(content)
{
    connect(&content, &ContentController::selectionChanged, this, &PreviewColumnController::changed);
    connect(&content, &ContentController::listsChanged, this, &PreviewColumnController::changed);
    connect(&content, &ContentController::previewZoomSideChanged, this, &PreviewColumnController::changed);
    const Preferences& prefs = content.prefs();
    connect(&prefs, &Preferences::zoomChanged, this, &PreviewColumnController::changed);
    connect(&prefs, &Preferences::animateGIFsChanged, this, &PreviewColumnController::changed);
}

std::optional<ImageItem> PreviewColumnController::item() const
{
    return m_content.selectedItem();
}

QString PreviewColumnController::titleText() const
{
    const std::optional<ImageItem> shown = item();
    return shown ? shown->filename : QStringLiteral("No specimen");
}

bool PreviewColumnController::showsPlaybackChip() const
{
    const std::optional<ImageItem> shown = item();
    return shown && !shown->gifTiming.isStill();
}

bool PreviewColumnController::showsTimingChip() const
{
    const std::optional<ImageItem> shown = item();
    return shown && shown->gifTiming.animated && !shown->gifTiming.animated->healthy;
}

QString PreviewColumnController::playbackSymbol() const
{
    return m_content.prefs().animateGIFs() ? QStringLiteral("media-playback-start")
                                           : QStringLiteral("media-playback-pause");
}

PreviewColumnController::ColorRole PreviewColumnController::playbackTint() const
{
    return m_content.prefs().animateGIFs() ? &Theme::moss : &Theme::inkSecondary;
}

QString PreviewColumnController::playbackHelp() const
{
    return m_content.prefs().animateGIFs() ? QStringLiteral("Animation on — press / to freeze")
                                           : QStringLiteral("Animation off — press / to play");
}

QString PreviewColumnController::timingChipText()
{
    return QStringLiteral("! fix timing");
}

QString PreviewColumnController::timingHelp()
{
    return QStringLiteral("This GIF declares no frame delays, so it plays too fast. Opens it on the bench "
                          "with the repair ready to look at.");
}

QString PreviewColumnController::zoomLabel() const
{
    return zoomLabel(m_content.prefs().zoom(), m_content.previewZoomSide());
}

QString PreviewColumnController::zoomLabel(ZoomLevel zoom, double previewZoomSide)
{
    const qint64 px = rawValue(zoom);
    const QString size = QString::number(px) + QStringLiteral(" px");
    if (previewZoomSide > 0.5 && previewZoomSide < double(px) - 0.5)
        return QStringLiteral("< ") + size;
    return size;
}

bool PreviewColumnController::canZoomOut() const
{
    return m_content.prefs().zoom() != ZoomLevel::px32;
}

bool PreviewColumnController::canZoomIn() const
{
    return m_content.prefs().zoom() != ZoomLevel::px512;
}

QString PreviewColumnController::resetZoomHelp()
{
    return QStringLiteral("Reset to default zoom — press 0");
}

void PreviewColumnController::zoomOut()
{
    Preferences& prefs = m_content.prefs();
    prefs.setZoom(stepped(prefs.zoom(), -1));
}

void PreviewColumnController::zoomIn()
{
    Preferences& prefs = m_content.prefs();
    prefs.setZoom(stepped(prefs.zoom(), 1));
}

void PreviewColumnController::resetZoom()
{
    Preferences& prefs = m_content.prefs();
    prefs.setZoom(prefs.defaultZoom());
}

void PreviewColumnController::togglePlayback()
{
    Preferences& prefs = m_content.prefs();
    prefs.setAnimateGIFs(!prefs.animateGIFs());
}

void PreviewColumnController::requestTimingRepair()
{
    if (showsTimingChip())
        emit timingRepairRequested();
}

} // namespace plenoria
