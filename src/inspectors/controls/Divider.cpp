#include "inspectors/controls/Divider.h"

#include "imaging/model/Theme.h"

#include <QPainter>

namespace plenoria {

Divider::Divider(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent)
{
    if (orientation == Qt::Horizontal) {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        setFixedWidth(1);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

void Divider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Theme::rule());
}

} // namespace plenoria
