#include "imaging/read/PngChunks.h"

#include <QtEndian>
#include <zlib.h>

namespace plenoria {

void appendBigEndian16(QByteArray& out, quint16 value)
{
    char bytes[2];
    qToBigEndian(value, bytes);
    out.append(bytes, 2);
}

void appendBigEndian32(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

void appendPngChunk(QByteArray& out, QByteArrayView type, QByteArrayView data)
{
    appendBigEndian32(out, quint32(data.size()));
    out.append(type);
    out.append(data);
    uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(type.data()), uInt(type.size()));
    // zlib reads a null buffer as "give me the initial value", which an empty chunk's view may be.
    if (!data.isEmpty())
        crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size()));
    appendBigEndian32(out, quint32(crc));
}

} // namespace plenoria
