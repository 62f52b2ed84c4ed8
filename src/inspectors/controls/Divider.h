#pragma once

#include <QWidget>

namespace plenoria {

// A one-pixel rule in the theme's hairline colour, across (horizontal) or along (vertical) its parent.
class Divider : public QWidget {
    Q_OBJECT
public:
    explicit Divider(Qt::Orientation orientation = Qt::Horizontal, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace plenoria
