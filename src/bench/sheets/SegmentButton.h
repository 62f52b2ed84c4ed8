#pragma once

#include <QAbstractButton>

namespace plenoria {

// One segment of a row of joined, checkable buttons drawn in the theme: the checked one filled with
// the accent. The row's ends are rounded; an exclusive button group makes it a segmented control.
class SegmentButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Position { first, middle, last };

    SegmentButton(const QString& text, Position position, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    Position m_position;
    bool m_keyboardFocus = false;
};

} // namespace plenoria
