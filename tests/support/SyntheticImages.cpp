#include "SyntheticImages.h"

#include "imaging/model/Bitmap.h"

#include <QPainter>
#include <QRadialGradient>
#include <cmath>

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

QImage animatedEmojiFrame(int index, int frameCount)
{
    QImage frame(256, 256, pixelFormat);
    frame.fill(Qt::transparent);
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient shade(QPointF(100, 90), 160);
    shade.setColorAt(0, QColor(255, 230, 90));
    shade.setColorAt(1, QColor(230, 150, 20));
    painter.setPen(QPen(QColor(120, 70, 0), 6));
    painter.setBrush(shade);
    painter.drawEllipse(QRectF(16, 16, 224, 224));
    const double angle = index * 2 * M_PI / std::max(frameCount, 1);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(60, 30, 10));
    painter.drawEllipse(QPointF(90 + 12 * std::cos(angle), 100 + 12 * std::sin(angle)), 14, 20);
    painter.drawEllipse(QPointF(166 + 12 * std::cos(angle), 100 + 12 * std::sin(angle)), 14, 20);
    painter.setBrush(QColor(200, 40, 60, 200));
    painter.drawChord(QRectF(70, 130, 116, 70 + 20 * std::sin(angle)), 180 * 16, 180 * 16);
    return frame;
}

Filmstrip animatedEmojiStrip(int frameCount, qint64 delayMs)
{
    Filmstrip strip;
    for (int i = 0; i < frameCount; ++i) {
        strip.frames.push_back(animatedEmojiFrame(i, frameCount));
        strip.delays.push_back(delayMs);
    }
    return strip;
}

QColor pixelAt(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

} // namespace plenoria::test
