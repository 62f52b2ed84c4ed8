#include "bench/frames/TimelineHost.h"

#include "bench/frames/FramesTimeline.h"
#include "imaging/render/Renderer.h"
#include "inspectors/controls/Divider.h"

#include <QVBoxLayout>

namespace plenoria {

TimelineHost::TimelineHost(BenchModel& model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
    , m_timeline(new FramesTimeline)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new Divider);
    layout->addWidget(m_timeline);
    // Only ever hidden here: shown before the bench places it, it would open as a window of its own.
    if (hasTimeline(model))
        bindTimeline();
    else
        hide();
    connect(&m_model, &BenchModel::changed, this, &TimelineHost::modelChanged);
}

bool TimelineHost::hasTimeline(const BenchModel& model)
{
    return model.sourceStrip() && model.sourceStrip()->frames.size() > 1;
}

void TimelineHost::modelChanged(BenchModel::Changes changes)
{
    if (!hasTimeline(m_model))
        return;
    if (changes & (BenchModel::Change::record | BenchModel::Change::selection | BenchModel::Change::sampling))
        bindTimeline();
    else if (changes & (BenchModel::Change::playhead | BenchModel::Change::frameSelection))
        m_timeline->refresh();
}

void TimelineHost::bindTimeline()
{
    const Filmstrip& strip = *m_model.sourceStrip();
    FramesTimeline::Sources sources;
    sources.playhead = m_model.playheadBinding();
    sources.loopCount = strip.loopCount;
    if (const std::optional<qint64> row = m_model.selectedFramesIndex()) {
        const FramesSpec current = *m_model.record()[size_t(*row)].treatment.framesSpec();
        sources.spec = m_model.specBinding<FramesSpec>(*row, current);
        sources.selection = m_model.frameSelectionBinding();
        sources.frames = m_model.timelineFrames(*row);
        sources.editable = true;
    } else {
        // What the canvas plays, as it plays it: one position per planned frame, read-only.
        std::vector<qint64> delays;
        for (const FramePlan& entry : Renderer::framePlan(m_model.activeRecord(), strip.delays)) {
            delays.push_back(entry.delay);
            if (entry.source >= 0 && entry.source < qint64(strip.frames.size()))
                sources.frames.push_back(strip.frames[size_t(entry.source)]);
        }
        sources.spec = Binding<FramesSpec>::constant(FramesSpec::fromDelays(delays));
        sources.selection = Binding<FrameSelection>::constant({});
    }
    m_timeline->setSources(std::move(sources));
}

} // namespace plenoria
