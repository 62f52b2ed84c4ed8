#pragma once

#include <QWidget>

class QBoxLayout;

namespace plenoria {

// Two items side by side (spacing 12, pushed to the trailing edge) while both fit at their natural
// widths, else stacked (spacing 8) and aligned trailing: a header's label and its buttons.
class StackingRow : public QWidget {
    Q_OBJECT
public:
    StackingRow(QWidget* first, QWidget* second, QWidget* parent = nullptr);

    bool isStacked() const { return m_stacked; }
    // The items' natural widths changed (a new text): arranges them afresh for the current width.
    void itemsChanged();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int sideBySideWidth() const;
    void arrange(bool stacked);

    QWidget* m_first;
    QWidget* m_second;
    QBoxLayout* m_layout;
    bool m_stacked = false;
};

} // namespace plenoria
