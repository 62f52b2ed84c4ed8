#include "inspectors/controls/NumericField.h"

#include "imaging/model/Theme.h"

#include <QKeyEvent>
#include <QLocale>
#include <QPointer>

namespace plenoria {

NumericField::NumericField(Binding<qint64> value, int width, QWidget* parent)
    : QLineEdit(parent)
    , m_value(std::move(value))
    , m_color(&Theme::ink)
{
    setFixedWidth(width);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setFont(Theme::monospacedFont(12, QFont::DemiBold));
    applyColor();
    showStoredValue();
    connect(ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, &NumericField::applyColor);
}

QString NumericField::displayText(qint64 value)
{
    return QLocale().toString(qlonglong(value));
}

void NumericField::setTextColorRole(ThemedLabel::ColorRole color)
{
    if (m_color == color)
        return;
    m_color = color;
    applyColor();
}

void NumericField::setBinding(Binding<qint64> value)
{
    m_value = std::move(value);
    refresh();
}

void NumericField::refresh()
{
    if (!hasFocus())
        showStoredValue();
}

void NumericField::commit()
{
    bool ok = false;
    const qlonglong typed = QLocale().toLongLong(text(), &ok);
    // Writing may make the owner refresh or even drop this field.
    const QPointer<NumericField> self(this);
    if (ok)
        m_value.set(typed);
    if (self)
        showStoredValue();
}

void NumericField::showStoredValue()
{
    const QString shown = displayText(m_value.get());
    if (text() != shown)
        setText(shown);
}

void NumericField::applyColor()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, m_color());
    setPalette(palette);
}

void NumericField::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        commit();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NumericField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A context menu takes the focus for a moment; the entry is not over.
    if (event->reason() != Qt::PopupFocusReason)
        commit();
}

void NumericField::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::LocaleChange)
        showStoredValue();
}

} // namespace plenoria
