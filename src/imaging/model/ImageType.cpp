#include "imaging/model/ImageType.h"

#include <array>
#include <cstring>

namespace plenoria {

QString imageTypeName(ImageType type)
{
    switch (type) {
    case ImageType::PNG: return QStringLiteral("PNG");
    case ImageType::GIF: return QStringLiteral("GIF");
    case ImageType::JPEG: return QStringLiteral("JPEG");
    case ImageType::WebP: return QStringLiteral("WebP");
    case ImageType::HEIC: return QStringLiteral("HEIC");
    case ImageType::AVIF: return QStringLiteral("AVIF");
    case ImageType::TIFF: return QStringLiteral("TIFF");
    case ImageType::BMP: return QStringLiteral("BMP");
    }
    return {};
}

namespace {

bool startsWith(QByteArrayView data, const char* magic, qsizetype length, qsizetype offset = 0)
{
    return data.size() >= offset + length && std::memcmp(data.data() + offset, magic, size_t(length)) == 0;
}

quint32 bigEndian32(QByteArrayView data, qsizetype offset)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data.data() + offset);
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

// ISO-BMFF: an "ftyp" box whose major or compatible brands name the still-image flavour.
std::optional<ImageType> isoBrand(QByteArrayView data)
{
    if (!startsWith(data, "ftyp", 4, 4))
        return std::nullopt;
    const qsizetype boxSize = qsizetype(bigEndian32(data, 0));
    const qsizetype end = std::min(data.size(), std::max<qsizetype>(boxSize, 16));
    static constexpr std::array avif{"avif", "avis"};
    static constexpr std::array heic{"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1"};
    std::optional<ImageType> found;
    for (qsizetype offset = 8; offset + 4 <= end; offset += 4) {
        if (offset == 12)
            continue; // minor version, not a brand
        const QByteArrayView brand = data.sliced(offset, 4);
        for (const char* b : avif)
            if (brand == QByteArrayView(b, 4))
                return ImageType::AVIF;
        for (const char* b : heic)
            if (brand == QByteArrayView(b, 4))
                found = ImageType::HEIC;
    }
    return found;
}

} // namespace

std::optional<ImageType> detectImageType(QByteArrayView head)
{
    if (startsWith(head, "\x89PNG\r\n\x1a\n", 8))
        return ImageType::PNG;
    if (startsWith(head, "GIF87a", 6) || startsWith(head, "GIF89a", 6))
        return ImageType::GIF;
    if (startsWith(head, "\xff\xd8\xff", 3))
        return ImageType::JPEG;
    if (startsWith(head, "RIFF", 4) && startsWith(head, "WEBP", 4, 8))
        return ImageType::WebP;
    if (startsWith(head, "II*\0", 4) || startsWith(head, "MM\0*", 4))
        return ImageType::TIFF;
    if (startsWith(head, "BM", 2) && head.size() >= 26)
        return ImageType::BMP;
    return isoBrand(head);
}

} // namespace plenoria
