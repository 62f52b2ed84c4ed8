#include "InspectorPane.h"

#include <QVBoxLayout>

namespace plenoria {

InspectorPane::InspectorPane(BenchModel& model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
{
    setFixedWidth(columnWidth);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

} // namespace plenoria
