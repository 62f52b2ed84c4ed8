#include "collection/chrome/SplitHandle.h"

#include "imaging/model/Theme.h"

#include <QMouseEvent>
#include <QPainter>

namespace plenoria {

SplitHandle::SplitHandle(QWidget* parent)
    : QWidget(parent)
{
    setCursor(Qt::SplitHCursor);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

void SplitHandle::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(QRect(width() / 2, 0, 1, height()), Theme::rule());
}

void SplitHandle::mousePressEvent(QMouseEvent* event)
{
    // A press alone moves the split: the drag has no minimum distance.
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    emit dragged(mapToParent(event->position()).x());
}

void SplitHandle::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        emit dragged(mapToParent(event->position()).x());
}

} // namespace plenoria
