#include "bench/record/RecordRowDelegate.h"

#include "bench/record/RecordListModel.h"
#include "imaging/model/Theme.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace plenoria {

namespace {

QFont numberFont()
{
    return Theme::monospacedFont(10, QFont::DemiBold);
}

QFont titleFont()
{
    return Theme::serifFont(14);
}

QFont summaryFont()
{
    return Theme::monospacedFont(11);
}

QColor tinted(QColor color, double opacity)
{
    color.setAlphaF(float(opacity));
    return color;
}

} // namespace

RecordRowDelegate::RecordRowDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{ }

QRect RecordRowDelegate::removeButtonRect(const QRect& rowRect)
{
    const QRect row = rowRect.adjusted(horizontalPadding, 0, -horizontalPadding, 0);
    return QRect(row.right() + 1 - removeSide, row.center().y() + 1 - removeSide / 2, removeSide, removeSide);
}

QSize RecordRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    const int text = QFontMetrics(titleFont()).height() + QFontMetrics(summaryFont()).height();
    return QSize(option.rect.width(), 2 * rowInset + 2 * verticalPadding + std::max(text, removeSide));
}

void RecordRowDelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRect row = option.rect.adjusted(0, rowInset, 0, -rowInset);
    const QRectF plate = QRectF(row).adjusted(0.5, 0.5, -0.5, -0.5);
    if (option.state & QStyle::State_Selected) {
        painter->setPen(QPen(tinted(Theme::moss(), 0.5), 1));
        painter->setBrush(tinted(Theme::moss(), 0.14));
        painter->drawRoundedRect(plate, 6, 6);
    } else if (option.state & QStyle::State_MouseOver) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(tinted(Theme::moss(), 0.06));
        painter->drawRoundedRect(plate, 6, 6);
    }

    const QRect inner
        = row.adjusted(horizontalPadding, verticalPadding, -horizontalPadding, -verticalPadding);
    painter->setFont(numberFont());
    painter->setPen(Theme::inkFaint());
    painter->drawText(QRect(inner.left(), inner.top(), numberWidth, inner.height()),
        Qt::AlignLeft | Qt::AlignVCenter,
        QString::number(index.data(RecordListModel::numberRole).toLongLong()));

    const int textLeft = inner.left() + numberWidth + spacing;
    const int textWidth = removeButtonRect(option.rect).left() - spacing - textLeft;
    const QFontMetrics title(titleFont());
    const QFontMetrics summary(summaryFont());
    const int top = inner.center().y() + 1 - (title.height() + summary.height()) / 2;
    painter->setFont(titleFont());
    painter->setPen(Theme::ink());
    painter->drawText(QRect(textLeft, top, textWidth, title.height()), Qt::AlignLeft | Qt::AlignVCenter,
        title.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, textWidth));
    painter->setFont(summaryFont());
    painter->setPen(Theme::inkFaint());
    painter->drawText(QRect(textLeft, top + title.height(), textWidth, summary.height()),
        Qt::AlignLeft | Qt::AlignVCenter,
        summary.elidedText(index.data(RecordListModel::summaryRole).toString(), Qt::ElideRight, textWidth));

    paintRemoveButton(painter, option.rect, index == m_hovered || index == m_pressed);
    painter->restore();
}

void RecordRowDelegate::paintRemoveButton(QPainter* painter, const QRect& rowRect, bool hovered) const
{
    const QRectF button = removeButtonRect(rowRect);
    if (hovered) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(tinted(Theme::rust(), 0.14));
        painter->drawEllipse(button.adjusted(2, 2, -2, -2));
    }
    // The "xmark" of a 9-point semibold symbol: two strokes about 7 points long.
    const QPointF center = button.center();
    const double arm = 3.2;
    painter->setPen(QPen(Theme::rust(), 1.6, Qt::SolidLine, Qt::RoundCap));
    painter->drawLine(center + QPointF(-arm, -arm), center + QPointF(arm, arm));
    painter->drawLine(center + QPointF(-arm, arm), center + QPointF(arm, -arm));
}

bool RecordRowDelegate::editorEvent(
    QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease
        && type != QEvent::MouseButtonDblClick)
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const bool onButton = removeButtonRect(option.rect).contains(mouse->position().toPoint());
    if (type == QEvent::MouseButtonRelease) {
        if (!m_pressed.isValid())
            return false;
        const bool remove = onButton && index == m_pressed && mouse->button() == Qt::LeftButton;
        const QUuid id = m_pressed.data(RecordListModel::idRole).toUuid();
        m_pressed = QPersistentModelIndex();
        if (remove)
            emit removeRequested(id);
        return true;
    }
    // A press on the button neither selects its row nor starts a drag.
    if (!onButton || mouse->button() != Qt::LeftButton)
        return false;
    m_pressed = index;
    return true;
}

bool RecordRowDelegate::helpEvent(
    QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() == QEvent::ToolTip && removeButtonRect(option.rect).contains(event->pos())) {
        QToolTip::showText(event->globalPos(), QStringLiteral("Remove this treatment"), view->viewport(),
            removeButtonRect(option.rect));
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

} // namespace plenoria
