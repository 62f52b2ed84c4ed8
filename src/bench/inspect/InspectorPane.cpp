#include "bench/inspect/InspectorPane.h"

#include "bench/inspect/InspectorPage.h"
#include "bench/inspect/InspectorRouting.h"
#include "inspectors/controls/ColorWell.h"

#include <QVBoxLayout>

namespace plenoria {

InspectorPane::InspectorPane(BenchModel& model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
    , m_original(OriginalSummary::of(model.session()))
{
    setFixedWidth(columnWidth);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    connect(&model, &BenchModel::changed, this, &InspectorPane::modelChanged);
    route();
}

void InspectorPane::modelChanged(BenchModel::Changes changes)
{
    if (changes & (BenchModel::Change::record | BenchModel::Change::selection))
        route();
    else if (m_page)
        m_page->refresh(m_model.selectedIndex().value_or(-1), changes);
}

void InspectorPane::route()
{
    const std::optional<qint64> row = m_model.selectedIndex();
    const std::optional<QUuid> id = row ? std::optional(m_model.record()[size_t(*row)].id) : std::nullopt;
    if (id != m_shownRow) {
        closeColorPanels();
        m_shownRow = id;
    }

    PageKey key;
    if (row) {
        key.kind = m_model.record()[size_t(*row)].treatment.kind();
        if (key.kind == TreatmentKind::extend)
            key.position = *row;
    }
    if (key == m_key) {
        m_page->refresh(row.value_or(-1), InspectorPage::everything);
        return;
    }

    if (m_page) {
        // The old page may be the sender of the change that brought us here.
        m_page->hide();
        layout()->removeWidget(m_page);
        m_page->deleteLater();
    }
    m_key = key;
    m_page = key.kind ? InspectorRouting::pageFor(*key.kind, m_model)
                      : InspectorRouting::originalPage(m_original, m_model);
    layout()->addWidget(m_page);
    // Entering may change the model (the extend lock), which comes back here and finds this page.
    m_page->enter(row.value_or(-1));
    m_page->refresh(row.value_or(-1), InspectorPage::everything);
}

void InspectorPane::closeColorPanels()
{
    if (!m_page)
        return;
    for (ColorWell* well : m_page->findChildren<ColorWell*>())
        well->closePanel();
}

} // namespace plenoria
