#include "DamagedFiles.h"

#include <random>

namespace plenoria::test {

QByteArray truncated(const QByteArray& bytes, qsizetype keep)
{
    return bytes.left(keep);
}

QByteArray randomBytes(qsizetype count, quint32 seed)
{
    std::mt19937 generator(seed);
    QByteArray bytes(count, Qt::Uninitialized);
    for (char& b : bytes)
        b = char(generator() & 0xFF);
    return bytes;
}

QByteArray hugeGifHeader(int width, int height)
{
    auto word = [](int v) { return QByteArray(1, char(v & 0xFF)) + QByteArray(1, char((v >> 8) & 0xFF)); };
    QByteArray gif("GIF89a");
    gif += word(width) + word(height);
    gif += QByteArray("\x80\x00\x00", 3); // global colour table of two entries
    gif += QByteArray("\x00\x00\x00\xff\xff\xff", 6);
    gif += QByteArray(1, 0x2C) + word(0) + word(0) + word(width) + word(height) + QByteArray(1, 0);
    gif += QByteArray("\x02\x02\x4c\x01\x00", 5); // code size 2, a few codes, end of data
    gif += QByteArray(1, 0x3B);
    return gif;
}

} // namespace plenoria::test
