#pragma once

#include "imaging/model/ImageType.h"

#include <QByteArray>
#include <QImage>
#include <QStringList>
#include <optional>
#include <vector>

namespace plenoria::test {

// What a peer program printed on stdout; none when it could not run or exited with an error.
std::optional<QByteArray> peerOutput(
    const QString& program, const QStringList& arguments, int timeoutMs = 60000);

// The bytes in a file of a fresh temporary folder that lives as long as the process.
QString writeTemporaryFile(const QByteArray& bytes, const QString& name);

// The first image of the bytes as a peer decodes it (dwebp, heif-convert, ImageMagick, or Qt's own
// reader for PNG, JPEG and BMP), in the pixel convention; none when the peer refuses it.
std::optional<QImage> decodeWithPeer(const QByteArray& bytes, ImageType type);

// The frames and "delay=num/den" lines apngdis extracts from an animated PNG, in order; the frames
// in the pixel convention.
struct Disassembled {
    std::vector<QImage> frames;
    std::vector<QString> delays;
};
std::optional<Disassembled> disassembleAPNG(const QByteArray& bytes);

} // namespace plenoria::test
