#pragma once

#include "collection/chrome/SplitGeometry.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QKeyEvent;

namespace plenoria {

class SplitHandle;

// Two panes side by side with a draggable handle between them. The position is the bound
// `fraction` of the width the panes share; both the layout and the drag keep each pane at least
// its minimum width (the content overflows rather than squeeze one below it). The split stores
// nothing: a drag reports the new fraction and the owner sets it back.
//
// The split area takes the keyboard focus while the user browses (clicks on panes that take no
// focus land here) and hands its key presses to the key handler.
class HResizableSplit : public QWidget {
    Q_OBJECT
public:
    // True when the key press was handled.
    using KeyHandler = std::function<bool(QKeyEvent* event)>;

    explicit HResizableSplit(QWidget* parent = nullptr);

    // Reparents both panes into the split; panes set before and not passed again are hidden.
    void setPanes(QWidget* left, QWidget* right);
    void setFraction(double fraction);
    double fraction() const { return m_fraction; }
    void setMinimumWidths(double left, double right);
    void setKeyHandler(KeyHandler handler) { m_keyHandler = std::move(handler); }

    SplitGeometry geometryFor(double width) const;

signals:
    // The handle was pressed or dragged: the fraction the pointer asks for.
    void fractionDragged(double fraction);
    // The split itself gained or lost the keyboard focus (not for a window switch or a menu).
    void focusReported(bool focused);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void relayout();
    void onHandleDragged(double x);

    QPointer<QWidget> m_left;
    QPointer<QWidget> m_right;
    SplitHandle* m_handle;
    double m_fraction = 0.5;
    double m_minLeft = 0;
    double m_minRight = 0;
    KeyHandler m_keyHandler;
};

} // namespace plenoria
