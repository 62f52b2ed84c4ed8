#pragma once

#include "bench/inspect/InspectorPage.h"

#include <array>

class QLineEdit;

namespace plenoria {

class BorderedButton;
class ThemedLabel;

// The "Resize" column: the longest edge typed in a field (shown and read in the user's locale,
// grouping included, and kept within 1 … 9999 rather than refused) or picked from four presets,
// and the size it gives.
class ResizeInspector : public InspectorPage {
    Q_OBJECT
public:
    static constexpr std::array<qint64, 4> presets = {128, 256, 512, 1024};

    explicit ResizeInspector(BenchModel& model, QWidget* parent = nullptr);

    QLineEdit* edgeField() const { return m_edge; }
    BorderedButton* presetButton(qint64 index) const { return m_presets.at(size_t(index)); }
    QString captionText() const;

    // "300×150 → 256×128".
    static QString sizeCaption(QSizeF input, qint64 longestEdge);

    void refresh(qint64 row, BenchModel::Changes changes) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    qint64 storedEdge() const;
    void commit();
    void showStoredEdge();

    qint64 m_row = -1;
    // The row's id when the page was last refreshed: a commit on the way out (the focus leaving as
    // the row goes) must not land on whichever row took its place.
    QUuid m_rowId;
    QLineEdit* m_edge;
    std::array<BorderedButton*, 4> m_presets;
    ThemedLabel* m_caption;
};

} // namespace plenoria
