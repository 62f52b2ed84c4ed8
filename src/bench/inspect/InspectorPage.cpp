#include "bench/inspect/InspectorPage.h"

#include <QVBoxLayout>

namespace plenoria {

InspectorPage::InspectorPage(BenchModel& model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

void InspectorPage::enter(qint64)
{ }

void InspectorPage::setContent(QWidget* content)
{
    layout()->addWidget(content);
}

} // namespace plenoria
