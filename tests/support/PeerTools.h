#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <vector>

namespace plenoria::test {

// Runs a peer tool (ImageMagick, gifsicle, the webp and heif tools) and waits for it; true when it
// started and exited with status 0. Its output goes to `output` when given.
bool runPeer(const QString& program, const QStringList& arguments, QByteArray* output = nullptr);

// A GIF87a of the frames (alpha dropped) as peers write it: ImageMagick one image each, joined by
// gifsicle, which keeps the older version while nothing needs the newer. Empty when a peer fails.
QByteArray makeGif87a(const std::vector<QImage>& frames);

QByteArray readFileBytes(const QString& path);
bool writeFileBytes(const QString& path, const QByteArray& bytes);

} // namespace plenoria::test
