#pragma once

#include <QStringList>
#include <QWidget>

namespace plenoria {

// A row of joined segments of which exactly one is chosen, drawn in the theme: the chosen one
// filled with the accent. Clicks and the arrow keys report `activated`; setting the index from
// the model does not.
class SettingsSegmentedPicker : public QWidget {
    Q_OBJECT
public:
    explicit SettingsSegmentedPicker(const QStringList& labels, QWidget* parent = nullptr);

    QStringList labels() const { return m_labels; }
    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);
    // The segment's rectangle, for clicks from tests and accessibility.
    QRect segmentRect(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void activated(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void choose(int index);
    int segmentWidth() const;

    QStringList m_labels;
    // The ring shows only for focus that came from the keyboard, not on opening or clicking.
    bool m_keyboardFocus = false;
    int m_current = 0;
};

} // namespace plenoria
