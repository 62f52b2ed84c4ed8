#include "inspectors/stamp/StampThumbnail.h"

#include "imaging/model/Theme.h"
#include "imaging/read/ImageSource.h"

#include <QPainter>

namespace plenoria {

StampThumbnail::StampThumbnail(QWidget* parent)
    : QWidget(parent)
{
    setFixedSize(side, side);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

bool StampThumbnail::setImageData(const QByteArray& imageData)
{
    if (imageData == m_data && !m_data.isNull())
        return !m_image.isNull();
    m_data = imageData;
    m_image = QImage();
    if (const std::optional<ImageSource> source = ImageSource::fromData(imageData)) {
        if (std::optional<QImage> frame = source->decodeFrame(0))
            m_image = std::move(*frame);
    }
    update();
    return !m_image.isNull();
}

void StampThumbnail::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::raised());
    painter.drawRoundedRect(rect(), 4, 4);
    if (m_image.isNull() || m_image.width() <= 0 || m_image.height() <= 0)
        return;
    const QSizeF fitted = QSizeF(m_image.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
    const QRectF target(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_image);
}

} // namespace plenoria
