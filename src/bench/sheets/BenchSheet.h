#pragma once

#include <QDialog>

class QVBoxLayout;

namespace plenoria {

// The frame both of the bench's sheets share: a window-modal dialog of a fixed width on the theme's
// background, its content a column 16 apart padded 20 on every side. The height follows the content
// and shrinks again when rows are hidden. Opened with `open()`; Escape or closing it rejects it.
class BenchSheet : public QDialog {
    Q_OBJECT
public:
    static constexpr int margin = 20;
    static constexpr int spacing = 16;

    BenchSheet(int width, QWidget* parent);

protected:
    // The column the content goes in.
    QVBoxLayout* column() const { return m_column; }
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* m_column;
};

} // namespace plenoria
