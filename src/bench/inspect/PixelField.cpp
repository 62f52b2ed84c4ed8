#include "bench/inspect/PixelField.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>

namespace plenoria {

PixelField::PixelField(const QString& label, Binding<qint64> value, bool allowsNegative, QWidget* parent)
    : QWidget(parent)
    , m_value(std::move(value))
    , m_allowsNegative(allowsNegative)
    , m_label(new ThemedLabel(label, Theme::monospacedFont(12), &Theme::inkSecondary))
    , m_edit(new QLineEdit)
{
    m_label->setFixedWidth(14);
    m_edit->setFont(Theme::monospacedFont(12, QFont::DemiBold));
    m_edit->setText(QString::number(m_value.get()));
    m_edit->installEventFilter(this);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(m_label);
    layout->addWidget(m_edit, 1);

    // textEdited, not textChanged: only what the user types or pastes is cleaned and stored.
    connect(m_edit, &QLineEdit::textEdited, this, &PixelField::userEdited);
    connect(m_edit, &QLineEdit::returnPressed, this, &PixelField::showStoredValue);
}

QString PixelField::sanitized(const QString& text, bool allowsNegative)
{
    QString result;
    if (allowsNegative && text.startsWith(QLatin1Char('-')))
        result += QLatin1Char('-');
    int digits = 0;
    for (const QChar c : text) {
        if (digits == maxTypedDigits)
            break;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            result += c;
            ++digits;
        }
    }
    return result;
}

qint64 PixelField::numberIn(const QString& text)
{
    bool ok = false;
    const qint64 number = text.toLongLong(&ok, 10);
    return ok ? number : 0;
}

void PixelField::userEdited(const QString& text)
{
    const QString clean = sanitized(text, m_allowsNegative);
    if (clean != text) {
        // Keep the caret after the characters the user typed that survived.
        const int caret = m_edit->cursorPosition();
        const int kept = int(sanitized(text.left(caret), m_allowsNegative).size());
        m_edit->setText(clean);
        m_edit->setCursorPosition(std::min(kept, int(clean.size())));
    }
    m_value.set(numberIn(clean));
}

void PixelField::refresh()
{
    if (m_edit->hasFocus())
        return;
    const qint64 value = m_value.get();
    if (numberIn(m_edit->text()) != value)
        m_edit->setText(QString::number(value));
}

void PixelField::setBinding(Binding<qint64> value)
{
    m_value = std::move(value);
    refresh();
}

void PixelField::showStoredValue()
{
    m_edit->setText(QString::number(m_value.get()));
}

bool PixelField::eventFilter(QObject* watched, QEvent* event)
{
    // editingFinished does not come for unchanged text, and a lone "-" or "007" must still be shown
    // as the number actually stored.
    if (watched == m_edit && event->type() == QEvent::FocusOut)
        showStoredValue();
    return QWidget::eventFilter(watched, event);
}

} // namespace plenoria
