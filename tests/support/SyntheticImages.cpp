#include "SyntheticImages.h"

#include "Bitmap.h"

#include <QPainter>

namespace plenoria::test {

QImage solidImage(int width, int height, QColor color)
{
    QImage image(width, height, pixelFormat);
    image.fill(color);
    return image;
}

QImage discImage(int width, int height, QColor color, QColor ground)
{
    QImage image = solidImage(width, height, ground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    const int side = std::min(width, height);
    painter.drawEllipse(QRectF((width - side) / 2.0 + side * 0.1, (height - side) / 2.0 + side * 0.1, side * 0.8,
                               side * 0.8));
    return image;
}

QImage gradientImage(int width, int height, QColor from, QColor to)
{
    QImage image(width, height, pixelFormat);
    for (int x = 0; x < width; ++x) {
        const double t = width > 1 ? double(x) / (width - 1) : 0;
        const QColor c = QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * t),
                                          float(from.greenF() + (to.greenF() - from.greenF()) * t),
                                          float(from.blueF() + (to.blueF() - from.blueF()) * t));
        for (int y = 0; y < height; ++y)
            image.setPixelColor(x, y, c);
    }
    return image;
}

QColor pixelAt(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

} // namespace plenoria::test
