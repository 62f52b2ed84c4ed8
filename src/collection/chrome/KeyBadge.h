#pragma once

#include <QWidget>

namespace plenoria {

// A digit key as a small dark square with light type, alike in both appearances.
class KeyBadge : public QWidget {
    Q_OBJECT
public:
    static constexpr int side = 22;
    static constexpr double cornerRadius = 5;

    explicit KeyBadge(qint64 number, QWidget* parent = nullptr);

    qint64 number() const { return m_number; }
    QSize sizeHint() const override { return {side, side}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qint64 m_number;
};

} // namespace plenoria
