#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <vector>

namespace plenoria::test {

// Files that state far more than they hold: sizes, frame counts or chunks chosen to make a reader
// overflow, stall or exhaust memory. Large ones are made here at test time, never stored.

// A 1 × 1 PNG whose header states `width` × `height` (checksums kept valid).
QByteArray hugeSidedPng(quint32 width, quint32 height);
// A BMP (40-byte header) stating `width` × `height` over a few bytes of pixels.
QByteArray hugeSidedBmp(qint32 width, qint32 height);

// An animated WebP of `frames` 1 × 1 lossless frames on a canvas of `canvas`, each frame 10 ms.
QByteArray manyFrameWebP(qint64 frames, QSize canvas = QSize(1, 1));

// A GIF of `descriptors` bare 1 × 1 image descriptors (no pixel codes) on a screen of `screen`.
QByteArray manyDescriptorGif(qint64 descriptors, QSize screen = QSize(1, 1));

// An animated PNG of one real frame followed by `chunks` empty fcTL chunks, on a canvas of `canvas`.
QByteArray fcTLFloodApng(qint64 chunks, QSize canvas = QSize(1, 1));

// The PNG with a chunk of `type` and `payload` inserted right after IHDR.
QByteArray withChunkAfterHeader(const QByteArray& png, const char* type, const QByteArray& payload);

// An iCCP chunk payload whose compressed profile states `statedLength` bytes in its header and
// continues with `body`.
QByteArray iccpPayload(quint32 statedLength, const QByteArray& body);

// A 6 × 6 PNG of three palette colours, one of them transparent (PLTE and tRNS chunks).
QByteArray indexedPng();

// The still PNG as an animated PNG of one frame whose image data is the default image.
QByteArray singleFrameApng(const QByteArray& png);

// A GIF whose first image has no Graphic Control Extension, whose second has one, and which carries
// one more Graphic Control Extension, with no image after it, before the trailer.
QByteArray gifWithStrayControl();

// A TIFF holding each image as one page, in order.
QByteArray multiPageTiff(const std::vector<QImage>& pages);

} // namespace plenoria::test
