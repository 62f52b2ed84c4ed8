#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <optional>
#include <vector>

namespace plenoria::test {

// One frame of a generated animated PNG, with its frame control fields as stored.
struct ApngFrame {
    QImage image;
    QPoint offset;
    int delayNumerator = 1;
    int delayDenominator = 10; // 0 means hundredths
    int dispose = 0; // 0 none, 1 background, 2 previous
    int blend = 0; // 0 source, 1 over
};

struct ApngOptions {
    QSize canvas; // empty: the first frame's size
    int plays = 0; // acTL num_plays
    std::optional<QImage> hiddenDefault; // a default image that is not part of the animation
};

// An APNG whose frames are encoded by Qt's PNG writer and wrapped in acTL/fcTL/fdAT chunks.
QByteArray makeApng(const std::vector<ApngFrame>& frames, const ApngOptions& options = {});

// A still PNG of the image.
QByteArray encodePng(const QImage& image);

// The same bytes with every chunk's CRC recomputed, for tests that edit chunk payloads in place.
QByteArray withFixedPngCrcs(QByteArray png);

} // namespace plenoria::test
