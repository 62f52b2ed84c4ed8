#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <vector>

namespace plenoria::test {

// One filled ellipse of a scene, drawn in order.
struct Blob {
    QRectF bounds;
    QColor color;
};

// The blobs drawn anti-aliased over `ground` (a solid colour, or the image itself when given).
QImage blobsImage(int width, int height, const std::vector<Blob>& blobs, QColor ground = Qt::transparent);
QImage blobsOver(QImage ground, const std::vector<Blob>& blobs);

// A pale round face with dark eyes and white highlights in them, on a white ground: the face stands
// only a little apart from the ground, its eyes a lot.
QImage paleFaceImage(int side);

// Three discs of different sizes standing apart on a plain light ground (#ECE8DC), 160 × 120: three
// subjects for the detector, none touching the border.
QImage threeSubjectsImage();

// `image` with every opaque pixel's channels moved by up to ±`amount` (a fixed pseudo-random
// sequence), as compression leaves a flat ground.
QImage withNoise(QImage image, int amount);

} // namespace plenoria::test
