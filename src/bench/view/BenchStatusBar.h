#pragma once

#include "bench/model/BenchModel.h"

#include <QWidget>

namespace plenoria {

class ElidedLabel;
class ThemedLabel;

// The line under the bench: "<file> · scratch copy", and on the right "nothing written until Save"
// once the record has a row, else "no edits yet".
class BenchStatusBar : public QWidget {
    Q_OBJECT
public:
    explicit BenchStatusBar(BenchModel& model, QWidget* parent = nullptr);

    QString fileText() const;
    QString stateText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void modelChanged(BenchModel::Changes changes);

    BenchModel& m_model;
    ElidedLabel* m_file;
    ThemedLabel* m_state;
};

} // namespace plenoria
