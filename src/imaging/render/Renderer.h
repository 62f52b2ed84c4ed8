#pragma once

#include "imaging/model/ForegroundInstances.h"
#include "imaging/model/FramePlan.h"
#include "imaging/model/Geometry.h"
#include "imaging/model/GroundSpec.h"
#include "imaging/model/ImageType.h"
#include "imaging/model/RGB.h"
#include "imaging/model/TreatmentEntry.h"
#include "imaging/read/Filmstrip.h"
#include "imaging/write/ImageEncoder.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSizeF>
#include <QStringList>
#include <optional>
#include <set>
#include <span>
#include <vector>

namespace plenoria {

// Stateless image operations in the pixel convention (see Bitmap.h). Every operation returns a new
// image and never edits its input; the only shared state is PixelConventions' normalisation cache.
class Renderer {
public:
    Renderer() = delete;

    // The pixel conventions under the renderer's names (see PixelConventions.h).
    [[nodiscard]] static std::optional<QImage> normalized(const QImage& image);
    [[nodiscard]] static std::optional<QByteArray> pixelBytes(const QImage& image);
    [[nodiscard]] static std::optional<QImage> scaledToFit(const QImage& image, qint64 longestEdge);
    [[nodiscard]] static std::optional<QImage> cropOrPad(const QImage& image, qint64 x, qint64 y, qint64 width,
                                                         qint64 height);
    [[nodiscard]] static std::optional<QImage> resampled(const QImage& image, qint64 width, qint64 height);

    // The image as a single-image file of the type; none when it cannot be written.
    [[nodiscard]] static std::optional<QByteArray> encode(const QImage& image, ImageType type);

    // --- The pipeline (main thread) ---

    // The record's treatments applied in record order to one image; frames entries take no part. A step
    // that cannot be carried out leaves the image as it was, so an image always comes back. An empty
    // record gives `image` itself.
    [[nodiscard]] static QImage render(const QImage& image, std::span<const TreatmentEntry> record);

    // The output frames of a source whose frames have `delays` (milliseconds): one per source frame,
    // rewritten by every frames entry of the record in order.
    [[nodiscard]] static std::vector<FramePlan> framePlan(
        std::span<const TreatmentEntry> record, const std::vector<qint64>& delays);

    // --- Whole files: save and export (main thread) ---

    // The file's frames with the record applied: the frame plan's frames and delays, every still
    // treatment on every frame (each source frame rendered once), the file's GIF loop count. An empty
    // record gives the decoded strip as it is. None when the bytes hold no decodable image.
    [[nodiscard]] static std::optional<Filmstrip> renderFilmstrip(const QByteArray& data,
                                                                  std::span<const TreatmentEntry> record);

    // The GIF's own bytes with only its delays replaced, when the record does nothing but re-time every
    // frame in place; none otherwise or when the delays cannot be patched.
    [[nodiscard]] static std::optional<QByteArray> retimedOriginal(const QByteArray& data,
                                                                   std::span<const TreatmentEntry> record);

    // The new contents of the file, in its own type: a re-timed GIF keeps its bytes, an animation of two
    // or more rendered frames stays animated (GIF, WebP, PNG), anything else is its first rendered frame;
    // PNG where the type cannot be read or written. None when the result cannot be made, never a
    // silently shortened animation.
    [[nodiscard]] static std::optional<QByteArray> renderForSave(const QByteArray& data,
                                                                 std::span<const TreatmentEntry> record);

    // Whether the image's transparency survives a round trip through the type written by `encoder`
    // (true for opaque images and for images that cannot be read; false when the type cannot be written).
    [[nodiscard]] static bool keepsTransparency(
        const QImage& image, ImageType type, const ImageEncoder& encoder = ImageEncoder());
    // Whether some pixel is not fully opaque; false when the image cannot be read.
    [[nodiscard]] static bool hasTransparency(const QImage& image);
    // The smallest rectangle (top-left origin) holding every pixel whose alpha is not 0; none when
    // there is no such pixel.
    [[nodiscard]] static std::optional<QRect> contentBounds(const QImage& image);
    // The first image of a picked file as PNG bytes, scaled down to `longestEdge` when larger; none
    // when it cannot be decoded or encoded.
    [[nodiscard]] static std::optional<QByteArray> preparedStamp(const QByteArray& data, qint64 longestEdge);

