#pragma once

#include <QToolButton>

namespace plenoria {

// The extend inspector's lock between width and height: a 26 × 26 rounded face with an "equal" mark,
// tinted in the accent while locked. Checkable; the owner sets the checked state from its model.
class SquareLockButton : public QToolButton {
    Q_OBJECT
public:
    static constexpr int side = 26;

    explicit SquareLockButton(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {side, side}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace plenoria
