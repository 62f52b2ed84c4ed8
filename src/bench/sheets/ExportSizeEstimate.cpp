#include "bench/sheets/ExportSizeEstimate.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QPointer>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

namespace plenoria {

ExportSizeEstimate::ExportSizeEstimate(std::optional<Filmstrip> strip, Job job, QObject* parent)
    : QObject(parent)
    , m_strip(std::move(strip))
    , m_job(job ? std::move(job) : Job(&ExportSizeEstimate::estimateSizes))
{ }

ExportSizeEstimate::~ExportSizeEstimate()
{
    supersede();
}

QThreadPool& ExportSizeEstimate::pool()
{
    // Parented to the application, whose end waits for the jobs still running; they stop at
    // their next format, since every panel has superseded its run by then.
    static QPointer<QThreadPool> pool;
    if (!pool) {
        pool = new QThreadPool(QCoreApplication::instance());
        pool->setObjectName(QStringLiteral("exportSizeEstimate"));
        // The current run, and beside it a superseded one finishing the format it is on; the runs
        // in between are cancelled before they start. The encoders spread over the cores themselves.
        pool->setMaxThreadCount(2);
    }
    return *pool;
}

ExportSizes ExportSizeEstimate::estimateSizes(
    const Filmstrip& strip, double quality, const GIFPalette& palette, const std::atomic_bool& superseded)
{
    ExportSizes sizes;
    for (const ExportFormat::Value format : ExportFormat::allCases()) {
        if (superseded.load())
            break;
        if (const std::optional<QByteArray> bytes = ExportFormat(format).encode(strip, palette, quality))
            sizes[format] = bytes->size();
    }
    return sizes;
}

void ExportSizeEstimate::supersede()
{
    if (m_superseded)
        m_superseded->store(true);
    if (m_cancelCurrent)
        m_cancelCurrent();
    m_superseded.reset();
    m_cancelCurrent = nullptr;
}

void ExportSizeEstimate::stop()
{
    supersede();
    // A run still on its way finds itself no longer the current one.
    m_currentRun.reset();
}

void ExportSizeEstimate::start(double quality, const GIFPalette& palette)
{
    supersede();
    if (!m_strip) {
        if (std::exchange(m_measuring, false))
            emit changed();
        return;
    }
    const qint64 run = ++m_runCounter;
    m_currentRun = run;
    auto superseded = std::make_shared<std::atomic_bool>(false);
    m_superseded = superseded;
    auto* watcher = new QFutureWatcher<ExportSizes>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, run] {
        watcher->deleteLater();
        // Only the current run stores; a superseded or cancelled one leaves no trace.
        if (m_currentRun != run)
            return;
        m_currentRun.reset();
        // A job that ended without a result (its encoder threw) measured nothing.
        m_sizes = watcher->future().resultCount() > 0 ? watcher->result() : ExportSizes();
        m_measuring = false;
        m_superseded.reset();
        m_cancelCurrent = nullptr;
        emit changed();
    });
    const bool wasMeasuring = std::exchange(m_measuring, true);
    QFuture<ExportSizes> future
        = QtConcurrent::run(&pool(), [job = m_job, strip = *m_strip, quality, palette, superseded] {
              return job(strip, quality, palette, *superseded);
          });
    // A run overtaken before a thread took it up would only be thrown away: it never starts.
    m_cancelCurrent = [future]() mutable { future.cancel(); };
    watcher->setFuture(future);
    if (!wasMeasuring)
        emit changed();
}

} // namespace plenoria
