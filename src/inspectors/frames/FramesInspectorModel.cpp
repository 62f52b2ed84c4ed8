#include "inspectors/frames/FramesInspectorModel.h"

#include <algorithm>

namespace plenoria {

namespace {

constexpr qint64 fastDelayLimit = 20;

} // namespace

const QString FramesInspectorModel::fastDelayWarning
    = QStringLiteral("! under %1 ms plays at about 10 fps in browsers").arg(fastDelayLimit);

void FramesInspectorModel::setSources(
    Binding<FramesSpec> spec, Binding<FrameSelection> selection, std::vector<QImage> inputFrames)
{
    m_spec = std::move(spec);
    m_selection = std::move(selection);
    m_inputFrames = std::move(inputFrames);
    m_frameKeys.clear();
    m_frameKeys.reserve(m_inputFrames.size());
    for (const QImage& frame : m_inputFrames)
        m_frameKeys.push_back(frame.cacheKey());
}

FramesInspectorModel::Look FramesInspectorModel::look()
{
    const FramesSpec spec = m_spec.get();
    const qint64 edits = qint64(spec.edits.size());
    const qint64 selected = qint64(spec.positionsWithin(m_selection.get()).size());
    const qint64 duplicateCount = qint64(duplicates(spec).size());
    Look look;
    look.allEnabled = selected != edits;
    look.noneEnabled = selected > 0;
    look.duplicatesTitle = duplicateCount == 0
        ? QStringLiteral("No duplicates found")
        : QStringLiteral("Duplicates \u00B7 ") + QString::number(duplicateCount) + QStringLiteral(" found");
    look.duplicatesEnabled = duplicateCount > 0;
    look.restEnabled = m_everyNth >= 2;
    look.modifyEnabled = selected > 0;
    look.applyTitle = QStringLiteral("Apply to ") + QString::number(selected) + QStringLiteral(" selected");
    look.showsFastDelayWarning = m_delay >= 1 && m_delay < fastDelayLimit;
    return look;
}

const FrameSelection& FramesInspectorModel::duplicates(const FramesSpec& spec)
{
    DuplicateKey key{m_frameKeys, {}};
    key.edits.reserve(spec.edits.size());
    for (const FrameEdit& edit : spec.edits)
        key.edits.emplace_back(edit.input, edit.isSkipped);
    if (!m_duplicates || m_duplicates->first != key) {
        // Comparing frames normalises every one of them: worth doing only when they or the order change.
        m_duplicates.emplace(std::move(key), FramesSpec::duplicateSelection(m_inputFrames, spec));
        ++m_duplicateCounts;
    }
    return m_duplicates->second;
}

FrameSelection FramesInspectorModel::restSelection(qint64 editCount) const
{
    FrameSelection rest;
    if (m_everyNth < 2)
        return rest;
    for (qint64 i = 0; i < editCount; ++i) {
        if (i % m_everyNth != 0)
            rest.insert(rest.end(), i);
    }
    return rest;
}

void FramesInspectorModel::selectAll()
{
    FrameSelection all;
    const qint64 edits = qint64(m_spec.get().edits.size());
    for (qint64 i = 0; i < edits; ++i)
        all.insert(all.end(), i);
    m_selection.set(all);
}

void FramesInspectorModel::selectNone()
{
    m_selection.set({});
}

void FramesInspectorModel::selectDuplicates()
{
    const FramesSpec spec = m_spec.get();
    m_selection.set(duplicates(spec));
}

void FramesInspectorModel::selectRest()
{
    if (m_everyNth >= 2)
        m_selection.set(restSelection(qint64(m_spec.get().edits.size())));
}

void FramesInspectorModel::setSkipped(bool skipped)
{
    setEdits(m_spec.get().settingSkipped(skipped, m_selection.get()));
}

void FramesInspectorModel::applyDelay()
{
    setEdits(m_spec.get().settingDelay(m_delay, m_selection.get()));
}

void FramesInspectorModel::reverseOrder()
{
    std::vector<FrameEdit> edits = m_spec.get().edits;
    std::reverse(edits.begin(), edits.end());
    setEdits(std::move(edits));
}

void FramesInspectorModel::setEdits(std::vector<FrameEdit> edits)
{
    FramesSpec spec = m_spec.get();
    spec.edits = std::move(edits);
    m_spec.set(spec);
}

} // namespace plenoria
