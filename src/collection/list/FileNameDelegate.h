#pragma once

#include <QStyledItemDelegate>

namespace plenoria {

// Draws the name cell: the file name on one line, elided in the middle, and the "edited" badge
// beside it, which stays whole however narrow the column gets.
class FileNameDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static QString badgeText() { return QStringLiteral("edited"); }
    static QSize badgeSize();

    void paint(
        QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace plenoria
