#pragma once

#include <QByteArrayView>
#include <QRect>
#include <QSize>
#include <optional>
#include <vector>

namespace plenoria {

// The block structure of a GIF file, walked without decoding any pixel data.
struct GifStructure {
    // Kept small: a hostile file may state a million frames, each costing this much.
    struct Frame {
        qint64 descriptorOffset = 0; // of the byte after the image separator
        quint16 left = 0, top = 0, width = 0, height = 0; // as stated, may reach beyond the screen
        quint16 delayCentiseconds = 0;
        quint8 disposal = 0;
        bool hasControl = false; // a Graphic Control Extension precedes the image
        bool hasTransparency = false;
        quint8 transparent = 0;

        QRect rect() const { return QRect(left, top, width, height); }
        std::optional<int> transparentIndex() const
        {
            return hasTransparency ? std::optional<int>(transparent) : std::nullopt;
        }
    };

    QSize screen;
    bool hasGlobalColorTable = false;
    // Every image whose descriptor is complete, in file order, up to one beyond the most frames of
    // this canvas the decode budget accepts.
    std::vector<Frame> frames;
    std::optional<qint64> loopCount;

    // The logical screen; when that is empty (a writer's mistake), the first image's extent, which
    // is what viewers show.
    QSize canvas() const;

    // None unless the bytes start with a GIF header and logical screen descriptor. A file that is
    // truncated or damaged further on keeps the frames described before the damage.
    [[nodiscard]] static std::optional<GifStructure> parse(QByteArrayView data);
};

} // namespace plenoria
