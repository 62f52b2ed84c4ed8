#pragma once

#include <QWidget>

namespace plenoria {

// The split's handle: a one-pixel rule centred in an 8-pixel hit area that shows the left-right
// resize cursor. It reports the pointer from the press on, in its parent's coordinates.
class SplitHandle : public QWidget {
    Q_OBJECT
public:
    explicit SplitHandle(QWidget* parent = nullptr);

signals:
    void dragged(double parentX);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

} // namespace plenoria
