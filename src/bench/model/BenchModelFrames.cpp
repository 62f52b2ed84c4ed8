#include "bench/model/BenchModel.h"

namespace plenoria {

Binding<qint64> BenchModel::playheadBinding()
{
    const QPointer<BenchModel> model(this);
    return Binding<qint64>([model] { return model ? model->playhead() : 0; },
        [model](const qint64& position) {
            if (model)
                model->setPlayhead(position);
        });
}

Binding<FrameSelection> BenchModel::frameSelectionBinding()
{
    const QPointer<BenchModel> model(this);
    return Binding<FrameSelection>([model] { return model ? model->frameSelection() : FrameSelection(); },
        [model](const FrameSelection& selection) {
            if (model)
                model->setFrameSelection(selection);
        });
}

} // namespace plenoria
