#pragma once

#include <QByteArray>

namespace plenoria::test {

// The first `keep` bytes of `bytes`, as a download cut short leaves a file.
QByteArray truncated(const QByteArray& bytes, qsizetype keep);

// `count` bytes from a fixed seed: noise that no decoder should take for an image.
QByteArray randomBytes(qsizetype count, quint32 seed = 1);

// A GIF header and logical screen of the given size followed by one frame descriptor of that size
// with almost no data: what a hostile file claims without paying for it.
QByteArray hugeGifHeader(int width, int height);

} // namespace plenoria::test
