#pragma once

#include "bench/model/BenchModel.h"

#include <QAbstractButton>

namespace plenoria {

// The row above the record that stands for the untouched original: "Original" and "read-only",
// on a moss tint while no row is selected. Pressing it selects nothing.
class OriginalRowButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit OriginalRowButton(BenchModel& bench, QWidget* parent = nullptr);

    // Whether it shows as chosen: no row of the record is selected.
    bool isHighlighted() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BenchModel& m_bench;
};

} // namespace plenoria
