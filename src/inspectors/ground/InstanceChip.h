#pragma once

#include <QAbstractButton>

namespace plenoria {

// A 22 × 22 toggle for one detected subject: its number in monospaced 11 on a rounded square,
// tinted and outlined in the accent while on. A click only reports (`clicked`); the owner flips
// its own state and passes the new one back with `setOn`.
class InstanceChip : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int side = 22;

    InstanceChip(const QString& label, bool isOn, QWidget* parent = nullptr);

    bool isOn() const { return m_on; }
    void setOn(bool on);

    QSize sizeHint() const override { return {side, side}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_on;
};

} // namespace plenoria
