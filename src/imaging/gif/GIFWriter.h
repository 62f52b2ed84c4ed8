#pragma once

#include "imaging/model/GIFPalette.h"
#include "imaging/read/Filmstrip.h"

#include <QByteArray>
#include <QImage>
#include <optional>
#include <vector>

namespace plenoria {

// Writes GIF files from frames and patches the delays of existing ones. Stateless and reentrant: the
// export panel's size estimate runs it on worker threads.
class GIFWriter {
public:
    GIFWriter() = delete;

    // Every frame full-canvas with its own colour table, its delay (ms ÷ 10, held to 0 … 65535), disposal
    // "restore to background" and its transparent index; the loop count in a NETSCAPE2.0 extension.
    // None for a strip without frames, with a delay missing, or when writing fails.
    [[nodiscard]] static std::optional<QByteArray> encodeGIF(
        const Filmstrip& strip, const GIFPalette& palette);

    // A single-image GIF without delay or loop count, colours reduced as for GIFPalette::system().
    [[nodiscard]] static std::optional<QByteArray> encodeStill(const QImage& image);

    // The same bytes with the delay of image j's Graphic Control Extension (the one just before it)
    // set to delays[j] (ms); none unless every block is understood, the file ends with a trailer,
    // every image has its own control block and there is one delay per image. Nothing else
    // changes, not one pixel.
    [[nodiscard]] static std::optional<QByteArray> rewriteGIFDelays(
        const QByteArray& gif, const std::vector<qint64>& delays);

    // The offset of the first block (13 plus the global colour table); none when the bytes are not a GIF
    // header or the colour table runs past their end.
    [[nodiscard]] static std::optional<qint64> gifHeaderLength(const QByteArray& bytes);
};

} // namespace plenoria
