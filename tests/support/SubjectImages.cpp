#include "SubjectImages.h"

#include "imaging/model/Bitmap.h"

#include <QPainter>
#include <algorithm>

namespace plenoria::test {

QImage blobsOver(QImage ground, const std::vector<Blob>& blobs)
{
    QPainter painter(&ground);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    for (const Blob& blob : blobs) {
        painter.setBrush(blob.color);
        painter.drawEllipse(blob.bounds);
    }
    return ground;
}

QImage blobsImage(int width, int height, const std::vector<Blob>& blobs, QColor ground)
{
    QImage image(width, height, pixelFormat);
    image.fill(ground);
    return blobsOver(image, blobs);
}

QImage paleFaceImage(int side)
{
    const double s = side / 100.0;
    return blobsImage(side, side,
        {{QRectF(15 * s, 15 * s, 70 * s, 70 * s), QColor(255, 236, 200)},
            {QRectF(32 * s, 35 * s, 12 * s, 16 * s), QColor(40, 25, 20)},
            {QRectF(56 * s, 35 * s, 12 * s, 16 * s), QColor(40, 25, 20)},
            {QRectF(35 * s, 38 * s, 4 * s, 4 * s), Qt::white},
            {QRectF(59 * s, 38 * s, 4 * s, 4 * s), Qt::white}},
        Qt::white);
}

QImage threeSubjectsImage()
{
    return blobsImage(160, 120,
        {{QRectF(8, 30, 56, 56), QColor(200, 40, 40)}, {QRectF(74, 20, 40, 40), QColor(40, 60, 200)},
            {QRectF(120, 70, 30, 30), QColor(30, 140, 60)}},
        QColor(236, 232, 220));
}

QImage withNoise(QImage image, int amount)
{
    image = image.convertToFormat(pixelFormat);
    quint32 state = 12345;
    for (int y = 0; y < image.height(); ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            uchar* p = row + 4 * x;
            if (p[3] != 255)
                continue;
            for (int c = 0; c < 3; ++c) {
                state = state * 1664525u + 1013904223u;
                const int shift = int(state >> 16) % (2 * amount + 1) - amount;
                p[c] = uchar(std::clamp(p[c] + shift, 0, 255));
            }
        }
    }
    return image;
}

} // namespace plenoria::test
