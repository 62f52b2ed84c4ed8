#include "collection/list/RenameField.h"

#include "collection/list/WordBoundaries.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

namespace plenoria {

RenameField::RenameField(
    const QString& filename, CommitHandler onCommit, CancelHandler onCancel, QWidget* parent)
    : QLineEdit(filename, parent)
    , m_filename(filename)
    , m_onCommit(std::move(onCommit))
    , m_onCancel(std::move(onCancel))
{
    setFrame(true);
    setContextMenuPolicy(Qt::DefaultContextMenu);
}

qsizetype RenameField::baseNameLength(const QString& filename)
{
    const qsizetype dot = filename.lastIndexOf(QLatin1Char('.'));
    return dot <= 0 ? filename.size() : dot;
}

void RenameField::dismiss()
{
    m_resolved = true;
}

void RenameField::showEvent(QShowEvent* event)
{
    QLineEdit::showEvent(event);
    if (m_hasFocused)
        return;
    m_hasFocused = true;
    QTimer::singleShot(0, this, &RenameField::takeFirstFocus);
}

void RenameField::takeFirstFocus()
{
    // Shown and gone again before the turn came: the chance is spent.
    if (!isVisible())
        return;
    setFocus(Qt::OtherFocusReason);
    setSelection(0, int(baseNameLength(m_filename)));
}

void RenameField::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Resolved before the owner hears of it: an accepted commit closes the field, and the focus
        // loss that follows must not commit a second time.
        m_resolved = true;
        QPointer<RenameField> self(this);
        const bool accepted = m_onCommit ? m_onCommit(text(), true) : false;
        if (self && !accepted)
            m_resolved = false;
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        m_resolved = true;
        if (m_onCancel)
            m_onCancel();
        event->accept();
        return;
    }
    if (moveByWord(event)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

bool RenameField::moveByWord(QKeyEvent* event)
{
    const QString current = text();
    const qsizetype start = hasSelectedText() ? selectionStart() : cursorPosition();
    const qsizetype end = hasSelectedText() ? selectionEnd() : cursorPosition();
    if (event->matches(QKeySequence::MoveToPreviousWord)) {
        setCursorPosition(int(previousWordBoundary(current, start)));
    } else if (event->matches(QKeySequence::MoveToNextWord)) {
        setCursorPosition(int(nextWordBoundary(current, end)));
    } else if (event->matches(QKeySequence::SelectPreviousWord)) {
        const qsizetype from = previousWordBoundary(current, start);
        setSelection(int(from), int(end - from));
    } else if (event->matches(QKeySequence::SelectNextWord)) {
        setSelection(int(start), int(nextWordBoundary(current, end) - start));
    } else {
        return false;
    }
    return true;
}

void RenameField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Switching to another window or opening a menu is no end of editing: the focus comes back.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (m_resolved)
        return;
    m_resolved = true;
    if (m_onCommit)
        (void)m_onCommit(text(), false);
}

} // namespace plenoria
