#include "collection/preview/PreviewTile.h"

#include "imaging/model/Rounding.h"
#include "imaging/model/Theme.h"
#include "inspectors/controls/SymbolIcon.h"

#include <QPainter>
#include <cmath>

namespace plenoria {

PreviewTile::PreviewTile(PreviewPaneModel& model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&m_model, &PreviewPaneModel::animationChanged, this, qOverload<>(&QWidget::update));
    connect(&m_model, &PreviewPaneModel::frameChanged, this, qOverload<>(&QWidget::update));
    connect(&m_model, &PreviewPaneModel::presentationChanged, this, [this] {
        update();
        emit sideChanged();
    });
}

void PreviewTile::setGround(const PreviewGround& ground)
{
    if (ground == m_ground)
        return;
    m_ground = ground;
    update();
}

void PreviewTile::setRoom(const QSizeF& room)
{
    if (m_room == room)
        return;
    m_room = room;
    update();
    emit sideChanged();
}

double PreviewTile::side() const
{
    const QSizeF room = m_room.value_or(QSizeF(size()));
    return PreviewPaneModel::tileSide(m_model.zoom(), room.width(), room.height());
}

qint64 PreviewTile::pixelSide() const
{
    return std::max<qint64>(1, roundHalfAway(side() * devicePixelRatioF()));
}

QRectF PreviewTile::imageRect() const
{
    const GIFAnimation* animation = m_model.animation();
    if (!animation || animation->frames.empty())
        return {};
    const double ratio = devicePixelRatioF();
    const QSize fitted = fittedInSquare(animation->frames.front().size(), pixelSide());
    // Placed on whole device pixels, so that a frame scaled to its shown size is copied, not resampled.
    const double x = std::floor((width() * ratio - fitted.width()) / 2);
    const double y = std::floor((height() * ratio - fitted.height()) / 2);
    return {x / ratio, y / ratio, fitted.width() / ratio, fitted.height() / ratio};
}

void PreviewTile::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit sideChanged();
}

void PreviewTile::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The pane's own background shows through a ground that is no colour, as nothing would.
    painter.fillRect(rect(), Theme::background());
    painter.fillRect(rect(), m_ground.color);
    const QColor contrast = PreviewPaneModel::contrastColor(m_ground.color);
    if (m_model.animation())
        paintFrame(painter);
    else
        paintPlaceholder(painter, contrast);
    paintCaption(painter, contrast);
}

void PreviewTile::paintPlaceholder(QPainter& painter, const QColor& contrast)
{
    QColor color = contrast;
    color.setAlphaF(placeholderOpacity);
    const QPixmap symbol
        = SymbolIcon::pixmap(QStringLiteral("photo"), placeholderSize, color, devicePixelRatioF());
    const QPointF origin((width() - placeholderSize) / 2.0, (height() - placeholderSize) / 2.0);
    painter.drawPixmap(origin, symbol);
}

void PreviewTile::paintFrame(QPainter& painter)
{
    const GIFAnimation& animation = *m_model.animation();
    const qint64 index
        = std::clamp<qint64>(m_model.currentFrameIndex(), 0, qint64(animation.frames.size()) - 1);
    const QRectF target = imageRect();
    painter.save();
    painter.setClipRect(rect());
    if (std::optional<QImage> scaled = m_model.scaledFrame(index, pixelSide())) {
        scaled->setDevicePixelRatio(devicePixelRatioF());
        painter.drawImage(target.topLeft(), *scaled);
    } else {
        // Until the frames scaled off the main thread arrive, the painter's own filter stands in.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, animation.frames[size_t(index)]);
    }
    painter.restore();
}

void PreviewTile::paintCaption(QPainter& painter, const QColor& contrast)
{
    QFont font = Theme::monospacedFont(10, QFont::Medium);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    QColor color = contrast;
    color.setAlphaF(captionOpacity);
    painter.setFont(font);
    painter.setPen(color);
    const QRect area = rect().adjusted(captionPadding, captionPadding, -captionPadding, -captionPadding);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignBottom, m_ground.label.toUpper());
}

} // namespace plenoria
