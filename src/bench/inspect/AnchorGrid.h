#pragma once

#include "imaging/model/ExtendSpec.h"

#include <QWidget>
#include <optional>

namespace plenoria {

// The 3 × 3 picker of where the original sits in an extended canvas: columns h 0–2 left to right,
// rows v 0–2 top to bottom. The active cell is tinted and outlined in the accent. A click on a cell
// reports it (also the active one); the owner writes the anchor and sets it back here.
class AnchorGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int cellFrame = 21;
    static constexpr int cellFace = 18;
    static constexpr int spacing = 4;
    static constexpr int padding = 7;

    explicit AnchorGrid(Anchor active = {}, QWidget* parent = nullptr);

    Anchor active() const { return m_active; }
    void setActive(Anchor active);

    // The cell's 21 × 21 frame, the whole of which takes clicks.
    static QRect cellRect(qint64 h, qint64 v);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void picked(plenoria::Anchor anchor);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    static std::optional<Anchor> cellAt(const QPoint& point);

    Anchor m_active;
    std::optional<Anchor> m_pressed;
};

} // namespace plenoria
