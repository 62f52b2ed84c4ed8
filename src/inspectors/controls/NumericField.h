#pragma once

#include "inspectors/controls/Binding.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QLineEdit>

namespace plenoria {

// An integer entry field of a fixed width: shows the bound value in the current locale's integer
// format (grouped as the locale writes it) and writes what the user typed when the entry is committed,
// on Return or when the field loses focus. Text the locale does not read as an integer leaves the
// value alone and the field shows it again. No range is enforced: the owner checks what it is given.
class NumericField : public QLineEdit {
    Q_OBJECT
public:
    NumericField(Binding<qint64> value, int width, QWidget* parent = nullptr);

    // The text colour role; Theme::ink unless the owner gives another.
    void setTextColorRole(ThemedLabel::ColorRole color);
    ThemedLabel::ColorRole textColorRole() const { return m_color; }
    // Binds the field to another value and shows it.
    void setBinding(Binding<qint64> value);
    // The bound value changed from outside: shown unless the user is typing in the field.
    void refresh();
    // Writes the typed text through the binding when it reads as an integer, then shows the stored value.
    void commit();

    // How `value` is written in the current locale.
    static QString displayText(qint64 value);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyColor();
    void showStoredValue();

    Binding<qint64> m_value;
    ThemedLabel::ColorRole m_color;
};

} // namespace plenoria
