#include "collection/chrome/HResizableSplit.h"

#include "collection/chrome/SplitHandle.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <cmath>

namespace plenoria {

HResizableSplit::HResizableSplit(QWidget* parent)
    : QWidget(parent)
    , m_handle(new SplitHandle(this))
{
    setFocusPolicy(Qt::StrongFocus);
    connect(m_handle, &SplitHandle::dragged, this, &HResizableSplit::onHandleDragged);
}

void HResizableSplit::setPanes(QWidget* left, QWidget* right)
{
    for (QWidget* old : {m_left.data(), m_right.data()}) {
        if (old && old != left && old != right)
            old->hide();
    }
    m_left = left;
    m_right = right;
    for (QWidget* pane : {left, right}) {
        if (pane->parentWidget() != this)
            pane->setParent(this);
        pane->show();
    }
    m_handle->raise();
    relayout();
}

void HResizableSplit::setFraction(double fraction)
{
    if (m_fraction == fraction)
        return;
    m_fraction = fraction;
    relayout();
}

void HResizableSplit::setMinimumWidths(double left, double right)
{
    m_minLeft = left;
    m_minRight = right;
    relayout();
}

SplitGeometry HResizableSplit::geometryFor(double width) const
{
    return SplitGeometry::layout(width, m_fraction, m_minLeft, m_minRight);
}

void HResizableSplit::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void HResizableSplit::relayout()
{
    const SplitGeometry geometry = geometryFor(width());
    const int left = int(std::lround(geometry.leftWidth));
    const int handle = int(SplitGeometry::handleWidth);
    const int right = int(std::lround(geometry.available)) - left;
    if (m_left)
        m_left->setGeometry(0, 0, left, height());
    m_handle->setGeometry(left, 0, handle, height());
    if (m_right)
        m_right->setGeometry(left + handle, 0, right, height());
}

void HResizableSplit::onHandleDragged(double x)
{
    emit fractionDragged(geometryFor(width()).fractionForPointer(x, m_minLeft, m_minRight));
}

void HResizableSplit::keyPressEvent(QKeyEvent* event)
{
    if (m_keyHandler && m_keyHandler(event)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void HResizableSplit::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    emit focusReported(true);
}

void HResizableSplit::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    emit focusReported(false);
}

} // namespace plenoria
