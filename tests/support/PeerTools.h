#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace plenoria::test {

// Runs a peer tool (ImageMagick, gifsicle, the webp and heif tools) and waits for it; true when it
// started and exited with status 0. Its output goes to `output` when given.
bool runPeer(const QString& program, const QStringList& arguments, QByteArray* output = nullptr);

QByteArray readFileBytes(const QString& path);
bool writeFileBytes(const QString& path, const QByteArray& bytes);

} // namespace plenoria::test
