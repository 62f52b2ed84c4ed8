#include "bench/view/ClickAwayFilter.h"

#include <QApplication>
#include <QMouseEvent>

namespace plenoria {

ClickAwayFilter::ClickAwayFilter(QWidget* scope)
    : QObject(scope)
    , m_scope(scope)
{ }

ClickAwayFilter::~ClickAwayFilter()
{
    remove();
}

void ClickAwayFilter::install()
{
    if (m_installed)
        return;
    qApp->installEventFilter(this);
    m_installed = true;
}

void ClickAwayFilter::remove()
{
    if (!m_installed)
        return;
    qApp->removeEventFilter(this);
    m_installed = false;
}

bool ClickAwayFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton) {
            const std::pair<quint64, QPointF> key(press->timestamp(), press->globalPosition());
            if (m_lastPress != key) {
                m_lastPress = key;
                handlePress(static_cast<QWidget*>(watched), press->globalPosition());
            }
        }
    }
    return false; // never consumed
}

void ClickAwayFilter::handlePress(QWidget* target, const QPointF& globalPosition)
{
    ++m_pressesSeen;
    if (!m_scope || QApplication::activePopupWidget() || target->window() != m_scope->window())
        return;
    QWidget* focus = QApplication::focusWidget();
    if (!focus || focus->window() != target->window())
        return;
    const QPointF local = focus->mapFromGlobal(globalPosition);
    if (!QRectF(focus->rect()).contains(local))
        focus->clearFocus();
}

} // namespace plenoria
