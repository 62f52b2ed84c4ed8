#include "bench/record/RecordColumn.h"

#include "bench/record/AddTreatmentButton.h"
#include "bench/record/OriginalRowButton.h"
#include "bench/record/RecordListView.h"
#include "imaging/model/Theme.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QVBoxLayout>

namespace plenoria {

RecordColumn::RecordColumn(BenchModel& model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
    , m_rows(new QWidget)
    , m_original(new OriginalRowButton(model))
    , m_list(new RecordListView(model))
    , m_add(new AddTreatmentButton(model))
{
    setFixedWidth(columnWidth);
    m_rows->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    auto* rows = new QVBoxLayout(m_rows);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(8);
    rows->addWidget(m_original);
    rows->addWidget(m_list, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);
    layout->addWidget(
        new ThemedLabel(QStringLiteral("Treatment record"), Theme::serifFont(17, QFont::Bold), &Theme::ink));
    layout->addWidget(m_rows, 1);
    layout->addWidget(m_add);
}

} // namespace plenoria
