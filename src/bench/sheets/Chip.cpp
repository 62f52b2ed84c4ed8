#include "bench/sheets/Chip.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/SymbolIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace plenoria {

Chip::Chip(const QString& text, ColorRole tintRole, QWidget* parent)
    : QAbstractButton(parent)
    , m_tint(tintRole)
{
    setText(text);
    setFont(Theme::monospacedFont(fontSize, QFont::Medium));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

Chip* Chip::symbol(const QString& name, ColorRole tintRole, QWidget* parent)
{
    auto* chip = new Chip(QString(), tintRole, parent);
    chip->m_symbolName = name;
    return chip;
}

void Chip::setSymbolName(const QString& name)
{
    if (m_symbolName == name)
        return;
    m_symbolName = name;
    updateGeometry();
    update();
}

void Chip::setTint(ColorRole tintRole)
{
    m_tint = tintRole;
    update();
}

void Chip::setPassive(bool passive)
{
    setAttribute(Qt::WA_TransparentForMouseEvents, passive);
    setCursor(passive ? Qt::ArrowCursor : Qt::PointingHandCursor);
}

QSize Chip::contentSize() const
{
    const QFontMetrics metrics(font());
    // A symbol takes the height of a line of the chip's text, so that both kinds stand equally tall.
    if (!m_symbolName.isEmpty())
        return {int(fontSize) + 1, metrics.height()};
    return {metrics.horizontalAdvance(text()), metrics.height()};
}

QSize Chip::sizeHint() const
{
    return contentSize() + QSize(2 * horizontalPadding, 2 * verticalPadding);
}

void Chip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor tint = m_tint();
    QColor fill = tint;
    fill.setAlphaF(tint.alphaF() * fillOpacity);

    const QRectF capsule = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = capsule.height() / 2;
    QPainterPath path;
    path.addRoundedRect(capsule, radius, radius);
    painter.fillPath(path, fill);

    const QRect content
        = rect().adjusted(horizontalPadding, verticalPadding, -horizontalPadding, -verticalPadding);
    if (!m_symbolName.isEmpty()) {
        const int side = int(fontSize) + 1;
        const QPixmap symbol = SymbolIcon::pixmap(m_symbolName, side, tint, devicePixelRatioF());
        const QPoint origin(
            content.x() + (content.width() - side) / 2, content.y() + (content.height() - side) / 2);
        painter.drawPixmap(origin, symbol);
        return;
    }
    painter.setFont(font());
    painter.setPen(tint);
    painter.drawText(content, Qt::AlignCenter, text());
}

} // namespace plenoria
