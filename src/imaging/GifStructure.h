#pragma once

#include <QByteArrayView>
#include <QRect>
#include <QSize>
#include <optional>
#include <vector>

namespace plenoria {

// The block structure of a GIF file, walked without decoding any pixel data.
struct GifStructure {
    struct Frame {
        qint64 descriptorOffset = 0; // of the byte after the image separator
        QRect rect; // as stated, which may reach beyond the logical screen
        bool hasControl = false; // a Graphic Control Extension precedes the image
        int disposal = 0;
        std::optional<int> transparentIndex;
        int delayCentiseconds = 0;
    };

    QSize screen;
    bool hasGlobalColorTable = false;
    std::vector<Frame> frames; // every image whose descriptor is complete, in file order
    std::optional<qint64> loopCount;

    // None unless the bytes start with a GIF header and logical screen descriptor. A file that is
    // truncated or damaged further on keeps the frames described before the damage.
    [[nodiscard]] static std::optional<GifStructure> parse(QByteArrayView data);
};

} // namespace plenoria
