#pragma once

#include "bench/inspect/OriginalSummary.h"
#include "bench/model/BenchModel.h"

#include <QWidget>

namespace plenoria {

class InspectorPage;

// The bench's right column, 250 points wide: the editor of the selected row (InspectorRouting says
// which), or the original's summary when no row is selected. A page is made when the selected row's
// kind changes (an extend page also when the extend row's position does) and is otherwise kept,
// refreshed in place after each change of the model. Another row being selected closes any colour
// panel the page has open.
class InspectorPane : public QWidget {
    Q_OBJECT
public:
    static constexpr int columnWidth = 250;

    explicit InspectorPane(BenchModel& model, QWidget* parent = nullptr);

    InspectorPage* page() const { return m_page; }

private:
    // What identifies a page: the row kind (none for the original) and, for extend, the position.
    struct PageKey {
        std::optional<TreatmentKind> kind;
        qint64 position = -1;
        bool operator==(const PageKey&) const = default;
    };

    void modelChanged(BenchModel::Changes changes);
    // Puts the page for the current selection in place when it is not already there.
    void route();
    void closeColorPanels();

    BenchModel& m_model;
    OriginalSummary m_original;
    InspectorPage* m_page = nullptr;
    std::optional<PageKey> m_key;
    std::optional<QUuid> m_shownRow;
};

} // namespace plenoria
