#pragma once

#include <QPushButton>

namespace plenoria {

// The inspectors' small bordered button: its title in monospaced 11 on the raised colour inside a
// thin rule. A tinted one (the chosen preset, say) takes the accent for its text, fill and border.
class BorderedButton : public QPushButton {
    Q_OBJECT
public:
    explicit BorderedButton(const QString& text, QWidget* parent = nullptr);

    bool isTinted() const { return m_tinted; }
    void setTinted(bool tinted);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    bool m_tinted = false;
    // The ring shows only for focus that came from the keyboard.
    bool m_keyboardFocus = false;
};

} // namespace plenoria
