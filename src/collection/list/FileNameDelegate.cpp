#include "collection/list/FileNameDelegate.h"

#include "collection/list/FileListModel.h"
#include "imaging/model/Theme.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

namespace plenoria {

namespace {

constexpr int spacing = 6;
constexpr int textMargin = 4;

QFont badgeFont()
{
    return Theme::monospacedFont(10, QFont::Medium);
}

} // namespace

QSize FileNameDelegate::badgeSize()
{
    const QFontMetrics metrics(badgeFont());
    return {metrics.horizontalAdvance(badgeText()) + 10, metrics.height() + 2};
}

void FileNameDelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString name = opt.text;
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const bool selected = opt.state & QStyle::State_Selected;
    const QColor ink = selected ? opt.palette.color(QPalette::HighlightedText) : Theme::ink();
    const bool badge = index.data(FileListModel::editedRole).toBool();
    const QSize badgeBox = badgeSize();

    QRect textRect = opt.rect.adjusted(textMargin, 0, -textMargin, 0);
    const int badgeRoom = badge ? badgeBox.width() + spacing : 0;
    const QFontMetrics metrics(opt.font);
    const QString shown
        = metrics.elidedText(name, Qt::ElideMiddle, std::max(0, textRect.width() - badgeRoom));
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(ink);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, shown);

    if (badge) {
        const QColor moss = selected ? ink : Theme::moss();
        const int left = textRect.left() + metrics.horizontalAdvance(shown) + spacing;
        const QRectF box(
            left, opt.rect.center().y() - badgeBox.height() / 2.0 + 0.5, badgeBox.width(), badgeBox.height());
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setFont(badgeFont());
        painter->setPen(moss);
        painter->drawText(box, Qt::AlignCenter, badgeText());
        QColor outline = moss;
        outline.setAlphaF(0.6f);
        painter->setPen(QPen(outline, 1));
        painter->setBrush(Qt::NoBrush);
        const QRectF capsule = box.adjusted(0.5, 0.5, -0.5, -0.5);
        painter->drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
    }
    painter->restore();
}

QSize FileNameDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (index.data(FileListModel::editedRole).toBool())
        size.rwidth() += badgeSize().width() + spacing;
    return size;
}

} // namespace plenoria
