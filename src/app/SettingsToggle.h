#pragma once

#include <QAbstractButton>

namespace plenoria {

// An on/off switch in the theme's colours: the accent track when on. A click or Space flips it
// and reports `toggled`.
class SettingsToggle : public QAbstractButton {
    Q_OBJECT
public:
    explicit SettingsToggle(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The ring shows only for focus that came from the keyboard, not on opening or clicking.
    bool m_keyboardFocus = false;
};

} // namespace plenoria
