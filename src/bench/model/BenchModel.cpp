#include "bench/model/BenchModel.h"

#include "imaging/read/ImageSource.h"

#include <QFileInfo>

namespace plenoria {

// One mutation of the bench: the outermost one renders and reports when it ends.
class BenchModel::Transaction {
public:
    explicit Transaction(BenchModel& model)
        : m_model(model)
    {
        ++m_model.m_transactionDepth;
    }
    ~Transaction()
    {
        if (--m_model.m_transactionDepth == 0)
            m_model.settle();
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    BenchModel& m_model;
};

BenchModel::BenchModel(RestorationSession session, bool backupOriginal, QObject* parent)
    : QObject(parent)
    , m_session(std::move(session))
    , m_backupOriginal(backupOriginal)
{
    m_sourceStrip = Filmstrip::fromData(m_session.originalData);
    const std::optional<ImageSource> source = ImageSource::fromData(m_session.originalData);
    const bool animated = source && source->frameCount() >= 2;
    for (const TreatmentKind kind : allTreatmentKinds) {
        if (kind != TreatmentKind::frames || animated)
            m_addableKinds.push_back(kind);
    }
    // Nobody listens yet: render without reporting.
    rerender();
    m_pending = {};
}

QString BenchModel::fileName() const
{
    return QFileInfo(m_session.fileURL.path()).fileName();
}

template <typename T> void BenchModel::assign(T& field, T value, Change change)
{
    Transaction transaction(*this);
    if (field == value)
        return;
    field = std::move(value);
    m_pending |= change;
}

void BenchModel::setRecord(TreatmentRecord record)
{
    assign(m_session.record, std::move(record), Change::record);
}

void BenchModel::setTreatment(qint64 index, const Treatment& treatment)
{
    if (index < 0 || index >= qint64(m_session.record.size()))
        return;
    TreatmentRecord record = m_session.record;
    record[size_t(index)].treatment = treatment;
    setRecord(std::move(record));
}

void BenchModel::setSelection(const std::optional<QUuid>& selection)
{
    assign(m_selection, selection, Change::selection);
}

void BenchModel::setGround(CanvasGround ground)
{
    assign(m_ground, ground, Change::ground);
}

void BenchModel::setShowingSaveGate(bool showing)
{
    assign(m_showingSaveGate, showing, Change::sheets);
}

void BenchModel::setBackupOriginal(bool backup)
{
    assign(m_backupOriginal, backup, Change::backupOriginal);
}

void BenchModel::setShowingExport(bool showing)
{
    assign(m_showingExport, showing, Change::sheets);
}

void BenchModel::setSamplingGroundColor(bool sampling)
{
    assign(m_samplingGroundColor, sampling, Change::sampling);
}

void BenchModel::setPlayhead(qint64 playhead)
{
    assign(m_playhead, playhead, Change::playhead);
}

void BenchModel::setFrameSelection(FrameSelection selection)
{
    assign(m_frameSelection, std::move(selection), Change::frameSelection);
}

void BenchModel::setExtendSquareLocked(bool locked)
{
    assign(m_extendSquareLocked, locked, Change::extendSquareLocked);
}

void BenchModel::transact(const std::function<void()>& work)
{
    Transaction transaction(*this);
    work();
}

void BenchModel::settle()
{
    // Setters called from here (the playhead clamp) must not settle again.
    ++m_transactionDepth;
    const Changes triggers = Change::record | Change::selection | Change::playhead | Change::sampling;
    if (m_pending & triggers) {
        // The clamp is a change of the playhead like any other, and renders once more.
        if (rerender())
            rerender();
    }
    --m_transactionDepth;
    const Changes changes = std::exchange(m_pending, Changes());
    if (changes)
        emit changed(changes);
}

void BenchModel::cancel()
{
    emit cancelRequested();
}

void BenchModel::confirmSave()
{
    setShowingSaveGate(false);
    emit saveRequested(m_session, m_backupOriginal);
}

void BenchModel::finishExport(
    const QString& name, ExportFormat format, double quality, const GIFPalette& palette)
{
    setShowingExport(false);
    emit exportRequested(m_session, name, format, quality, palette);
}

} // namespace plenoria
