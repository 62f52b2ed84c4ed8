#include "collection/list/FilterField.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/SymbolIcon.h"

#include <QAction>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

namespace plenoria {

FilterField::FilterField(qint64 focusRequest, QWidget* parent)
    : QLineEdit(parent)
    , m_lastFocusRequest(focusRequest)
{
    setPlaceholderText(QStringLiteral("Filter by name"));
    setClearButtonEnabled(true);
    m_searchIcon = addAction(QIcon(), QLineEdit::LeadingPosition);
    applyIcon();
    connect(ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, &FilterField::applyIcon);
    connect(this, &QLineEdit::textEdited, this, &FilterField::queryEdited);
}

void FilterField::applyIcon()
{
    m_searchIcon->setIcon(SymbolIcon::icon(QStringLiteral("edit-find"), 16, Theme::inkSecondary()));
}

void FilterField::setQuery(const QString& query)
{
    if (text() != query)
        setText(query);
}

void FilterField::setFocusRequest(qint64 request)
{
    if (request == m_lastFocusRequest)
        return;
    m_lastFocusRequest = request;
    QTimer::singleShot(0, this, &FilterField::takeRequestedFocus);
}

void FilterField::takeRequestedFocus()
{
    // A field that is not on screen lets the request go.
    if (!isVisible())
        return;
    // Not a shortcut focus reason: that would select the whole query.
    setFocus(Qt::OtherFocusReason);
    deselect();
    setCursorPosition(int(text().size()));
}

void FilterField::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
        event->accept();
        emit handoff();
        return;
    case Qt::Key_Escape:
        event->accept();
        emit clearRequested();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

void FilterField::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    emit focusReported(true);
}

void FilterField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Another window or a menu took the focus for a while; the search goes on when it returns.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    emit focusReported(false);
}

} // namespace plenoria
