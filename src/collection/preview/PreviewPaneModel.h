#pragma once

#include "collection/preview/ScaledFrames.h"
#include "imaging/model/ZoomLevel.h"
#include "imaging/read/GIFAnimation.h"
#include "imaging/read/ImageItem.h"

#include <QColor>
#include <QDateTime>
#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>

class QThreadPool;

namespace plenoria {

// One tile's ground and caption.
struct PreviewGround {
    QColor color;
    QString label;
    bool operator==(const PreviewGround&) const = default;
};

// The state behind the two preview tiles, without widgets: the selected item, its animation
// decoded off the main thread, the frame playing now, the frames scaled to the shown size, the
// zoom and the grounds. Decodes and scalings are numbered; a result that arrives after a newer
// request is dropped, and the job it came from is told to stop before its next frame, as every job
// is when the pane goes away or the application quits. Main thread only; the jobs get copies and
// hand back plain values.
class PreviewPaneModel : public QObject {
    Q_OBJECT
public:
    // The free space the pane keeps around the image in each tile.
    static constexpr double tileMargin = 24;
    using Clock = std::function<QDateTime()>;
    // Reads a file's frames on a pool thread, handing the first frame on as soon as it has it, and
    // gives up, with none, once a stop is requested on `stop`.
    using Decoder = std::function<std::optional<GIFAnimation>(
        const QUrl& url, const std::function<void(const QImage&)>& firstFrame, std::stop_token stop)>;
    // Scales an animation's frames on a pool thread, giving up, with none, once a stop is requested.
    using Scaler = std::function<std::optional<ScaledFrames>(
        const GIFAnimation& animation, qint64 pixelSide, std::stop_token stop)>;

    // The application's pool for every decode and scaling of every pane, bounded so that a held
    // arrow key cannot pile up work: an overtaken decode ends before its next frame, and one
    // overtaken before a thread took it up never starts.
    static QThreadPool& pool();

    explicit PreviewPaneModel(QObject* parent = nullptr);
    ~PreviewPaneModel() override;

    // The selected image and the store's content revision: a change of either decodes the file
    // again, while the previous animation stays on the tiles until the new one's first frame
    // arrives; an animation shows that frame, still, until all its frames are decoded. No item
    // clears the animation at once.
    void setItem(const std::optional<ImageItem>& item, qint64 contentRevision);
    const std::optional<ImageItem>& item() const { return m_item; }
    // Raised by every decode started or cleared.
    qint64 decodeGeneration() const { return m_decodeGeneration; }
    // True until every frame of the item is decoded, even while its first frame is shown.
    bool isDecoding() const { return m_decoding; }
    // The decoded frames of the item (only the first while the rest are decoded); null before the
    // first decode, without an item, or when the file did not decode.
    const GIFAnimation* animation() const { return m_animation.get(); }

    ZoomLevel zoom() const { return m_zoom; }
    void setZoom(ZoomLevel zoom);
    bool animate() const { return m_animate; }
    void setAnimate(bool animate);
    // The grounds in tile order, top first: dark before light when `darkFirst`.
    void setGrounds(const QColor& dark, const QColor& light, bool darkFirst);
    QList<PreviewGround> grounds() const { return m_grounds; }

    // The tiles are visible: only then does the shared clock drive playback.
    void setOnScreen(bool onScreen);
    // Where "now" comes from; the wall clock unless a test fixes it.
    void setClock(Clock clock);
    // How files are read; GIFAnimation::load unless a test holds the decodes back.
    void setDecoder(Decoder decoder);
    // How frames are scaled; ScaledFrames::make unless a test holds the scalings back.
    void setScaler(Scaler scaler);
    // An animation of several frames plays with playback on, on screen.
    bool isPlaying() const;
    // The frame every tile shows now: the frame of the clock's moment while playing, else 0.
    qint64 currentFrameIndex() const { return m_currentFrame; }
    qint64 frameIndexAt(const QDateTime& at) const;

    // Frame `index` scaled to fit a square of `pixelSide` device pixels, once such a set is ready.
    // Until then none, and the set is made off the main thread (frameChanged follows).
    std::optional<QImage> scaledFrame(qint64 index, qint64 pixelSide);

    // The side of the square the image is drawn in within a tile of w × h: the zoom's size, made
    // smaller when the tile lacks room, never below 1.
    static double tileSide(ZoomLevel zoom, double width, double height, double margin = tileMargin);
    // Black on a light ground, white on any other.
    static QColor contrastColor(const QColor& background);

signals:
    // A decode finished (or the item was cleared): the animation changed.
    void animationChanged();
    // The frame to show changed: playback moved on, or better-scaled frames arrived.
    void frameChanged();
    // Zoom, playback or grounds changed.
    void presentationChanged();

private:
    struct DecodeResult {
        qint64 generation = 0;
        bool complete = true; // false: the first frame alone, ahead of the others
        std::shared_ptr<const GIFAnimation> animation;
        std::optional<ScaledFrames> scaled;
    };
    struct ScaleResult {
        qint64 generation = 0;
        std::shared_ptr<const GIFAnimation> source;
        std::optional<ScaledFrames> scaled;
    };

    void startDecode(const QUrl& url);
    void decodeResultReady(const DecodeResult& result);
    void startScaling(qint64 pixelSide);
    void scalingFinished();
    void installAnimation(std::shared_ptr<const GIFAnimation> animation, std::optional<ScaledFrames> scaled);
    // Every job of this pane ends before its next frame; none still waiting for a thread starts.
    void stopJobs();
    void updatePlayback();
    void tick();

    std::optional<ImageItem> m_item;
    qint64 m_contentRevision = -1;
    bool m_hasKey = false;

    qint64 m_decodeGeneration = 0;
    std::stop_source m_decodeStop; // the current decode's
    QFuture<DecodeResult> m_currentDecode;
    Decoder m_decoder;
    bool m_decoding = false;
    std::shared_ptr<const GIFAnimation> m_animation;

    qint64 m_scaleGeneration = 0;
    std::stop_source m_scaleStop; // the current scaling's
    Scaler m_scaler;
    QFutureWatcher<ScaleResult> m_scaleWatcher;
    qint64 m_scalingSide = 0; // the side being scaled to; 0 when no scaling runs
    qint64 m_wantedSide = 0; // the side the tiles last asked for
    std::optional<ScaledFrames> m_scaled;

    ZoomLevel m_zoom = ZoomLevel::px128;
    bool m_animate = true;
    QList<PreviewGround> m_grounds;
    bool m_onScreen = false;
    bool m_attached = false;
    Clock m_clock;
    qint64 m_currentFrame = 0;
};

} // namespace plenoria
