#pragma once

#include "bench/model/BenchModel.h"

#include <QToolButton>

namespace plenoria {

// "Add treatment": a dashed, full-width button whose menu lists the kinds the bench offers, each with
// its symbol and a tooltip; choosing one adds that treatment at the end of the record.
class AddTreatmentButton : public QToolButton {
    Q_OBJECT
public:
    explicit AddTreatmentButton(BenchModel& model, QWidget* parent = nullptr);

    // The freedesktop symbol and the tooltip of a kind's menu entry.
    static QString symbolName(TreatmentKind kind);
    static QString toolTip(TreatmentKind kind);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildMenu();

    BenchModel& m_model;
};

} // namespace plenoria
