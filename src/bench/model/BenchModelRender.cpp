#include "bench/model/BenchModel.h"

#include "imaging/read/ImageSource.h"
#include "imaging/render/Renderer.h"

namespace plenoria {

namespace {

TreatmentRecord firstEntries(const TreatmentRecord& record, qint64 count)
{
    const auto end = record.begin() + std::clamp<qint64>(count, 0, qint64(record.size()));
    return TreatmentRecord(record.begin(), end);
}

TreatmentRecord withoutFrames(const TreatmentRecord& record)
{
    TreatmentRecord stills;
    stills.reserve(record.size());
    for (const TreatmentEntry& entry : record) {
        if (entry.treatment.kind() != TreatmentKind::frames)
            stills.push_back(entry);
    }
    return stills;
}

bool isValidIndex(qint64 index, size_t count)
{
    return index >= 0 && index < qint64(count);
}

} // namespace

std::optional<qint64> BenchModel::selectedIndex() const
{
    if (!m_selection)
        return std::nullopt;
    const TreatmentRecord& record = m_session.record;
    for (size_t i = 0; i < record.size(); ++i) {
        if (record[i].id == *m_selection)
            return qint64(i);
    }
    return std::nullopt;
}

std::optional<qint64> BenchModel::selectedIndex(TreatmentKind kind) const
{
    const std::optional<qint64> index = selectedIndex();
    if (index && m_session.record[size_t(*index)].treatment.kind() == kind)
        return index;
    return std::nullopt;
}

TreatmentRecord BenchModel::activeRecord() const
{
    const std::optional<qint64> index = selectedIndex();
    if (!index)
        return {};
    const TreatmentKind kind = m_session.record[size_t(*index)].treatment.kind();
    // The canvas shows a crop's or an extend's input, for the overlay that stands on it, and the
    // unkeyed input of a ground row while its colour is sampled.
    const bool showsInput
        = m_samplingGroundColor || kind == TreatmentKind::crop || kind == TreatmentKind::extend;
    return firstEntries(m_session.record, showsInput ? *index : *index + 1);
}

QString BenchModel::canvasCaption() const
{
    const std::optional<qint64> index = selectedIndex();
    if (!index)
        return QStringLiteral("the untouched original");
    const qint64 n = *index + 1;
    const TreatmentKind kind = m_session.record[size_t(*index)].treatment.kind();
    if (kind == TreatmentKind::crop || kind == TreatmentKind::extend) {
        if (n == 1)
            return QStringLiteral("before treatment 1");
        return QStringLiteral("showing treatments 1\u2013%1, before %2").arg(n - 1).arg(n);
    }
    if (n == 1)
        return QStringLiteral("showing treatment 1");
    return QStringLiteral("showing treatments 1\u2013%1, in order").arg(n);
}

bool BenchModel::rerender()
{
    ++m_renderCount;
    refreshGroundInput();
    const TreatmentRecord active = activeRecord();
    bool lowered = false;
    std::optional<QImage> image;
    if (m_sourceStrip) {
        const std::optional<qint64> framesRow = selectedFramesIndex();
        // With a frames row selected the canvas plays the frames entering it, and the playhead is a
        // position among its edits (the timeline's cells), which may reorder those frames.
        const TreatmentRecord planRecord = framesRow ? firstEntries(active, *framesRow) : active;
        const std::vector<FramePlan> plan = Renderer::framePlan(planRecord, m_sourceStrip->delays);
        const std::vector<FrameEdit>* edits = framesRow ? &specAt<FramesSpec>(*framesRow)->edits : nullptr;
        const qint64 positions = edits ? qint64(edits->size()) : qint64(plan.size());
        const qint64 last = std::max<qint64>(positions - 1, 0);
        if (m_playhead > last) {
            m_playhead = last;
            m_pending |= Change::playhead;
            lowered = true;
        }
        qint64 planIndex = m_playhead;
        if (edits)
            planIndex = isValidIndex(m_playhead, edits->size()) ? (*edits)[size_t(m_playhead)].input : -1;
        const qint64 source = isValidIndex(planIndex, plan.size()) ? plan[size_t(planIndex)].source : 0;
        if (isValidIndex(source, m_sourceStrip->frames.size()))
            image = Renderer::render(m_sourceStrip->frames[size_t(source)], withoutFrames(active));
    } else if (const std::optional<QImage>& first = firstImage()) {
        image = Renderer::render(*first, active);
    }
    m_rendered = std::move(image);
    m_pending |= Change::rendered;
    return lowered;
}

void BenchModel::refreshGroundInput()
{
    const std::optional<qint64> index = selectedIndex(TreatmentKind::ground);
    if (!index)
        return;
    TreatmentRecord prefix = firstEntries(m_session.record, *index);
    if (m_groundInputRecord == prefix)
        return;
    m_groundInputImage = renderPrefix(*index);
    m_groundInputRecord = std::move(prefix);
    m_pending |= Change::groundInput;
}

const std::optional<QImage>& BenchModel::firstImage() const
{
    if (!m_firstImage) {
        const std::optional<ImageSource> source = ImageSource::fromData(m_session.originalData);
        m_firstImage = source ? source->decodeFrame(0) : std::nullopt;
    }
    return *m_firstImage;
}

std::optional<QImage> BenchModel::renderPrefix(qint64 count) const
{
    const std::optional<QImage>& first = firstImage();
    if (!first)
        return std::nullopt;
    return Renderer::render(*first, firstEntries(m_session.record, count));
}

QSizeF BenchModel::inputSize(const TreatmentRecord& record) const
{
    if (m_inputSizeCache && m_inputSizeCache->first == record)
        return m_inputSizeCache->second;
    const std::optional<QImage>& first = firstImage();
    const QSizeF size = first ? QSizeF(Renderer::render(*first, record).size()) : QSizeF(0, 0);
    m_inputSizeCache.emplace(record, size);
    return size;
}

std::vector<QImage> BenchModel::timelineFrames(qint64 index) const
{
    std::vector<QImage> frames;
    if (!m_sourceStrip)
        return frames;
    const TreatmentRecord before = firstEntries(m_session.record, index);
    for (const FramePlan& entry : Renderer::framePlan(before, m_sourceStrip->delays)) {
        if (isValidIndex(entry.source, m_sourceStrip->frames.size()))
            frames.push_back(m_sourceStrip->frames[size_t(entry.source)]);
    }
    return frames;
}

} // namespace plenoria
