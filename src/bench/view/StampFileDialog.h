#pragma once

#include "bench/model/BenchModel.h"

class QWidget;

namespace plenoria {

// The stamp picker: a modal file dialog (ours, not the desktop's, so that its labels show) for one
// existing image file, titled with the bench's message and accepting with "Use as stamp".
class StampFileDialog {
public:
    StampFileDialog() = delete;

    // A chooser for BenchModel, opening in `folder` over `parent`'s window.
    static BenchModel::StampChooser chooser(QWidget* parent, const QString& folder);
};

} // namespace plenoria
