#pragma once

#include "inspectors/controls/Binding.h"

#include <QWidget>

class QLineEdit;

namespace plenoria {

class ThemedLabel;

// A one-letter label ("X", "Y", "W", "H") beside an integer field for a pixel value. What the user
// types or pastes is cleaned as it arrives (ASCII digits only, at most four, a leading minus where
// negatives are allowed) and written to the binding at once; text the field sets itself is never
// cleaned nor written back, so a larger value set by the program survives focus going in and out.
// Editing ends (Return, or the focus going anywhere else) with the stored value shown.
class PixelField : public QWidget {
    Q_OBJECT
public:
    static constexpr int maxTypedDigits = 4;

    PixelField(
        const QString& label, Binding<qint64> value, bool allowsNegative = false, QWidget* parent = nullptr);

    QLineEdit* lineEdit() const { return m_edit; }
    // The binding's value changed from outside: shown unless the user is typing in the field.
    void refresh();
    // Binds the field to another value (another row's), then refreshes as for an outside change.
    void setBinding(Binding<qint64> value);

    // What typing leaves of `text`: the optional leading minus and the first four ASCII digits.
    static QString sanitized(const QString& text, bool allowsNegative);
    // The text as a decimal integer; 0 when it does not read as one (empty, a lone minus).
    static qint64 numberIn(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void userEdited(const QString& text);
    void showStoredValue();

    Binding<qint64> m_value;
    bool m_allowsNegative;
    ThemedLabel* m_label;
    QLineEdit* m_edit;
};

} // namespace plenoria
