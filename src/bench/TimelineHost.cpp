#include "TimelineHost.h"

#include <QVBoxLayout>

namespace plenoria {

TimelineHost::TimelineHost(BenchModel& model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // Nothing to show until the timeline itself is placed here.
    setVisible(false);
}

bool TimelineHost::hasTimeline(const BenchModel& model)
{
    return model.sourceStrip() && model.sourceStrip()->frames.size() > 1;
}

} // namespace plenoria
