#include "app/DestinationField.h"

#include "imaging/model/Theme.h"

#include <QPainter>

namespace plenoria {

DestinationField::DestinationField(QWidget* parent)
    : QLineEdit(parent)
{
    setPlaceholderText(QStringLiteral("unset"));
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

void DestinationField::setFlagged(bool flagged)
{
    if (flagged == m_flagged)
        return;
    m_flagged = flagged;
    update();
}

QSize DestinationField::sizeHint() const
{
    return {260, QLineEdit::sizeHint().height()};
}

void DestinationField::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    if (!m_flagged)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Theme::rust(), 1.5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), 5, 5);
}

} // namespace plenoria
