#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

namespace plenoria {

// PNG's big-endian integers and length-type-data-CRC chunks, for the animated PNG reader and writer,
// which assemble chunks libpng does not know.
void appendBigEndian16(QByteArray& out, quint16 value);
void appendBigEndian32(QByteArray& out, quint32 value);
void appendPngChunk(QByteArray& out, QByteArrayView type, QByteArrayView data);

} // namespace plenoria
