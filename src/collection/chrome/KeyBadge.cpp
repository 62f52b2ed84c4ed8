#include "collection/chrome/KeyBadge.h"

#include "imaging/model/Theme.h"

#include <QPainter>
#include <QPainterPath>

namespace plenoria {

KeyBadge::KeyBadge(qint64 number, QWidget* parent)
    : QWidget(parent)
    , m_number(number)
{
    setFixedSize(side, side);
    setFont(Theme::monospacedFont(12, QFont::DemiBold));
}

void KeyBadge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.fillPath(path, Theme::fixedInk());
    painter.setFont(font());
    painter.setPen(Theme::fixedPaper());
    painter.drawText(rect(), Qt::AlignCenter, QString::number(m_number));
}

} // namespace plenoria
