#pragma once

#include <QPushButton>

namespace plenoria {

// The inspectors' small bordered button: its title in monospaced 11 on the raised colour inside a
// thin rule, after an optional symbol in the title's colour. A tinted one (the chosen preset, say)
// takes the accent for its text, fill and border. Title and symbol stay centred when the button is
// stretched wider than its natural size.
class BorderedButton : public QPushButton {
    Q_OBJECT
public:
    explicit BorderedButton(const QString& text, QWidget* parent = nullptr);

    bool isTinted() const { return m_tinted; }
    void setTinted(bool tinted);
    // A freedesktop icon name drawn as a mask before the title; empty for none.
    QString symbolName() const { return m_symbolName; }
    void setSymbolName(const QString& name);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    int symbolSide() const;

    bool m_tinted = false;
    QString m_symbolName;
    // The ring shows only for focus that came from the keyboard.
    bool m_keyboardFocus = false;
};

} // namespace plenoria
