#include "bench/canvas/BenchCanvas.h"

#include "bench/canvas/CanvasChrome.h"
#include "bench/canvas/CanvasEyedropper.h"
#include "bench/canvas/CropOverlayPainter.h"
#include "bench/canvas/ExtendOverlay.h"
#include "bench/canvas/PlacementOverlayPainter.h"
#include "imaging/model/Theme.h"
#include "store/Preferences.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <cmath>

namespace plenoria {

BenchCanvas::BenchCanvas(BenchModel& model, const Preferences& prefs, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
    , m_prefs(prefs)
    , m_overlays(model)
    , m_eyedropper(new CanvasEyedropper(model, *this))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // Only the canvas column gives way when the window narrows.
    setMinimumSize(1, 1);
    setMouseTracking(true);
    connect(&model, &BenchModel::changed, this, &BenchCanvas::modelChanged);
    // The grounds read the preferences afresh on every paint, so a new colour shows at once.
    connect(&prefs, &Preferences::previewDarkHexChanged, this, qOverload<>(&QWidget::update));
    connect(&prefs, &Preferences::previewLightHexChanged, this, qOverload<>(&QWidget::update));
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
    m_overlays.refresh(QSizeF(size()));
}

BenchCanvas::~BenchCanvas() = default;

void BenchCanvas::modelChanged(BenchModel::Changes changes)
{
    using Change = BenchModel::Change;
    if (changes & (Change::rendered | Change::record | Change::selection))
        m_overlays.refresh(QSizeF(size()));
    if (changes & (Change::rendered | Change::record | Change::selection | Change::ground))
        update();
}

QString BenchCanvas::failureText() const
{
    return QStringLiteral("Couldn\u2019t render ") + m_model.fileName() + QStringLiteral(".");
}

void BenchCanvas::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_overlays.refresh(QSizeF(size()));
}

void BenchCanvas::paintPicture(QPainter& painter) const
{
    painter.fillRect(rect(), Theme::background());
    CanvasChrome::paintGround(painter, m_model.ground(), rect(), m_prefs);
    if (const std::optional<QImage>& image = m_model.rendered()) {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(imageRect(), *image);
        painter.restore();
    }
}

void BenchCanvas::paintOverlay(QPainter& painter) const
{
    if (const CropOverlay* crop = m_overlays.crop())
        CropOverlayPainter::paint(painter, *crop);
    if (const std::optional<QRectF> outline = m_overlays.extendOutline())
        ExtendOverlay::paint(painter, *outline);
    if (const PlacementOverlay* placement = m_overlays.placement())
        PlacementOverlayPainter::paint(painter, *placement);
}

void BenchCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setClipRect(rect());
    paintPicture(painter);
    const QSizeF area(size());
    if (const std::optional<QImage>& image = m_model.rendered()) {
        paintOverlay(painter);
        CanvasChrome::paintCaption(
            painter, area, CanvasChrome::sizeText(image->size()), m_model.canvasCaption());
    } else {
        painter.setFont(Theme::serifFont(14));
        painter.setPen(Theme::rust());
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, failureText());
    }
    CanvasChrome::paintGroundButtons(painter, area, m_model.ground(), m_prefs);
}

QColor BenchCanvas::shownColor(QPointF location) const
{
    QImage pixel(1, 1, QImage::Format_ARGB32_Premultiplied);
    pixel.fill(Qt::transparent);
    {
        QPainter painter(&pixel);
        painter.translate(-std::floor(location.x()), -std::floor(location.y()));
        paintPicture(painter);
    }
    return pixel.pixelColor(0, 0);
}

bool BenchCanvas::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (const std::optional<CanvasGround> ground
            = CanvasChrome::groundButtonAt(QSizeF(size()), help->pos())) {
            const QRect button = CanvasChrome::groundButtonRect(QSizeF(size()), *ground).toAlignedRect();
            QToolTip::showText(help->globalPos(), canvasGroundId(*ground), this, button);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

void BenchCanvas::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const QPointF location = event->position();
    // The buttons lie over everything else.
    m_pressedGround = CanvasChrome::groundButtonAt(QSizeF(size()), location);
    if (m_pressedGround)
        return;
    if (!m_overlays.press(location))
        event->ignore();
}

void BenchCanvas::mouseMoveEvent(QMouseEvent* event)
{
    if (m_overlays.isDragging())
        m_overlays.drag(event->position());
    else
        updateCursor(event->position());
}

void BenchCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_overlays.release();
    const std::optional<CanvasGround> pressed = std::exchange(m_pressedGround, std::nullopt);
    if (pressed && pressed == CanvasChrome::groundButtonAt(QSizeF(size()), event->position()))
        m_model.setGround(*pressed);
    updateCursor(event->position());
}

void BenchCanvas::updateCursor(QPointF location)
{
    if (m_eyedropper->isPicking())
        return;
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (CanvasChrome::groundButtonAt(QSizeF(size()), location)) {
        shape = Qt::PointingHandCursor;
    } else if (const CropOverlay* crop = m_overlays.crop()) {
        if (const std::optional<CropOverlay::Grip> grip = crop->hit(location)) {
            const std::optional<CropOverlay::Corner> corner = grip->corner;
            if (!corner)
                shape = Qt::SizeAllCursor;
            else if (corner == CropOverlay::Corner::topLeft || corner == CropOverlay::Corner::bottomRight)
                shape = Qt::SizeFDiagCursor;
            else
                shape = Qt::SizeBDiagCursor;
        }
    } else if (const PlacementOverlay* placement = m_overlays.placement()) {
        if (const std::optional<PlacementOverlay::Grip> grip = placement->hit(location))
            shape = *grip == PlacementOverlay::Grip::box ? Qt::SizeAllCursor : Qt::PointingHandCursor;
    }
    if (cursor().shape() != shape)
        setCursor(shape);
}

} // namespace plenoria
