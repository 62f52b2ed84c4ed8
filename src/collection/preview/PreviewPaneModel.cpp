#include "collection/preview/PreviewPaneModel.h"

#include "collection/preview/AnimationClock.h"
#include "imaging/model/HexColor.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

namespace plenoria {

PreviewPaneModel::PreviewPaneModel(QObject* parent)
    : QObject(parent)
    , m_decoder([](const QUrl& url, const std::function<void(const QImage&)>& firstFrame,
                    std::stop_token stop) { return GIFAnimation::load(url, firstFrame, stop); })
    , m_scaler(&ScaledFrames::make)
    , m_clock([] { return QDateTime::currentDateTimeUtc(); })
{
    setGrounds(QColor(Qt::black), QColor(Qt::white), true);
    connect(
        &m_scaleWatcher, &QFutureWatcher<ScaleResult>::finished, this, &PreviewPaneModel::scalingFinished);
    // The application's end waits for the pool, so its jobs must not read on to their last frame.
    if (QCoreApplication* application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &PreviewPaneModel::stopJobs);
}

PreviewPaneModel::~PreviewPaneModel()
{
    // Jobs still running own copies of what they use; their results simply go nowhere.
    stopJobs();
    if (m_attached)
        AnimationClock::instance()->detach();
}

void PreviewPaneModel::stopJobs()
{
    m_currentDecode.cancel();
    m_decodeStop.request_stop();
    m_scaleWatcher.future().cancel();
    m_scaleStop.request_stop();
}

QThreadPool& PreviewPaneModel::pool()
{
    // Parented to the application, whose end waits for the jobs still running: each stops before
    // its next frame.
    static QPointer<QThreadPool> pool;
    if (!pool) {
        pool = new QThreadPool(QCoreApplication::instance());
        pool->setObjectName(QStringLiteral("previewPane"));
        // Half the cores, at least two: the current decode starts beside an overtaken one still
        // running, and the main thread and Qt's own pool keep cores of their own.
        pool->setMaxThreadCount(std::max(2, QThread::idealThreadCount() / 2));
    }
    return *pool;
}

void PreviewPaneModel::setItem(const std::optional<ImageItem>& item, qint64 contentRevision)
{
    if (m_hasKey && item == m_item && contentRevision == m_contentRevision)
        return;
    m_hasKey = true;
    m_item = item;
    m_contentRevision = contentRevision;
    ++m_decodeGeneration;
    // A decode still waiting for a thread is dropped; one already reading stops before its next
    // frame, so that the new one soon has a thread and the old frames are not read for nothing.
    m_currentDecode.cancel();
    m_currentDecode = {};
    m_decodeStop.request_stop();
    m_decodeStop = std::stop_source();
    if (!item) {
        m_decoding = false;
        installAnimation(nullptr, std::nullopt);
        return;
    }
    startDecode(item->url);
}

void PreviewPaneModel::startDecode(const QUrl& url)
{
    m_decoding = true;
    const qint64 generation = m_decodeGeneration;
    const qint64 side = m_wantedSide;
    const std::stop_token stop = m_decodeStop.get_token();
    // A watcher per decode: its results (the first frame, then all of them) are read by index from
    // its own future, and it goes when that decode ends.
    auto* watcher = new QFutureWatcher<DecodeResult>(this);
    connect(watcher, &QFutureWatcherBase::resultReadyAt, this,
        [this, watcher](int index) { decodeResultReady(watcher->resultAt(index)); });
    connect(watcher, &QFutureWatcherBase::finished, watcher, &QObject::deleteLater);
    m_currentDecode = QtConcurrent::run(&pool(),
        [url, generation, side, stop, decoder = m_decoder, scaler = m_scaler](
            QPromise<DecodeResult>& promise) {
            // The frames as the tiles will show them, scaled here while they are off the main thread.
            const auto result = [&](std::shared_ptr<const GIFAnimation> animation, bool complete) {
                DecodeResult decoded{generation, complete, std::move(animation), std::nullopt};
                if (decoded.animation && side > 0)
                    decoded.scaled = scaler(*decoded.animation, side, stop);
                return decoded;
            };
            // A decode that a newer selection overtook before it started would only be thrown away.
            if (stop.stop_requested()) {
                promise.addResult(DecodeResult{generation, true, nullptr, std::nullopt});
                return;
            }
            std::optional<GIFAnimation> animation = decoder(
                url,
                [&](const QImage& first) {
                    if (!stop.stop_requested())
                        promise.addResult(result(
                            std::make_shared<const GIFAnimation>(GIFAnimation{{first}, {1.0}, 1.0}), false));
                },
                stop);
            // Overtaken while reading: its frames are let go here, not on the main thread, where
            // handing back a few hundred megabytes held a turn of the event loop.
            if (stop.stop_requested()) {
                animation.reset();
                promise.addResult(DecodeResult{generation, true, nullptr, std::nullopt});
                return;
            }
            promise.addResult(result(
                animation ? std::make_shared<const GIFAnimation>(std::move(*animation)) : nullptr, true));
        });
    watcher->setFuture(m_currentDecode);
}

void PreviewPaneModel::decodeResultReady(const DecodeResult& result)
{
    if (result.generation != m_decodeGeneration || !m_decoding)
        return;
    // The first frame stands still on the tiles; playback starts once every frame is here.
    m_decoding = !result.complete;
    installAnimation(result.animation, result.scaled);
}

void PreviewPaneModel::installAnimation(
    std::shared_ptr<const GIFAnimation> animation, std::optional<ScaledFrames> scaled)
{
    m_animation = std::move(animation);
    m_scaled = m_animation ? std::move(scaled) : std::nullopt;
    // Scalings of the previous frames are of no use any more.
    ++m_scaleGeneration;
    m_scaleStop.request_stop();
    m_scaleStop = std::stop_source();
    m_scalingSide = 0;
    m_currentFrame = isPlaying() ? frameIndexAt(m_clock()) : 0;
    updatePlayback();
    emit animationChanged();
}

std::optional<QImage> PreviewPaneModel::scaledFrame(qint64 index, qint64 pixelSide)
{
    if (!m_animation || pixelSide <= 0)
        return std::nullopt;
    m_wantedSide = pixelSide;
    if (m_scaled && m_scaled->pixelSide == pixelSide) {
        if (index >= 0 && index < qint64(m_scaled->frames.size()))
            return m_scaled->frames[size_t(index)];
        return std::nullopt;
    }
    if (m_scalingSide != pixelSide)
        startScaling(pixelSide);
    return std::nullopt;
}

void PreviewPaneModel::startScaling(qint64 pixelSide)
{
    ++m_scaleGeneration;
    m_scalingSide = pixelSide;
    const qint64 generation = m_scaleGeneration;
    const std::shared_ptr<const GIFAnimation> source = m_animation;
    // The scaling this one replaces never starts if it still waits for a thread, and stops before
    // its next frame if it runs.
    m_scaleWatcher.future().cancel();
    m_scaleStop.request_stop();
    m_scaleStop = std::stop_source();
    m_scaleWatcher.setFuture(QtConcurrent::run(
        &pool(), [source, pixelSide, generation, stop = m_scaleStop.get_token(), scaler = m_scaler] {
            ScaleResult result;
            result.generation = generation;
            result.source = source;
            result.scaled = scaler(*source, pixelSide, stop);
            return result;
        }));
}

void PreviewPaneModel::scalingFinished()
{
    if (m_scaleWatcher.future().resultCount() == 0)
        return;
    const ScaleResult result = m_scaleWatcher.result();
    if (result.generation != m_scaleGeneration || result.source != m_animation || !result.scaled)
        return;
    m_scalingSide = 0;
    m_scaled = result.scaled;
    emit frameChanged();
}

void PreviewPaneModel::setZoom(ZoomLevel zoom)
{
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    emit presentationChanged();
}

void PreviewPaneModel::setAnimate(bool animate)
{
    if (animate == m_animate)
        return;
    m_animate = animate;
    updatePlayback();
    emit presentationChanged();
}

void PreviewPaneModel::setGrounds(const QColor& dark, const QColor& light, bool darkFirst)
{
    const PreviewGround darkGround{dark, QStringLiteral("Dark")};
    const PreviewGround lightGround{light, QStringLiteral("Light")};
    QList<PreviewGround> grounds = darkFirst ? QList<PreviewGround>{darkGround, lightGround}
                                             : QList<PreviewGround>{lightGround, darkGround};
    if (grounds == m_grounds)
        return;
    m_grounds = std::move(grounds);
    emit presentationChanged();
}

void PreviewPaneModel::setOnScreen(bool onScreen)
{
    if (onScreen == m_onScreen)
        return;
    m_onScreen = onScreen;
    updatePlayback();
}

void PreviewPaneModel::setClock(Clock clock)
{
    m_clock = std::move(clock);
    if (isPlaying())
        tick();
}

void PreviewPaneModel::setDecoder(Decoder decoder)
{
    m_decoder = std::move(decoder);
}

void PreviewPaneModel::setScaler(Scaler scaler)
{
    m_scaler = std::move(scaler);
}

bool PreviewPaneModel::isPlaying() const
{
    return m_onScreen && m_animate && m_animation && m_animation->frames.size() > 1;
}

qint64 PreviewPaneModel::frameIndexAt(const QDateTime& at) const
{
    if (!m_animation || m_animation->frames.empty())
        return 0;
    // frame(at) answers with one of the animation's own frames; its place in the list is the index.
    return qint64(&m_animation->frame(at) - m_animation->frames.data());
}

void PreviewPaneModel::updatePlayback()
{
    const bool playing = isPlaying();
    if (playing != m_attached) {
        AnimationClock* clock = AnimationClock::instance();
        m_attached = playing;
        if (playing) {
            connect(clock, &AnimationClock::ticked, this, &PreviewPaneModel::tick);
            clock->attach();
        } else {
            disconnect(clock, &AnimationClock::ticked, this, &PreviewPaneModel::tick);
            clock->detach();
        }
    }
    if (playing) {
        tick();
    } else if (m_currentFrame != 0) {
        // Playback off shows the first frame at once.
        m_currentFrame = 0;
        emit frameChanged();
    }
}

void PreviewPaneModel::tick()
{
    const qint64 index = frameIndexAt(m_clock());
    if (index == m_currentFrame)
        return;
    m_currentFrame = index;
    emit frameChanged();
}

double PreviewPaneModel::tileSide(ZoomLevel zoom, double width, double height, double margin)
{
    return std::min(double(rawValue(zoom)), std::max(1.0, std::min(width, height) - 2 * margin));
}

QColor PreviewPaneModel::contrastColor(const QColor& background)
{
    return isLightColor(background) ? QColor(Qt::black) : QColor(Qt::white);
}

} // namespace plenoria
