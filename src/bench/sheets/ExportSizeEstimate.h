#pragma once

#include "imaging/model/GIFPalette.h"
#include "imaging/read/Filmstrip.h"
#include "imaging/write/ExportFormat.h"

#include <QObject>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class QThreadPool;

namespace plenoria {

// Bytes of one strip encoded in each export format; a format whose encoder gave nothing is absent.
using ExportSizes = std::map<ExportFormat, qint64>;

// The export panel's live size estimate: each `start` encodes the strip in all three formats on
// a background thread and stores the byte counts when that run is still the latest one. A newer
// run supersedes the older: a superseded job that has not started is cancelled, one that runs
// stops at its next format, and neither stores anything, whatever order the jobs end in.
// `sizes` and `measuring` are read and written on the main thread only; jobs get copies of their
// inputs (the frames' pixels are shared, never written) and hand back a plain map.
class ExportSizeEstimate : public QObject {
    Q_OBJECT
public:
    // The background job: the strip in every format, with the palette and the quality. It should
    // give up (any result) once `superseded` is set; that result is dropped. Runs on a worker thread.
    using Job = std::function<ExportSizes(const Filmstrip& strip, double quality, const GIFPalette& palette,
        const std::atomic_bool& superseded)>;

    // No strip: nothing is ever measured. An empty `job` means `estimateSizes`.
    explicit ExportSizeEstimate(std::optional<Filmstrip> strip, Job job = {}, QObject* parent = nullptr);
    // Supersedes the running run: its job finishes on its own and stores nothing.
    ~ExportSizeEstimate() override;

    // Starts a run for these settings; `measuring` stays true until its sizes are stored. Without a
    // strip no job starts and `measuring` turns false at once.
    void start(double quality, const GIFPalette& palette);
    // Supersedes the current run without starting another: nothing more is stored.
    void stop();

    // The sizes of the latest run that finished while current; the previous ones stay meanwhile.
    const ExportSizes& sizes() const { return m_sizes; }
    // True from the first run's start (and from the start of each later one) until its sizes are stored.
    bool measuring() const { return m_measuring; }
    // How many runs were started (jobs launched); for tests.
    qint64 runsStarted() const { return m_runCounter; }

    // The default job: `ExportFormat::encode` in the order webp, gif, png, checking `superseded`
    // before each format.
    static ExportSizes estimateSizes(const Filmstrip& strip, double quality, const GIFPalette& palette,
        const std::atomic_bool& superseded);
    // The application's pool for the jobs. It outlives every panel, so a panel that goes away
    // never waits for its job; the application waits for it only as it quits.
    static QThreadPool& pool();

signals:
    // `sizes` or `measuring` changed.
    void changed();

private:
    void supersede();

    std::optional<Filmstrip> m_strip;
    Job m_job;
    ExportSizes m_sizes;
    bool m_measuring = true;
    qint64 m_runCounter = 0;
    // The run whose result is wanted: the latest one started, until it stores or is stopped.
    std::optional<qint64> m_currentRun;
    // Shared with the current run's job, which outlives this object when it is closed mid-run.
    std::shared_ptr<std::atomic_bool> m_superseded;
    std::function<void()> m_cancelCurrent;
};

} // namespace plenoria
