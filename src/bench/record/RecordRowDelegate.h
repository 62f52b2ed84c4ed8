#pragma once

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>
#include <QUuid>

namespace plenoria {

// Paints a row of the record list: its number, the kind's title over the treatment's summary, and
// the remove button ("×" in rust) at its trailing edge; the selected row on a moss tint like the
// "Original" row's. The remove button works like a plain button: pressed and released over it, it
// asks for its row to be removed. Its tooltip is "Remove this treatment".
class RecordRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int rowInset = 2;
    static constexpr int horizontalPadding = 10;
    static constexpr int verticalPadding = 6;
    static constexpr int numberWidth = 14;
    static constexpr int spacing = 8;
    static constexpr int removeSide = 22;

    explicit RecordRowDelegate(QObject* parent = nullptr);

    // Where the remove button of a row drawn in `rowRect` lies.
    static QRect removeButtonRect(const QRect& rowRect);
    // Whether a remove button is held down (its press was taken, the release is awaited).
    bool isPressingRemove() const { return m_pressed.isValid(); }
    // The press ended away from its button: nothing is removed.
    void clearPress() { m_pressed = QPersistentModelIndex(); }
    // The row whose remove button the pointer is over, shown highlighted; invalid for none.
    void setHoveredRemove(const QModelIndex& index) { m_hovered = index; }
    QModelIndex hoveredRemove() const { return m_hovered; }

    void paint(
        QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
        const QModelIndex& index) override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
        const QModelIndex& index) override;

signals:
    void removeRequested(const QUuid& id);

private:
    void paintRemoveButton(QPainter* painter, const QRect& rowRect, bool hovered) const;

    QPersistentModelIndex m_pressed;
    QPersistentModelIndex m_hovered;
};

} // namespace plenoria
