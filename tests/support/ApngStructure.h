#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace plenoria::test {

// One chunk of a PNG file as stored: its type, its data and the CRC written after them.
struct PngChunk {
    QByteArray type;
    QByteArray data;
    quint32 storedCrc = 0;
};

// The chunks that follow the signature, in file order; none when a length runs past the end or
// bytes are left over after the last chunk. The signature itself is not checked.
std::optional<std::vector<PngChunk>> pngChunks(const QByteArray& png);

// The CRC the format requires over a chunk's type and data, computed here independently of zlib.
quint32 pngCrc(QByteArrayView typeAndData);

// Whether the bytes are an animated PNG as the format defines it, whatever way its frames are cut:
// valid CRCs, IHDR first and IEND last, one acTL before the image data, consecutive IDATs, fcTL and
// fdAT sequence numbers 0 … n − 1 in file order without gap or repeat, one fcTL per frame, each
// followed by its data and inside the canvas, and acTL's counts equal to `frames` and `plays`.
// The failure names the first rule broken.
testing::AssertionResult isWellFormedApng(const QByteArray& png, qint64 frames, qint64 plays);

} // namespace plenoria::test