    // --- Ground ---

    // The ground step: the key's pixels removed, then the fill put behind; none when the key cannot be
    // applied (unparsable key colour, no subject), which leaves the image as it was.
    [[nodiscard]] static std::optional<QImage> applyGround(const QImage& image, const GroundSpec& spec);

    // One keyDistance per pixel of convention bytes (fully transparent pixels get 0).
    [[nodiscard]] static std::vector<float> keyDistances(const QByteArray& bytes, const RGB& key);

    // The pixels within `threshold` that are 4-connected to the border through such pixels; one flag
    // per pixel, row-major.
    [[nodiscard]] static std::vector<quint8> borderFloodMask(
        const std::vector<float>& distances, qint64 width, qint64 height, double threshold);

    // Clears the pixels near `key` in convention bytes of width × height. Everywhere, pixels within
    // `softness` beyond `threshold` are feathered and un-mixed from the key; from the border, the
    // border-connected region is cleared outright.
    static void keyOut(QByteArray& bytes, KeyReach reach, qint64 width, qint64 height, const RGB& key,
        double threshold, double softness);

    // Composites convention bytes over an opaque colour.
    static void fillBehind(QByteArray& bytes, const RGB& color);

    // The foreground instances subject detection finds in a normalised image; none when it finds
    // nothing. Cached for the last pixels asked about, so the same pixels in a new image object are not
    // analysed again. Main thread only.
    [[nodiscard]] static std::optional<ForegroundInstances> foregroundInstances(const QImage& image);

    // Convention bytes of `image` at full size keeping only the chosen instances (all when `included`
    // is absent), everything else transparent; none when nothing detected is chosen. The last result is
    // cached for those pixels and that choice. Main thread only.
    [[nodiscard]] static std::optional<QByteArray> subjectPixels(const QImage& image,
                                                                 const std::optional<std::set<qint64>>& included);

    // The dominant colour of the border pixels (opaque ones only) as "#RRGGBB"; none for images two
    // pixels or less on a side, or a border with no opaque pixel.
    [[nodiscard]] static std::optional<QString> guessBorderColor(const QImage& image);

    // --- Tone and text ---

    // Warmth, hue, the shadows/highlights curve and brightness, contrast, saturation applied to the
    // colours (alpha kept); `image` itself when no adjustment is active or no bitmap can be made.
    [[nodiscard]] static QImage applyTone(const QImage& image, const ToneSpec& spec);

    // The text drawn over the image; `image` itself when every line is blank or no bitmap can be made.
    [[nodiscard]] static QImage renderText(const QImage& image, const TextSpec& spec);

    // Draws `lines` as the text step places them onto a canvas in the pixel convention.
    static void drawTextLines(QImage& canvas, const QStringList& lines, const TextSpec& spec);

    // The block the text step fills, grown by the outline width on every side, in pixels.
    [[nodiscard]] static QSizeF textBoxSize(const TextSpec& spec);

private:
    // A copy of `image` in the pixel convention to draw on (the input is never written); none when a
    // bitmap of its size cannot be made.
    [[nodiscard]] static std::optional<QImage> drawableCopy(const QImage& image);

    [[nodiscard]] static std::optional<QImage> applyTreatment(
        const QImage& image, const Treatment& treatment);
    [[nodiscard]] static std::optional<QImage> applyExtend(const QImage& image, const ExtendSpec& spec);
    [[nodiscard]] static std::optional<QImage> applyResize(const QImage& image, const ResizeSpec& spec);
    [[nodiscard]] static std::optional<QImage> applyStamp(const QImage& image, const StampSpec& spec);
};

} // namespace plenoria
